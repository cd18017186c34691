#pragma once

#include <optional>

#include <QVariant>

// Every chart of results draws one scale, the per cent of the round's maximum, so that 8 of 10 cards and 87 % of
// a dictation stand side by side. The per cent is read from the stored row, old rows included:
// - a textScore "a / b" (blanks optional, a decimal point or comma) is a of b: a / b × 100;
// - a textScore "87%" or "87 %" is that per cent;
// - any other textScore, or none, leaves numberScore, which the activities store as the per cent when their text
//   is neither (Pairs: "12 turns" with the pairs found per turn taken as a per cent).
// A result beyond its maximum or below nothing, a NULL or unreadable number, and a text of either form that does
// not add up have no per cent: they are listed, never drawn, rather than drawn at a height they do not mean.
std::optional<double> Score_Percent(const QVariant& textScore, const QVariant& numberScore);
