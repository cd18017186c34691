#pragma once

#include <QString>

namespace lessons {

// espeak-ng, as the build runs it.
struct Speaker
{
    QString program = QStringLiteral("espeak-ng");
    int wordsPerMinute = 130; // three quarters of espeak-ng's pace, so that a beginner hears every word
};

// Speaks text with voice into a WAVE file; empty on success, otherwise why not.
QString speak(const Speaker& speaker, const QString& voice, const QString& text, const QString& wavePath);
// The phrase in IPA as espeak-ng says it, between slashes; empty with *error set when that failed.
QString pronunciation(const Speaker& speaker, const QString& voice, const QString& text, QString* error);

}
