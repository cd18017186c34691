#pragma once

#include <QFont>
#include <QSize>

#include "games/common/gamestart.h"
#include "games/pairs/texts.h"

namespace games::pairs {

// With a single pair the first turn always finds it.
inline constexpr int MinimumPairs = 2;

// The score as stored and shown: "12 turns".
QString turnsText(Language language, int turns);
// Columns of the board for a number of cards, so that no row is much shorter than the others.
int boardColumns(int cards);

// How a card lays out its text: whole words to a line, centred.
inline constexpr int CardTextFlags = Qt::AlignCenter | Qt::TextWordWrap;
// Below this a phrase is no longer read at a glance; a text too long even then shows what fits.
inline constexpr qreal MinimumCardPointSize = 8;
// The font, no larger than the one given, in which the whole text fits the room; never below the minimum size.
QFont fittingCardFont(const QString& text, QFont font, const QSize& room);

ActivityInfo activity();

}
