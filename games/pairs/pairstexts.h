#pragma once

#include "games/common/gamestart.h"

namespace games::pairs {

inline constexpr Text Name { "Pairs", "Parejas" };
inline constexpr Text Prompt { "Find the translation of each phrase.", "Encuentra la traducción de cada frase." };
inline constexpr Text Turns { "Turns: %1", "Intentos: %1" };
inline constexpr Text Found { "Pairs found: %1 of %2", "Parejas encontradas: %1 de %2" };
inline constexpr Text OneTurn { "1 turn", "1 intento" };
inline constexpr Text ManyTurns { "%1 turns", "%1 intentos" };
inline constexpr Text Detail { "to find all %1 pairs", "para encontrar las %1 parejas" };
inline constexpr Text Keys { "Arrows: move   Space or Enter: turn over   Esc: close",
    "Flechas: moverse   Espacio o Intro: dar la vuelta   Esc: cerrar" };

// With a single pair the first turn always finds it.
inline constexpr int MinimumPairs = 2;

// The score as stored and shown: "12 turns".
QString turnsText(Language language, int turns);
// Columns of the board for a number of cards, so that no row is much shorter than the others.
int boardColumns(int cards);

ActivityInfo activity();

}
