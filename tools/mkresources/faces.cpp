#include "faces.h"

#include <QRadialGradient>
#include <QTransform>

#include <cmath>

#include "facepainter.h"

namespace mkres {

namespace facedraw {

    Geometry geometryFor(Age age)
    {
        switch (age) {
        case Age::Child:
            return { 48, 23.5, 23.5, 0.96, 51, 9.2, 3.4, 4.0, 57.5, 62, 7.0, 78, 33 };
        case Age::Teen:
            return { 46, 22, 24.5, 0.86, 48.5, 8.8, 3.0, 3.6, 55.5, 60.5, 7.0, 78, 36 };
        case Age::Adult:
            return { 45, 21.5, 25.5, 0.80, 46.5, 8.6, 2.8, 3.3, 54.5, 60.5, 7.5, 79, 39 };
        case Age::Senior:
        default:
            return { 45, 21.5, 25.0, 0.86, 46.5, 8.6, 2.7, 3.2, 54.5, 60.5, 7.5, 79, 39 };
        }
    }

    QPainterPath FacePainter::head() const
    {
        const double k = 0.5523;
        const double x = cx, y = m_g.cy, rx = m_g.rx, ry = m_g.ry, j = m_g.jaw;
        QPainterPath p;
        p.moveTo(x, y - ry);
        p.cubicTo(x + k * rx, y - ry, x + rx, y - k * ry, x + rx, y);
        p.cubicTo(x + rx, y + 0.62 * ry, x + k * rx * j, y + ry, x, y + ry);
        p.cubicTo(x - k * rx * j, y + ry, x - rx, y + 0.62 * ry, x - rx, y);
        p.cubicTo(x - rx, y - k * ry, x - k * rx, y - ry, x, y - ry);
        p.closeSubpath();
        return p;
    }

    QPainterPath FacePainter::hairWindow() const
    {
        const double y = m_g.cy, rx = m_g.rx, t = top();
        const double l = cx - rx + 2.6, r = cx + rx - 2.6;
        QPainterPath p;
        switch (m_s.hair) {
        case Hair::Long:
        case Hair::Bob:
        case Hair::Pigtails:
        case Hair::Braids:
            // middle parting, the hair falling to both sides like curtains
            p.moveTo(l, y + 2);
            p.cubicTo(l + 1, y - 12, cx - 8, t + 6, cx, t + 7.5);
            p.cubicTo(cx + 8, t + 6, r - 1, y - 12, r, y + 2);
            break;
        case Hair::Wavy:
        case Hair::Swoop:
        case Hair::Ponytail:
            // swept to one side: low on the left, high on the right
            p.moveTo(l, y - 2);
            p.cubicTo(l + 2, y - 9, cx - 6, y - 9, cx + 2, t + 11);
            p.cubicTo(cx + 7, t + 7, r - 2, t + 10, r, y - 3);
            break;
        case Hair::Curly:
        case Hair::Short:
            // a fringe of short locks
            p.moveTo(l, y - 3);
            p.lineTo(l + 1, t + 13);
            for (int i = 0; i < 5; ++i) {
                const double x0 = l + 1 + (r - l - 2) * i / 5.0;
                const double x1 = l + 1 + (r - l - 2) * (i + 1) / 5.0;
                p.quadTo((x0 + x1) / 2, t + 17 - (i % 2), x1, t + 13);
            }
            p.lineTo(r, y - 3);
            break;
        case Hair::SidePart:
            p.moveTo(l, y - 3);
            p.cubicTo(l, t + 8, cx - 10, t + 9, cx - 6, t + 9);
            p.cubicTo(cx + 2, t + 14, r - 1, t + 8, r, y - 3);
            break;
        case Hair::Spiky:
            p.moveTo(l, y - 3);
            p.lineTo(l + 1, t + 12);
            for (int i = 0; i < 4; ++i) {
                const double x0 = l + 1 + (r - l - 2) * i / 4.0;
                const double x1 = l + 1 + (r - l - 2) * (i + 1) / 4.0;
                p.lineTo((x0 + x1) / 2, t + 16);
                p.lineTo(x1, t + 12);
            }
            p.lineTo(r, y - 3);
            break;
        case Hair::Bun:
        case Hair::Afro:
        case Hair::Buzz:
        default:
            // hair combed back from a rounded hairline
            p.moveTo(l, y - 3);
            p.cubicTo(l, t + 4, r, t + 4, r, y - 3);
            break;
        }
        p.lineTo(r, y + 80);
        p.lineTo(l, y + 80);
        p.closeSubpath();
        return p;
    }

    QPainterPath FacePainter::hairCap(double grow) const
    {
        return ellipse(cx, m_g.cy - 2.5, m_g.rx + grow, m_g.ry + 2.0);
    }

