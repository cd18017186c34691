#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>

#include "canvas.h"
#include "lettering.h"
#include "pictures.h"
#include "resources/resourcepaths.h"

namespace mkres {

namespace {

    enum class Flag { Spain, France, Germany, Italy, Britain };

    // Language taught and learner's language of each product, in the order of the product table.
    struct Product
    {
        Flag taught, learner;
    };
    constexpr Product products[] = {
        { Flag::Spain, Flag::Britain },
        { Flag::France, Flag::Britain },
        { Flag::Germany, Flag::Britain },
        { Flag::Italy, Flag::Britain },
        { Flag::Britain, Flag::Spain },
        { Flag::France, Flag::Spain },
        { Flag::Germany, Flag::Spain },
        { Flag::Italy, Flag::Spain },
    };

    void bands(QPainter& p, const QRectF& r, std::initializer_list<std::pair<QColor, double>> parts, bool vertical)
    {
        double total = 0;
        for (const auto& part : parts)
            total += part.second;
        double at = 0;
        p.setPen(Qt::NoPen);
        for (const auto& [colour, share] : parts) {
            p.setBrush(colour);
            // each band reaches a little under the next so no background shows between them
            if (vertical)
                p.drawRect(
                    QRectF(r.left() + r.width() * at / total, r.top(), r.width() * share / total + 1, r.height()));
            else
                p.drawRect(
                    QRectF(r.left(), r.top() + r.height() * at / total, r.width(), r.height() * share / total + 1));
            at += share;
        }
    }

    void unionFlag(QPainter& p, const QRectF& r)
    {
        const QColor blue(0x012169), red(0xC8102E);
        const double h = r.height();
        p.fillRect(r, blue);
        p.save();
        p.setClipRect(r, Qt::IntersectClip);
        auto diagonals = [&](const QColor& c, double width) {
            p.setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(r.topLeft(), r.bottomRight());
            p.drawLine(r.bottomLeft(), r.topRight());
        };
        diagonals(Qt::white, h / 5);
        diagonals(red, h / 15);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(r.center().x() - h / 6, r.top(), h / 3, h));
        p.drawRect(QRectF(r.left(), r.center().y() - h / 6, r.width(), h / 3));
        p.setBrush(red);
        p.drawRect(QRectF(r.center().x() - h / 10, r.top(), h / 5, h));
        p.drawRect(QRectF(r.left(), r.center().y() - h / 10, r.width(), h / 5));
        p.restore();
    }

    void flag(QPainter& p, Flag f, const QRectF& r)
    {
        switch (f) {
        case Flag::Spain:
            bands(p, r, { { QColor(0xC60B1E), 1 }, { QColor(0xFFC400), 2 }, { QColor(0xC60B1E), 1 } }, false);
            break;
        case Flag::France:
            bands(p, r, { { QColor(0x0055A4), 1 }, { QColor(0xFFFFFF), 1 }, { QColor(0xEF4135), 1 } }, true);
            break;
        case Flag::Germany:
            bands(p, r, { { QColor(Qt::black), 1 }, { QColor(0xDD0000), 1 }, { QColor(0xFFCE00), 1 } }, false);
            break;
        case Flag::Italy:
            bands(p, r, { { QColor(0x009246), 1 }, { QColor(0xFFFFFF), 1 }, { QColor(0xCE2B37), 1 } }, true);
            break;
        case Flag::Britain:
            unionFlag(p, r);
            break;
        }
    }

    QColor tailColour(Flag f)
    {
        switch (f) {
        case Flag::Spain:
            return QColor(0xC60B1E);
        case Flag::France:
            return QColor(0x0055A4);
        case Flag::Germany:
            return QColor(0xFFCE00);
        case Flag::Italy:
            return QColor(0x009246);
        case Flag::Britain:
        default:
            return QColor(0x012169);
        }
    }

    QPainterPath speechBubble(const QRectF& body, double radius, QPointF tailTip, double tailFrom, double tailTo)
    {
        QPainterPath b;
        b.addRoundedRect(body, radius, radius);
        QPainterPath tail;
        tail.moveTo(tailFrom, body.bottom() - 2);
        tail.quadTo(tailFrom, tailTip.y() - 8, tailTip.x(), tailTip.y());
        tail.quadTo(tailFrom + 8, body.bottom() + 2, tailTo, body.bottom() - 2);
        tail.closeSubpath();
        return b.united(tail).simplified();
    }

