#pragma once

#include "games/common/gamestart.h"

namespace games::choose {

inline constexpr Text Name { "Listen and choose", "Escucha y elige" };
inline constexpr Text Prompt { "Listen, then choose what it means.", "Escucha y elige lo que significa." };
inline constexpr Text PhraseOf { "Phrase %1 of %2", "Frase %1 de %2" };
inline constexpr Text RightSoFar { "Right first time: %1", "Acertadas a la primera: %1" };
inline constexpr Text Right { "Right!", "¡Correcto!" };
inline constexpr Text RightAtLast { "That's the one.", "Esa es." };
inline constexpr Text TryAgain { "Not that one – try again.", "Esa no es; prueba otra vez." };
inline constexpr Text Next { "Next", "Siguiente" };
inline constexpr Text SeeResult { "See the result", "Ver el resultado" };
inline constexpr Text Keys { "1–4: choose   Space: listen again   Enter: next   Esc: close",
    "1–4: elegir   Espacio: escuchar otra vez   Intro: siguiente   Esc: cerrar" };
inline constexpr Text Detail { "phrases right at the first try", "frases acertadas a la primera" };

// A question needs the answer and two others to choose from.
inline constexpr int MinimumPhrases = 3;

ActivityInfo activity();

}
