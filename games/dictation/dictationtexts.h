#pragma once

#include <vector>

#include "games/common/gamestart.h"
#include "games/dictation/dictationcheck.h"

namespace games::dictation {

inline constexpr Text Name { "Dictation", "Dictado" };
inline constexpr Text PhraseOf { "Phrase %1 of %2", "Frase %1 de %2" };
inline constexpr Text SoFar { "Characters right so far: %1", "Caracteres correctos hasta ahora: %1" };
inline constexpr Text TypeHere { "Type what you hear", "Escribe lo que oyes" };
inline constexpr Text Means { "It means: %1", "Significa: %1" };
inline constexpr Text Check { "Check", "Comprobar" };
inline constexpr Text Next { "Next", "Siguiente" };
inline constexpr Text SeeResult { "See the result", "Ver el resultado" };
inline constexpr Text Correct { "Correct:", "Correcto:" };
inline constexpr Text YouWrote { "You wrote:", "Has escrito:" };
inline constexpr Text PhraseScore { "%1 of the characters right", "%1 de los caracteres correctos" };
inline constexpr Text AllRight { "All right – well done!", "¡Todo correcto, muy bien!" };
inline constexpr Text Keys { "Enter: check, then next   Ctrl+Space: listen again   Esc: close",
    "Intro: comprobar y seguir   Ctrl+Espacio: escuchar otra vez   Esc: cerrar" };
inline constexpr Text Detail { "of the characters right", "de los caracteres correctos" };

// "87%" in English, "87 %" in Spanish.
QString percentText(Language language, int percent);
// The text with its compared characters coloured, as rich text for a label.
QString markedHtml(const QString& text, const std::vector<Mark>& marks, bool missingShown);

ActivityInfo activity();

}
