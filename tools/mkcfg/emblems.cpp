#include <QPainter>
#include <QPainterPath>

#include "buttonpicture.h"

namespace mkcfg {

namespace {

    // Each emblem draws in a 32 x 32 design square; drawEmblem scales that onto the box.

    void card(QPainter& p, const QColor& colour)
    {
        // A small stack of index cards, the front one with a question on it.
        p.save();
        p.translate(16, 16.5);
        p.setPen(Qt::NoPen);
        p.rotate(-12);
        p.setBrush(QColor(255, 255, 255, 120));
        p.drawRoundedRect(QRectF(-11, -9, 22, 15), 2.2, 2.2);
        p.rotate(12);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(-12, -6.5, 24, 16), 2.2, 2.2);
        p.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath question;
        question.moveTo(-2.6, -1.2);
        question.cubicTo(-2.6, -4.2, 2.8, -4.4, 2.8, -1.1);
        question.cubicTo(2.8, 1.0, 0, 1.0, 0, 3.2);
        p.drawPath(question);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(QPointF(0, 6.3), 1.35, 1.35);
        p.restore();
    }

    void ear(QPainter& p, const QColor&)
    {
        QPen pen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        QPainterPath outer;
        outer.moveTo(10.5, 13);
        outer.cubicTo(10.5, 6.5, 15, 4, 18.5, 4);
        outer.cubicTo(23, 4, 26, 7.5, 26, 12);
        outer.cubicTo(26, 17, 21.5, 18, 20.5, 22);
        outer.cubicTo(19.5, 26, 17.5, 28, 14.5, 28);
        outer.cubicTo(12.5, 28, 11, 27, 10.5, 25.5);
        p.drawPath(outer);
        QPainterPath inner;
        inner.moveTo(15, 13);
        inner.cubicTo(15, 10, 16.8, 8.7, 18.6, 8.7);
        inner.cubicTo(20.6, 8.7, 21.8, 10.3, 21.8, 12);
        inner.cubicTo(21.8, 14.3, 19.4, 15, 18.8, 17);
        p.drawPath(inner);
        // Sound waves reaching the ear.
        pen.setWidthF(2.0);
        p.setPen(pen);
        p.drawArc(QRectF(0.5, 10.5, 10, 11), 120 * 16, 120 * 16);
        p.drawArc(QRectF(-3.5, 7, 14, 18), 125 * 16, 110 * 16);
    }

    void pencil(QPainter& p, const QColor& colour)
    {
        p.save();
        p.translate(16, 16);
        p.rotate(-45);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(-8, -3.6, 15, 7.2)); // the body
        p.setBrush(QColor(255, 255, 255, 150));
        p.drawRoundedRect(QRectF(-13.5, -3.6, 5, 7.2), 1.6, 1.6); // the eraser
        QPainterPath tip;
        tip.moveTo(7.6, -3.6);
        tip.lineTo(14, 0);
        tip.lineTo(7.6, 3.6);
        tip.closeSubpath();
        p.setBrush(QColor(255, 236, 200));
        p.drawPath(tip);
        QPainterPath lead;
        lead.moveTo(11.8, -1.25);
        lead.lineTo(14, 0);
        lead.lineTo(11.8, 1.25);
        lead.closeSubpath();
        p.setBrush(colour.darker(170));
        p.drawPath(lead);
        p.setPen(QPen(colour, 1.1));
        p.drawLine(QPointF(-8, 0), QPointF(7.6, 0));
        p.restore();
        // The line it writes.
        p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
        QPainterPath stroke;
        stroke.moveTo(5, 28);
        stroke.cubicTo(8, 25, 10, 30.5, 13, 27.5);
        p.setBrush(Qt::NoBrush);
        p.drawPath(stroke);
    }

    void pairs(QPainter& p, const QColor& colour)
    {
        for (int side : { -1, 1 }) {
            p.save();
            p.translate(16 + side * 5.5, 16);
            p.rotate(side * 10);
            p.setPen(QPen(colour.darker(130), 1.0));
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(-7, -10.5, 14, 21), 2.2, 2.2);
            // The same mark on both cards: they match.
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            QPainterPath heart;
            heart.moveTo(0, 4);
            heart.cubicTo(-6, 0, -4.5, -5.5, 0, -2.5);
            heart.cubicTo(4.5, -5.5, 6, 0, 0, 4);
            p.drawPath(heart);
            p.restore();
        }
    }

    void microphone(QPainter& p, const QColor& colour)
    {
        // A microphone on its stand, with the voice going into it.
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(12, 3.5, 8, 15), 4, 4);
        p.setPen(QPen(colour.darker(130), 1.0));
        for (double y : { 8.0, 11.0, 14.0 })
            p.drawLine(QPointF(13.5, y), QPointF(18.5, y));
        QPen stand(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(stand);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(8.5, 7, 15, 15), 200 * 16, 140 * 16);
        p.drawLine(QPointF(16, 22), QPointF(16, 27));
        p.drawLine(QPointF(11.5, 27.5), QPointF(20.5, 27.5));
        stand.setWidthF(1.8);
        p.setPen(stand);
        p.drawArc(QRectF(23, 6, 6, 10), -60 * 16, 120 * 16);
        p.drawArc(QRectF(3, 6, 6, 10), 120 * 16, 120 * 16);
    }

    using EmblemFunction = void (*)(QPainter&, const QColor&);
    struct Emblem
    {
        const char* name;
        EmblemFunction draw;
    };
    const Emblem emblems[]
        = { { "card", card }, { "ear", ear }, { "pencil", pencil }, { "pairs", pairs }, { "microphone", microphone } };
}

QStringList emblemNames()
{
    QStringList names;
    for (const Emblem& e : emblems)
        names << QLatin1String(e.name);
    return names;
}

bool drawEmblem(QPainter& painter, const QString& emblem, const QRectF& box, const QColor& colour)
{
    for (const Emblem& e : emblems) {
        if (emblem == QLatin1String(e.name)) {
            painter.save();
            painter.translate(box.topLeft());
            painter.scale(box.width() / 32.0, box.height() / 32.0);
            e.draw(painter, colour);
            painter.restore();
            return true;
        }
    }
    return false;
}

}
