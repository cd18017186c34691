#include "buttonpicture.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace mkcfg {

namespace {

    struct Palette
    {
        QColor top, bottom, border, text, shine;
    };

    // Resting buttons are cool and quiet; the lit one warms up like a lamp so the pointer's target is obvious.
    const Palette resting { QColor(0xfb, 0xfc, 0xfe), QColor(0xdc, 0xe3, 0xec), QColor(0x8d, 0x9b, 0xad),
        QColor(0x1f, 0x2a, 0x38), QColor(255, 255, 255, 200) };
    const Palette lit { QColor(0xff, 0xfb, 0xe6), QColor(0xff, 0xcf, 0x4d), QColor(0xc9, 0x85, 0x00),
        QColor(0x3b, 0x24, 0x00), QColor(255, 255, 255, 230) };

    QFont buttonFont(int pixels)
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setStyleHint(QFont::SansSerif);
        font.setBold(true);
        font.setPixelSize(pixels);
        return font;
    }

    // One line as large as fits down to 12 px; a longer name breaks into two lines rather than shrinking into
    // a size that looks out of place beside its neighbours.
    void drawName(QPainter& p, const QString& name, const QRectF& box)
    {
        for (int pixels = 14; pixels >= 12; --pixels) {
            const QFont font = buttonFont(pixels);
            if (QFontMetricsF(font).horizontalAdvance(name) <= box.width()) {
                p.setFont(font);
                p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, name);
                return;
            }
        }
        for (int pixels = 13; pixels > 8; --pixels) {
            const QFont font = buttonFont(pixels);
            const QRectF needed = QFontMetricsF(font).boundingRect(box, Qt::AlignLeft | Qt::TextWordWrap, name);
            if ((needed.width() <= box.width() && needed.height() <= box.height()) || pixels == 9) {
                p.setFont(font);
                p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, name);
                return;
            }
        }
    }

}

QImage paintButton(const Activity& activity, const QString& name, bool isLit)
{
    const Palette& c = isLit ? lit : resting;
    QImage image(ButtonSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);

    const QRectF body = QRectF(QPointF(0, 0), ButtonSize).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = 9;
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, c.top);
    fill.setColorAt(1, c.bottom);
    p.setPen(QPen(c.border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(body, radius, radius);

    // A soft highlight over the upper half gives the face a little depth.
    QLinearGradient gloss(body.topLeft(), QPointF(body.left(), body.center().y()));
    gloss.setColorAt(0, c.shine);
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(body.adjusted(1.5, 1.5, -1.5, -body.height() / 2), radius - 1.5, radius - 1.5);
    if (isLit) {
        QPainterPath ring;
        ring.addRoundedRect(body.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1.5, radius - 1.5);
        p.strokePath(ring, QPen(QColor(255, 255, 255, 170), 1.2));
    }

    // The emblem sits on a coloured disc; lit, the disc glows.
    const QRectF disc(6, 5, 32, 32);
    if (isLit) {
        QRadialGradient glow(disc.center(), 21);
        glow.setColorAt(0.6, QColor(255, 255, 255, 200));
        glow.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(glow);
        p.drawEllipse(disc.center(), 21, 21);
    }
    const QColor base = isLit ? activity.colour.lighter(118) : activity.colour;
    QLinearGradient discFill(disc.topLeft(), disc.bottomLeft());
    discFill.setColorAt(0, base.lighter(125));
    discFill.setColorAt(1, base.darker(115));
    p.setBrush(discFill);
    p.setPen(QPen(base.darker(140), 1));
    p.drawEllipse(disc);
    drawEmblem(p, activity.emblem, disc.adjusted(4, 4, -4, -4), base);

    const QRectF textBox(disc.right() + 7, 3, ButtonSize.width() - disc.right() - 7 - 7, ButtonSize.height() - 6);
    p.setPen(c.text);
    drawName(p, name, textBox);
    p.end();
    return image;
}

}
