#include "pairstexts.h"

#include <algorithm>

#include <QFontMetrics>

#include "games/pairs/pairsboard.h"

namespace games::pairs {

QString turnsText(Language language, int turns)
{
    return turns == 1 ? say(language, OneTurn) : say(language, ManyTurns).arg(turns);
}

int boardColumns(int cards)
{
    if (cards <= 8)
        return std::max(1, cards / 2);
    if (cards % 5 == 0)
        return 5;
    return cards % 4 == 0 ? 4 : 5;
}

QFont fittingCardFont(const QString& text, QFont font, const QSize& room)
{
    const auto fits = [&](const QFont& f) {
        const QRect used = QFontMetrics(f).boundingRect(QRect(QPoint(0, 0), room), CardTextFlags, text);
        return used.width() <= room.width() && used.height() <= room.height();
    };
    while (font.pointSizeF() > MinimumCardPointSize && !fits(font))
        font.setPointSizeF(std::max(MinimumCardPointSize, font.pointSizeF() - 0.5));
    return font;
}

ActivityInfo activity()
{
    return { Name, Keys, QColor(0x8a, 0x4c, 0xc7), MinimumPairs, [](const QList<Phrase>& phrases) {
                return static_cast<int>(
                    PairsBoard::distinctPairs(taughtTextsOf(phrases), translationsOf(phrases)).size());
            } };
}

}