    QPainterPath FacePainter::bumps(
        double ecx, double ecy, double erx, double ery, double r, double from, double to, int count) const
    {
        QPainterPath p;
        for (int i = 0; i < count; ++i) {
            const double a = (from + (to - from) * i / (count - 1)) * M_PI / 180.0;
            p.addEllipse(QPointF(ecx + erx * std::cos(a), ecy + ery * std::sin(a)), r, r);
        }
        // overlapping circles must add up, not cancel out as the default odd-even rule would have them
        p.setFillRule(Qt::WindingFill);
        return p.simplified();
    }

    void FacePainter::backdrop()
    {
        const QColor base(m_s.background);
        QRadialGradient g(QPointF(38, 30), 60);
        g.setColorAt(0, shade(base, 1.35));
        g.setColorAt(1, base);
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(g);
        m_p.drawEllipse(QPointF(48, 48), 46.5, 46.5);
    }

    void FacePainter::hairBack()
    {
        const QColor c = shade(hairColour(), 0.86);
        const double y = m_g.cy, rx = m_g.rx, ry = m_g.ry, t = top();
        switch (m_s.hair) {
        case Hair::Long:
        case Hair::Wavy: {
            QPainterPath p = rect(cx - rx - 5, t + 4, 2 * rx + 10, ry * 2 + 18, 10).united(hairCap(4));
            if (m_s.hair == Hair::Wavy)
                p = p.united(bumps(cx, y + ry + 14, rx + 2, 3, 5.5, 180, 0, 6));
            fill(p, c);
            break;
        }
        case Hair::Bob:
            fill(rect(cx - rx - 5, t + 6, 2 * rx + 10, ry + 22, 8).united(hairCap(4)), c);
            break;
        case Hair::Ponytail: {
            QPainterPath tail = ellipse(0, 0, 6.5, 15);
            QTransform tr;
            tr.translate(cx + rx + 3, y + 6);
            tr.rotate(-18);
            fill(tr.map(tail), c);
            break;
        }
        case Hair::Pigtails:
            for (int side : { -1, 1 }) {
                fill(ellipse(cx + side * (rx + 6), y + 4, 7.5, 10), c);
                fill(ellipse(cx + side * (rx + 1), y - 3, 3, 3), QColor(m_s.hatColour ? m_s.hatColour : 0xFFF15BB5));
            }
            break;
        case Hair::Braids:
            for (int side : { -1, 1 }) {
                for (int i = 0; i < 5; ++i)
                    fill(ellipse(cx + side * (rx + 1.5), y + 2 + i * 6.5, 4.2, 4.4), c);
                fill(ellipse(cx + side * (rx + 1.5), y + 33, 2.6, 2.0), QColor(0xFFF4A259));
            }
            break;
        case Hair::Bun:
            fill(ellipse(cx, t - 3, 9.5, 8.5), c);
            break;
        case Hair::Afro:
            fill(ellipse(cx, y - 6, rx + 9, ry + 3).united(bumps(cx, y - 6, rx + 9, ry + 3, 6.5, 150, 390, 14)), c);
            break;
        default:
            break;
        }
        if (m_s.hat == Hat::Scarf) {
            const QColor s(m_s.hatColour);
            fill(ellipse(cx, y - 1, rx + 6.5, ry + 6).united(rect(cx - rx - 6.5, y, 2 * rx + 13, ry + 30, 12)),
                shade(s, 0.88));
        }
    }

    void FacePainter::body()
    {
        const double sy = m_g.shoulderY, h = m_g.shoulderHalf;
        const QColor neck = shade(skin(), 0.88);
        fill(rect(cx - 7, m_g.cy + m_g.ry - 10, 14, sy - (m_g.cy + m_g.ry) + 16, 3), neck);
        QPainterPath shoulders;
        shoulders.moveTo(cx - h - 6, 100);
        shoulders.lineTo(cx - h - 6, sy + 16);
        shoulders.cubicTo(cx - h - 6, sy + 3, cx - h + 10, sy, cx - 14, sy);
        shoulders.lineTo(cx + 14, sy);
        shoulders.cubicTo(cx + h - 10, sy, cx + h + 6, sy + 3, cx + h + 6, sy + 16);
        shoulders.lineTo(cx + h + 6, 100);
        shoulders.closeSubpath();
        QPainterPath collar;
        // children wear round necks, grown-ups alternate by shirt colour so neighbours in the grid differ
        const bool vNeck = m_s.age != Age::Child && (m_s.shirt & 0x10);
        if (vNeck) {
            collar.moveTo(cx - 8, sy - 1);
            collar.lineTo(cx + 8, sy - 1);
            collar.lineTo(cx, sy + 9);
            collar.closeSubpath();
        } else {
            collar = ellipse(cx, sy - 1, 8.5, 4.5);
        }
        const QColor shirt(m_s.shirt);
        fill(shoulders.subtracted(collar), shirt);
        if (m_s.hat == Hat::Scarf)
            return;
        // a seam line gives the collar some body
        if (!vNeck)
            stroke(ellipse(cx, sy - 1, 10, 6).intersected(below(sy + 1)), shade(shirt, 0.8), 1.4);
    }

