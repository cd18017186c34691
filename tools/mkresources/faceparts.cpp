#include <QRadialGradient>
#include <QTransform>

#include <cmath>

#include "facepainter.h"

namespace mkres::facedraw {

void FacePainter::ears()
{
    if (m_s.hat == Hat::Scarf)
        return;
    for (int side : { -1, 1 }) {
        const double ex = cx + side * (m_g.rx + 0.3);
        fill(ellipse(ex, m_g.cy + 3, 4.2, 5.6), skin(), 0.72);
        QPainterPath inner;
        inner.moveTo(ex + side * 1.6, m_g.cy);
        inner.quadTo(ex + side * 0.2, m_g.cy + 3, ex + side * 1.4, m_g.cy + 6);
        stroke(inner, shade(skin(), 0.78), 1.1);
        if (m_s.earrings)
            fill(ellipse(ex + side * 0.6, m_g.cy + 9.8, 1.7, 1.7), QColor(0xFFF2C14E), 0.7);
    }
}

void FacePainter::face()
{
    fill(head(), skin(), 0.72);
    if (m_s.hair == Hair::Bald || m_s.hair == Hair::Receding) {
        // a little shine on the crown
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(QColor(255, 255, 255, 70));
        m_p.drawEllipse(QPointF(cx - 7, top() + 6), 5, 2.6);
    }
    const QColor blush(255, 120, 120, 95);
    for (int side : { -1, 1 }) {
        const QPointF c(cx + side * (m_g.eyeDx + 4.5), m_g.mouthY - 4.5);
        QRadialGradient g(c, 5.5);
        g.setColorAt(0, blush);
        g.setColorAt(1, QColor(255, 120, 120, 0));
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(g);
        m_p.drawEllipse(c, 5.5, 5.5);
    }
    if (m_s.freckles) {
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(shade(skin(), 0.74));
        for (int side : { -1, 1 })
            for (const QPointF& d : { QPointF(3.0, -1.5), QPointF(5.5, -0.2), QPointF(4.0, 1.6), QPointF(1.5, 0.3) })
                m_p.drawEllipse(QPointF(cx + side * (m_g.eyeDx + d.x()), m_g.noseY + d.y() - 0.5), 0.75, 0.75);
    }
    QPainterPath nose;
    nose.moveTo(cx - 2.2, m_g.noseY);
    nose.quadTo(cx, m_g.noseY + 2.4, cx + 2.2, m_g.noseY);
    stroke(nose, shade(skin(), 0.7), 1.4);
    if (m_s.age == Age::Senior) {
        for (int side : { -1, 1 }) {
            const double ox = cx + side * (m_g.eyeDx + m_g.eyeRx + 2.2);
            for (double dy : { -1.6, 1.6 }) {
                QPainterPath line;
                line.moveTo(ox, m_g.eyeY + dy * 0.4);
                line.lineTo(ox + side * 2.2, m_g.eyeY + dy);
                stroke(line, shade(skin(), 0.8), 0.9);
            }
        }
    }
}

void FacePainter::eyes()
{
    const QColor dark(0xFF2B1D16);
    const QColor brow = shade(m_s.hair == Hair::Bald ? QColor(0xFF6B4226) : hairColour(), 0.72);
    for (int side : { -1, 1 }) {
        const double ex = cx + side * m_g.eyeDx;
        const double by = m_g.eyeY - m_g.eyeRy - 4.2;
        QPainterPath b;
        b.moveTo(ex - 3.6, by + 0.9);
        b.quadTo(ex, by - 1.4, ex + 3.6, by + 0.9);
        stroke(b, brow, m_s.age == Age::Child ? 1.6 : 1.8);
        if (m_s.eyes == Eyes::Happy) {
            QPainterPath e;
            e.moveTo(ex - 3.3, m_g.eyeY + 1);
            e.quadTo(ex, m_g.eyeY - 3.4, ex + 3.3, m_g.eyeY + 1);
            stroke(e, dark, 1.9);
            continue;
        }
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(dark);
        m_p.drawEllipse(QPointF(ex, m_g.eyeY), m_g.eyeRx, m_g.eyeRy);
        m_p.setBrush(Qt::white);
        m_p.drawEllipse(QPointF(ex - m_g.eyeRx * 0.3, m_g.eyeY - m_g.eyeRy * 0.38), m_g.eyeRx * 0.42, m_g.eyeRx * 0.42);
        m_p.drawEllipse(QPointF(ex + m_g.eyeRx * 0.4, m_g.eyeY + m_g.eyeRy * 0.4), 0.55, 0.55);
        if (m_s.eyes == Eyes::Lashes) {
            QPainterPath l;
            l.moveTo(ex + side * m_g.eyeRx * 0.8, m_g.eyeY - m_g.eyeRy * 0.6);
            l.lineTo(ex + side * (m_g.eyeRx + 1.9), m_g.eyeY - m_g.eyeRy * 1.05);
            stroke(l, dark, 1.2);
        }
    }
}

void FacePainter::mouth()
{
    const double y = m_g.mouthY, w = m_s.mouth == Mouth::Small ? 4.5 : m_g.mouthW;
    const QColor line(0xFF8A3B2E);
    if (m_s.mouth == Mouth::Smile || m_s.mouth == Mouth::Small) {
        QPainterPath p;
        p.moveTo(cx - w, y - 1);
        p.quadTo(cx, y + 5, cx + w, y - 1);
        stroke(p, line, 1.8);
        return;
    }
    const double depth = m_s.mouth == Mouth::Grin ? 6.5 : 8.5;
    const double wide = m_s.mouth == Mouth::Grin ? w + 1.5 : w;
    QPainterPath p;
    p.moveTo(cx - wide, y - 1.5);
    p.cubicTo(cx - wide * 0.5, y - 0.4, cx + wide * 0.5, y - 0.4, cx + wide, y - 1.5);
    p.cubicTo(cx + wide * 0.85, y + depth, cx - wide * 0.85, y + depth, cx - wide, y - 1.5);
    p.closeSubpath();
    m_p.setPen(Qt::NoPen);
    m_p.setBrush(QColor(0xFF7B2D2D));
    m_p.drawPath(p);
    m_p.save();
    m_p.setClipPath(p, Qt::IntersectClip);
    m_p.setBrush(Qt::white);
    m_p.drawRect(QRectF(cx - wide, y - 3, 2 * wide, m_s.mouth == Mouth::Grin ? 5.2 : 3.4));
    if (m_s.mouth == Mouth::Open) {
        m_p.setBrush(QColor(0xFFF07A7A));
        m_p.drawEllipse(QPointF(cx, y + 6.2), wide * 0.62, 3.4);
    }
    m_p.restore();
    stroke(p, QColor(0xFF5C1F1F), 1.2);
}

void FacePainter::beard()
{
    const QColor c = hairColour();
    const double y = m_g.mouthY;
    const QPainterPath moustache = ellipse(cx - 3.8, y - 3.2, 4.4, 2.3).united(ellipse(cx + 3.8, y - 3.2, 4.4, 2.3));
    const QPainterPath mouthRoom = ellipse(cx, y + 1.5, m_g.mouthW + 0.5, 3.8);
    switch (m_s.beard) {
    case Beard::Moustache:
        fill(moustache, c);
        break;
    case Beard::Goatee:
        fill(ellipse(cx, m_g.cy + m_g.ry - 4, 4.6, 4.8).intersected(below(y + 4.6)), c);
        fill(ellipse(cx - 3.4, y - 3.4, 3.8, 1.8).united(ellipse(cx + 3.4, y - 3.4, 3.8, 1.8)), c);
        break;
    case Beard::Full: {
        const double cheekTop = m_g.noseY - 6;
        const QPainterPath cheeks = ellipse(cx, cheekTop, m_g.rx - 4.5, y - cheekTop - 1.5);
        QPainterPath jaw = head().intersected(below(m_g.eyeY + 3)).subtracted(cheeks);
        fill(jaw.united(moustache).subtracted(mouthRoom), c);
        break;
    }
    case Beard::None:
        break;
    }
    if (m_s.beard != Beard::None)
        mouth();
}

void FacePainter::glasses()
{
    if (m_s.glasses == Glasses::None)
        return;
    const QColor frame(m_s.glassesColour);
    const double r = m_g.eyeRx + 4.0;
    QPainterPath lenses;
    for (int side : { -1, 1 }) {
        const double ex = cx + side * m_g.eyeDx;
        if (m_s.glasses == Glasses::Round)
            lenses.addEllipse(QPointF(ex, m_g.eyeY), r, r);
        else
            lenses.addRoundedRect(QRectF(ex - r - 0.8, m_g.eyeY - r + 1, 2 * r + 1.6, 2 * r - 1.5), 2.8, 2.8);
    }
    m_p.setPen(Qt::NoPen);
    m_p.setBrush(QColor(255, 255, 255, 60));
    m_p.drawPath(lenses);
    QPainterPath arms;
    const double inner = m_g.eyeDx - r - (m_s.glasses == Glasses::Square ? 0.8 : 0);
    arms.moveTo(cx - inner, m_g.eyeY - 0.5);
    arms.quadTo(cx, m_g.eyeY - 2.6, cx + inner, m_g.eyeY - 0.5);
    for (int side : { -1, 1 }) {
        arms.moveTo(cx + side * (m_g.eyeDx + r), m_g.eyeY - 1);
        arms.lineTo(cx + side * (m_g.rx - 0.5), m_g.eyeY - 2);
    }
    stroke(arms, frame, 1.6);
    stroke(lenses, frame, 1.7);
    for (int side : { -1, 1 }) {
        const double ex = cx + side * m_g.eyeDx;
        QPainterPath glare;
        glare.moveTo(ex + r * 0.15, m_g.eyeY - r * 0.7);
        glare.lineTo(ex + r * 0.6, m_g.eyeY - r * 0.25);
        stroke(glare, QColor(255, 255, 255, 170), 1.1);
    }
}

void FacePainter::hat()
{
    const QColor c(m_s.hatColour);
    const double y = m_g.cy, rx = m_g.rx, ry = m_g.ry, t = top();
    switch (m_s.hat) {
    case Hat::Beanie: {
        const double band = y - ry * 0.42;
        const QPainterPath dome = ellipse(cx, y - 3, rx + 3.5, ry + 3).intersected(above(band));
        fill(dome, c);
        m_p.save();
        m_p.setClipPath(dome, Qt::IntersectClip);
        for (int i = -3; i <= 3; ++i) {
            QPainterPath rib;
            rib.moveTo(cx + i * 5.5, band);
            rib.quadTo(cx + i * 6.5, t, cx + i * 3.0, t - 4);
            stroke(rib, shade(c, 0.82), 1.0);
        }
        m_p.restore();
        fill(rect(cx - rx - 4.5, band - 4, 2 * rx + 9, 8.5, 3.5), shade(c, 0.88));
        fill(ellipse(cx, t - 5.5, 5.8, 5.8), mix(c, Qt::white, 0.45));
        break;
    }
    case Hat::Cap: {
        const double band = y - ry * 0.38;
        const QPainterPath crown = ellipse(cx, y - 4, rx + 2.8, ry + 1.5).intersected(above(band));
        fill(crown, c);
        QPainterPath seam;
        seam.moveTo(cx + 2, t - 1);
        seam.quadTo(cx + 4, band - 8, cx + 3, band);
        stroke(seam, shade(c, 0.75), 1.0);
        QPainterPath brim;
        brim.moveTo(cx - rx - 3, band);
        brim.cubicTo(cx - rx - 6, band + 6, cx - 4, band + 7.5, cx + 9, band + 2);
        brim.lineTo(cx + 9, band);
        brim.closeSubpath();
        fill(brim.united(rect(cx - rx - 3, band - 1.5, 2 * rx + 6, 3, 1.5)), shade(c, 0.85));
        fill(ellipse(cx + 2, t - 1.5, 2.2, 1.6), shade(c, 0.85));
        break;
    }
    case Hat::SunHat: {
        const double brimY = y - ry * 0.45;
        fill(ellipse(cx, brimY, rx + 17, 7), c);
        const QPainterPath crown = ellipse(cx, brimY + 1, rx - 0.5, 15).intersected(above(brimY + 1));
        fill(crown, shade(c, 1.08));
        fill(crown.intersected(below(brimY - 4.5)), QColor(m_s.shirt));
        const QPointF flower(cx + rx - 5, brimY - 3.5);
        m_p.setPen(Qt::NoPen);
        for (int i = 0; i < 5; ++i) {
            const double a = i * 2 * M_PI / 5;
            m_p.setBrush(Qt::white);
            m_p.drawEllipse(flower + QPointF(2.4 * std::cos(a), 2.4 * std::sin(a)), 1.9, 1.9);
        }
        m_p.setBrush(QColor(0xFFFFC93C));
        m_p.drawEllipse(flower, 1.5, 1.5);
        break;
    }
    case Hat::Bow: {
        const QPointF k(cx + rx - 7, t + 4);
        QPainterPath bow;
        for (int side : { -1, 1 }) {
            QPainterPath wing;
            wing.moveTo(k);
            wing.cubicTo(k + QPointF(side * 4, -7), k + QPointF(side * 10, -5), k + QPointF(side * 9, 0));
            wing.cubicTo(k + QPointF(side * 10, 5), k + QPointF(side * 4, 7), k);
            bow = bow.united(wing);
        }
        fill(bow, c);
        fill(ellipse(k.x(), k.y(), 2.6, 2.8), shade(c, 0.85));
        break;
    }
    case Hat::Headband: {
        QPainterPath band;
        band.moveTo(cx - rx - 1, y - 4);
        band.cubicTo(cx - rx, t - 2, cx + rx, t - 2, cx + rx + 1, y - 4);
        const QPainterPath shape
            = QPainterPathStroker(QPen(Qt::black, 4.4, Qt::SolidLine, Qt::FlatCap)).createStroke(band);
        fill(shape.intersected(hairCap(4)), c);
        const QPointF f(cx - rx + 6, t + 7);
        m_p.setPen(Qt::NoPen);
        for (int i = 0; i < 5; ++i) {
            const double a = i * 2 * M_PI / 5 - M_PI / 2;
            m_p.setBrush(mix(c, Qt::white, 0.5));
            m_p.drawEllipse(f + QPointF(2.8 * std::cos(a), 2.8 * std::sin(a)), 2.3, 2.3);
        }
        m_p.setBrush(QColor(0xFFFFC93C));
        m_p.drawEllipse(f, 1.8, 1.8);
        break;
    }
    case Hat::Scarf: {
        const QPainterPath wrap = ellipse(cx, y - 1, rx + 6, ry + 5.5)
                                      .united(rect(cx - rx - 6, y, 2 * rx + 12, ry + 8, 8))
                                      .subtracted(ellipse(cx, y + 3, rx - 2.4, ry - 1.2));
        fill(wrap, c);
        QPainterPath fold;
        fold.moveTo(cx - rx + 1, y - 10);
        fold.cubicTo(cx - rx + 3, t + 2, cx + rx - 3, t + 2, cx + rx - 1, y - 10);
        stroke(fold, shade(c, 0.82), 1.1);
        break;
    }
    case Hat::Beret: {
        QTransform tr;
        tr.translate(cx + 4, t + 3.5);
        tr.rotate(-9);
        fill(tr.map(ellipse(0, 0, rx + 4.5, 7.5)), c);
        fill(tr.map(rect(-1.2, -10.5, 2.4, 3.5, 1)), shade(c, 0.8));
        break;
    }
    case Hat::None:
        break;
    }
}

}
