#pragma once

#include "games/common/gamestart.h"

namespace games::flashcards {

inline constexpr Text Name { "Flashcards", "Tarjetas" };
inline constexpr Text ShowTranslation { "Show translation", "Ver la traducción" };
inline constexpr Text KnewIt { "Knew it", "La sabía" };
inline constexpr Text NotYet { "Not yet", "Todavía no" };
inline constexpr Text KnownOf { "Known: %1 of %2", "Sabidas: %1 de %2" };
inline constexpr Text CardsLeft { "Cards left: %1", "Tarjetas por repasar: %1" };
inline constexpr Text Again { "This card again", "Otra vez esta tarjeta" };
inline constexpr Text Hidden { "What does it mean?", "¿Qué significa?" };
inline constexpr Text Keys { "Space: turn over   1: knew it   2: not yet   R: listen again   Esc: close",
    "Espacio: dar la vuelta   1: la sabía   2: todavía no   R: escuchar otra vez   Esc: cerrar" };
inline constexpr Text Detail { "cards known at first sight", "tarjetas sabidas a la primera" };

ActivityInfo activity();

}
