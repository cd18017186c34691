#include "lettering.h"

#include <QPainterPathStroker>

namespace mkres {

namespace {
    constexpr double gap = 0.32;

    // Centre line of a letter in units of the x-height, baseline at 0, y pointing down; returns its advance.
    double glyph(QChar c, QPainterPath& p, double x)
    {
        switch (c.unicode()) {
        case 'P':
            p.moveTo(x, 0);
            p.lineTo(x, -1.42);
            p.lineTo(x + 0.34, -1.42);
            p.arcTo(QRectF(x + 0.34 - 0.4, -1.42, 0.8, 0.8), 90, -180);
            p.lineTo(x, -0.62);
            return 0.74;
        case 'a':
            p.addEllipse(QRectF(x, -0.94, 0.84, 0.94));
            p.moveTo(x + 0.84, -0.98);
            p.lineTo(x + 0.84, 0);
            return 0.84;
        case 'r':
            p.moveTo(x, -0.98);
            p.lineTo(x, 0);
            p.moveTo(x, -0.5);
            p.cubicTo(x, -0.84, x + 0.24, -0.98, x + 0.56, -0.96);
            return 0.5;
        case 'l':
            p.moveTo(x, -1.5);
            p.lineTo(x, 0);
            return 0.0;
        case 'n':
            p.moveTo(x, -0.98);
            p.lineTo(x, 0);
            p.moveTo(x, -0.55);
            p.cubicTo(x, -0.86, x + 0.2, -0.98, x + 0.4, -0.98);
            p.cubicTo(x + 0.64, -0.98, x + 0.8, -0.86, x + 0.8, -0.55);
            p.lineTo(x + 0.8, 0);
            return 0.8;
        case 't':
            p.moveTo(x + 0.18, -1.36);
            p.lineTo(x + 0.18, -0.26);
            p.quadTo(x + 0.18, 0, x + 0.5, 0);
            p.moveTo(x - 0.06, -0.96);
            p.lineTo(x + 0.52, -0.96);
            return 0.5;
        default:
            return -gap;
        }
    }
}

QPainterPath letteredWord(const QString& word, double xHeight, double weight)
{
    QPainterPath centre;
    double x = weight / 2;
    for (const QChar c : word)
        x += glyph(c, centre, x) + gap;
    QPainterPathStroker stroker;
    stroker.setWidth(weight);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath outline = stroker.createStroke(centre).united(QPainterPath()).simplified();
    QTransform scale;
    scale.scale(xHeight, xHeight);
    return scale.map(outline);
}

}
