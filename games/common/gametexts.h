#pragma once

#include "games/common/exchangefile.h"
#include "games/common/language.h"
#include "games/common/scorewriter.h"

// The texts every game shares. Each game keeps its own texts beside its window.
namespace games::texts {

inline constexpr Text PlayAgain { "Play again", "Jugar otra vez" };
inline constexpr Text Close { "Close", "Cerrar" };
inline constexpr Text ListenAgain { "Listen again", "Escuchar otra vez" };
inline constexpr Text RoundComplete { "Round complete", "Ronda terminada" };
inline constexpr Text PerfectRound { "Perfect round!", "¡Ronda perfecta!" };
inline constexpr Text Saving { "Saving your score…", "Guardando tu puntuación…" };
inline constexpr Text Saved { "Your score has been saved.", "Tu puntuación se ha guardado." };
inline constexpr Text NotSaved { "Your score for this round was not saved.",
    "La puntuación de esta ronda no se ha guardado." };
inline constexpr Text SaveAgain { "Try saving again", "Intentar guardar otra vez" };
inline constexpr Text StudentLabel { "Student: %1", "Alumno: %1" };
inline constexpr Text SoundMissing { "The sound file of this phrase (%1) is missing, so you will not hear it.",
    "Falta el archivo de sonido de esta frase (%1), así que no la oirás." };
inline constexpr Text ResultKeys { "Enter: play again   Esc: close", "Intro: jugar otra vez   Esc: cerrar" };
inline constexpr Text KeySaveAgain { "S", "G" };
inline constexpr Text KeyEsc { "Esc", "Esc" };
inline constexpr Text KeyEnter { "Enter", "Intro" };
inline constexpr Text KeySpace { "Space", "Espacio" };
inline constexpr Text ClosesNow { "The activity will close now; no score has been saved.",
    "La actividad se cerrará ahora; no se ha guardado ninguna puntuación." };
inline constexpr Text TooFewPhrases { "%1 needs at least %2 different phrases, but this subject has %3. Please "
                                      "choose a subject with more phrases.",
    "%1 necesita al menos %2 frases distintas, pero este tema tiene %3. Elige un tema con más frases." };

// What the learner is told about an exchange file the game cannot use.
QString explainExchange(const ExchangeResult& result, const QString& path, Language language);
// What the learner is told about a user database that cannot take the score.
QString explainSave(const SaveResult& result, const QString& path, Language language);

}
