#pragma once

#include <vector>

#include <QStringList>

#include "games/common/gamestart.h"
#include "games/dictation/dictationcheck.h"
#include "games/dictation/texts.h"

namespace games::dictation {

// "87%" in English, "87 %" in Spanish.
QString percentText(Language language, int percent);
// The text with its compared characters coloured, as rich text for a label.
QString markedHtml(const QString& text, const std::vector<Mark>& marks, bool missingShown);

// The letters of the language taught, by its English name, that a keyboard of another language may lack; none for
// English.
QStringList specialLetters(const QString& taughtLanguage);

ActivityInfo activity();

}