    void FacePainter::hairFront()
    {
        const QColor c = hairColour();
        const double y = m_g.cy, rx = m_g.rx;
        QPainterPath volume;
        switch (m_s.hair) {
        case Hair::Bald:
            return;
        case Hair::Receding:
            volume = hairCap(1.5)
                         .intersected(rect(0, y - 14, unit, 15))
                         .subtracted(ellipse(cx, y + 3, rx - 2.4, m_g.ry + 1));
            fill(volume, c);
            return;
        case Hair::Buzz:
            volume = hairCap(1.2).intersected(above(y - 1));
            fill(volume.subtracted(hairWindow()), mix(c, skin(), 0.25), 0.7);
            return;
        case Hair::Curly:
            volume = hairCap(2)
                         .united(bumps(cx, y - 2.5, rx + 2, m_g.ry + 2, 4.6, 175, 365, 13))
                         .intersected(above(y + 2));
            break;
        case Hair::Afro:
            volume = hairCap(2).intersected(above(y - 2));
            break;
        case Hair::Spiky: {
            // tufts standing out all round the crown
            volume = hairCap(2.5).intersected(above(y));
            QPainterPath spikes;
            const double ecy = y - 2.5;
            auto at = [&](double degrees, double grow) {
                const double a = degrees * M_PI / 180.0;
                return QPointF(cx + (rx + grow) * std::cos(a), ecy + (m_g.ry + grow) * std::sin(a));
            };
            for (int i = 0; i < 7; ++i) {
                const double a = 198 + i * 24;
                spikes.moveTo(at(a - 13, 0));
                spikes.lineTo(at(a + 4, 6.5 - (i % 2) * 1.5));
                spikes.lineTo(at(a + 13, 0));
                spikes.closeSubpath();
            }
            spikes.setFillRule(Qt::WindingFill);
            volume = volume.united(spikes.simplified());
            break;
        }
        case Hair::Long:
        case Hair::Wavy:
            volume = hairCap(4).united(rect(cx - rx - 5, y - 6, 2 * rx + 10, m_g.ry + 14, 6));
            break;
        case Hair::Bob:
            volume = hairCap(4).united(rect(cx - rx - 5, y - 6, 2 * rx + 10, m_g.ry * 0.72 + 6, 6));
            break;
        case Hair::Pigtails:
        case Hair::Braids:
            volume = hairCap(2.5).intersected(above(y + 6));
            break;
        default:
            volume = hairCap(2.5).intersected(above(y + 1));
            break;
        }
        volume = volume.subtracted(hairWindow());
        fill(volume, c);
        // a soft highlight band makes the hair read as a shiny surface rather than a flat cut-out
        m_p.save();
        m_p.setClipPath(volume, Qt::IntersectClip);
        m_p.setPen(QPen(QColor(255, 255, 255, 55), 2.2, Qt::SolidLine, Qt::RoundCap));
        m_p.setBrush(Qt::NoBrush);
        QPainterPath shine;
        shine.moveTo(cx - rx + 2, top() + 12);
        shine.quadTo(cx - rx + 6, top() + 2, cx - 3, top() + 1);
        m_p.drawPath(shine);
        m_p.restore();
    }

    void FacePainter::paint()
    {
        backdrop();
        QPainterPath disc;
        disc.addEllipse(QPointF(48, 48), 46.5, 46.5);
        m_p.setClipPath(disc);
        hairBack();
        body();
        ears();
        face();
        eyes();
        if (m_s.beard == Beard::None)
            mouth();
        beard();
        if (m_s.hat != Hat::Scarf)
            hairFront();
        glasses();
        hat();
        m_p.setClipping(false);
        // a faint rim keeps light backdrops from melting into a light window
        m_p.setPen(QPen(shade(QColor(m_s.background), 0.82), 1.0));
        m_p.setBrush(Qt::NoBrush);
        m_p.drawEllipse(QPointF(48, 48), 46.5, 46.5);
    }

}

QImage drawFace(const FaceSpec& spec, int size)
{
    constexpr int oversample = 4;
    QImage large = blankImage(size * oversample, size * oversample);
    {
        QPainter p(&large);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size * oversample / facedraw::unit, size * oversample / facedraw::unit);
        facedraw::FacePainter(p, spec).paint();
    }
    return reduce(large, size, size);
}

}
