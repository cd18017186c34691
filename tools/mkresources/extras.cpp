#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <cmath>

#include "canvas.h"
#include "pictures.h"
#include "resources/resourcepaths.h"

namespace mkres {

namespace {
    // Windows tile the background in steps of about 0.88 of its size (the step is half its width in 0.01 mm
    // while the window counts twips), so each tile's right and bottom strip lies hidden under the next one.
    // No motif crosses the tile's edges nor the line where that hidden strip begins: then no motif is cut,
    // whether the tiles overlap that way or meet edge to edge.
    constexpr double overlapLine = 256 * 2540.0 / 2880.0;

    bool clearOfSeams(double centre, double reach)
    {
        const double low = centre - reach, high = centre + reach;
        return low > 1 && high < 255 && (high < overlapLine - 1 || low > overlapLine + 1);
    }

    void motif(QPainter& p, int kind, QPointF c, double size, double angle, const QColor& colour)
    {
        p.save();
        p.translate(c);
        p.rotate(angle);
        p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        switch (kind) {
        case 0: { // speech bubble
            QPainterPath b;
            b.addRoundedRect(QRectF(-size, -size * 0.7, 2 * size, size * 1.3), size * 0.45, size * 0.45);
            QPainterPath tail;
            tail.moveTo(-size * 0.45, size * 0.55);
            tail.lineTo(-size * 0.6, size * 1.05);
            tail.lineTo(-size * 0.05, size * 0.6);
            p.drawPath(b.united(tail).simplified());
            break;
        }
        case 1: { // star
            QPolygonF s;
            for (int i = 0; i < 10; ++i) {
                const double r = i % 2 ? size * 0.45 : size;
                const double a = -M_PI / 2 + i * M_PI / 5;
                s << QPointF(r * std::cos(a), r * std::sin(a));
            }
            p.drawPolygon(s);
            break;
        }
        case 2: // ring
            p.drawEllipse(QPointF(0, 0), size * 0.6, size * 0.6);
            break;
        default: // dot
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawEllipse(QPointF(0, 0), size * 0.3, size * 0.3);
            break;
        }
        p.restore();
    }
}

QImage drawBackground()
{
    const int size = resources::BackgroundSize;
    const QColor base(0xEEF3F8);
    const QColor darker(0xD6E2EE);
    const QColor lighter(0xF9FBFD);
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(base);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(20240611);
    QList<QPointF> placed;
    for (int attempt = 0; attempt < 4000 && placed.size() < 70; ++attempt) {
        const int kind = rng.below(4);
        const double s = kind == 3 ? rng.uniform(7, 11) : rng.uniform(5.5, 10);
        const double reach = s * 1.25 + 1.5; // the farthest a rotated motif reaches from its centre
        const QPointF c(rng.uniform(0, size), rng.uniform(0, size));
        const double angle = rng.uniform(-25, 25);
        const QColor colour = rng.below(4) ? darker : lighter;
        if (!clearOfSeams(c.x(), reach) || !clearOfSeams(c.y(), reach))
            continue;
        bool crowded = false;
        for (const QPointF& other : placed)
            crowded = crowded || QLineF(c, other).length() < 26;
        if (crowded)
            continue;
        placed.append(c);
        motif(p, kind, c, s, angle, colour);
    }
    p.end();
    return image;
}

QImage drawScoresButton()
{
    const int size = resources::ScoresButtonSize;
    QImage image = blankImage(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    const QColor bars[] = { QColor(0xE76F51), QColor(0xF4A261), QColor(0x2A9D8F) };
    const double heights[] = { 5, 8.5, 12 };
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(bars[i].darker(150), 1.0));
        p.setBrush(bars[i]);
        p.drawRect(QRectF(3.5 + 4 * i, 14.5 - heights[i], 3, heights[i]));
    }
    p.setPen(QPen(QColor(0x1D3557), 1.2, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(1.5, 1.5), QPointF(1.5, 14.5));
    p.drawLine(QPointF(1.5, 14.5), QPointF(15, 14.5));
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage drawLinkCursor(QPoint hotSpot)
{
    const int size = resources::LinkCursorSize;
    QImage image = blankImage(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // drawn around the fingertip so that the tip lands on the hot spot
    p.translate(hotSpot.x() - 11, hotSpot.y() - 2);
    auto rounded = [](double x, double y, double w, double h, double r) {
        QPainterPath path;
        path.addRoundedRect(QRectF(x, y, w, h), r, r);
        return path;
    };
    QPainterPath hand = rounded(8.5, 1.8, 5, 16.7, 2.5);
    hand = hand.united(rounded(13, 10.5, 5, 9, 2.4));
    hand = hand.united(rounded(17.5, 11.5, 5, 8.5, 2.4));
    hand = hand.united(rounded(22, 13, 4.5, 7.5, 2.2));
    hand = hand.united(rounded(8.5, 14.5, 18, 11, 4));
    QTransform thumb;
    thumb.translate(9.5, 19);
    thumb.rotate(38);
    hand = hand.united(thumb.map(rounded(-8, -2.4, 9, 4.8, 2.4)));
    hand = hand.united(rounded(10.5, 24, 14, 6.5, 1.5)).simplified();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawPath(hand.translated(1.2, 1.2));
    p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.setPen(QPen(QColor(0x404040), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(13.3, 12.5), QPointF(13.3, 16));
    p.drawLine(QPointF(17.8, 13), QPointF(17.8, 16.5));
    p.drawLine(QPointF(22.2, 14.5), QPointF(22.2, 17.5));
    p.setPen(QPen(Qt::black, 1.2));
    p.drawLine(QPointF(10.5, 24.2), QPointF(24.5, 24.2));
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

}