    // A soft shadow built from a few translucent copies; no blur filter needed.
    void softShadow(QPainter& p, const QPainterPath& shape, QPointF offset)
    {
        p.setBrush(Qt::NoBrush);
        for (int i = 4; i >= 1; --i) {
            p.setPen(QPen(QColor(20, 30, 50, 14), i * 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(shape.translated(offset));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 30, 50, 40));
        p.drawPath(shape.translated(offset));
    }

    void gloss(QPainter& p, const QPainterPath& shape, const QRectF& body)
    {
        p.save();
        p.setClipPath(shape, Qt::IntersectClip);
        QLinearGradient g(body.topLeft(), QPointF(body.left(), body.top() + body.height() * 0.42));
        g.setColorAt(0, QColor(255, 255, 255, 90));
        g.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(QRectF(body.left() - body.width() * 0.2, body.top() - body.height() * 0.55, body.width() * 1.4,
            body.height() * 1.0));
        p.restore();
    }

    QImage oversampled(int size, int factor, const std::function<void(QPainter&)>& paint)
    {
        QImage large = blankImage(size * factor, size * factor);
        {
            QPainter p(&large);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(factor, factor);
            paint(p);
        }
        return reduce(large, size, size);
    }
}

QImage drawProductLogo(int n)
{
    const Product product = products[qBound(1, n, resources::ProductLogoCount) - 1];
    return oversampled(resources::ProductLogoSize, 4, [&](QPainter& p) {
        const QRectF body(12, 8, 136, 88);
        const QPainterPath bubble = speechBubble(body, 24, { 30, 118 }, 34, 62);
        softShadow(p, bubble, { 0, 3 });
        p.save();
        p.setClipPath(bubble);
        // the tail continues the flag's lower left band, the body carries the flag in its own proportions
        p.fillRect(body.adjusted(-2, -2, 2, 30), tailColour(product.taught));
        flag(p, product.taught, body.adjusted(-2, -2, 2, 0));
        p.restore();
        gloss(p, bubble, body);
        p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(bubble);
        p.setPen(QPen(QColor(0x1F3A5F), 1.2));
        p.drawPath(bubble);

        // the learner's own language, as a round badge on the bubble's corner
        const QPointF badge(130, 88);
        const double r = 17;
        QPainterPath disc;
        disc.addEllipse(badge, r, r);
        softShadow(p, disc, { 0, 2 });
        p.save();
        p.setClipPath(disc);
        flag(p, product.learner, QRectF(badge.x() - r * 1.5, badge.y() - r, r * 3, r * 2));
        p.restore();
        gloss(p, disc, disc.boundingRect());
        p.setPen(QPen(Qt::white, 3.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(badge, r, r);
        p.setPen(QPen(QColor(0x1F3A5F), 1.0));
        p.drawEllipse(badge, r + 1.75, r + 1.75);

        QPainterPath word = letteredWord(QStringLiteral("Parlanta"), 18);
        word.translate(80 - word.boundingRect().width() / 2 - word.boundingRect().left(), 151);
        p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(word);
        p.setPen(Qt::NoPen);
        QLinearGradient ink(QPointF(0, 125), QPointF(0, 152));
        ink.setColorAt(0, QColor(0x2C5C94));
        ink.setColorAt(1, QColor(0x1F3A5F));
        p.setBrush(ink);
        p.drawPath(word);
    });
}

QImage drawAppIcon(int size)
{
    return oversampled(size, 4, [&](QPainter& p) {
        p.scale(size / 128.0, size / 128.0);
        const QRectF body(8, 10, 112, 86);
        const QPainterPath bubble = speechBubble(body, 24, { 22, 120 }, 28, 54);
        softShadow(p, bubble, { 0, 3 });
        QLinearGradient g(body.topLeft(), body.bottomRight());
        g.setColorAt(0, QColor(0x49A3F0));
        g.setColorAt(1, QColor(0x1E9C8F));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(bubble);
        gloss(p, bubble, body);
        p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(bubble);

        QPainterPath letter = letteredWord(QStringLiteral("P"), 44, 0.3);
        const QRectF lr = letter.boundingRect();
        letter.translate(body.center().x() - 10 - lr.center().x(), body.center().y() - lr.center().y());
        softShadow(p, letter, { 0, 2 });
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(letter);
        // three dots for the three voices of a conversation, in warm colours against the cool bubble
        const QColor dots[] = { QColor(0xFFD23F), QColor(0xFF8C42), QColor(0xF25F5C) };
        for (int i = 0; i < 3; ++i) {
            p.setBrush(dots[i]);
            p.drawEllipse(QPointF(86, 34 + i * 15), 5.5, 5.5);
        }
    });
}

}
