#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "platform/lessons/outcome.h"

namespace lessons {

// The program studies at most this many phrases of a subject; the random picker relies on keys 1..n.
constexpr int MaxPhrases = 10;

// The schema of an installed subject file.
QString installedSubjectSchema();

// The largest sound file a phrase may have: 20 MB, some four minutes of CD-quality mono, far more than a spoken
// phrase needs. The program and the games hold a sound whole in memory while they hand it on and play it, so a
// mistaken file of hundreds of megabytes would cost every student's computer as much.
constexpr qint64 MaxSoundBytes = 20 * 1024 * 1024;

// Empty when bytes are a complete RIFF/WAVE file, otherwise why not.
QString waveProblem(const QByteArray& bytes);

// The tree tags of the program separate their fields with "*", so a text containing one would shift the fields.
constexpr QChar TagSeparator = u'*';

struct Phrase
{
    int line = 0; // where it came from in the text file, for messages
    QString phrase;
    QString translation;
    QString translation2;
    QString soundFile; // as written in the text file
    QByteArray sound;
};

struct PhraseList
{
    QList<Phrase> phrases;
    Outcome outcome;
};

// Reads the teacher's text file: UTF-8, one phrase per line with four tab-separated fields (phrase, translation,
// second translation, sound file relative to the text file); blank lines and lines starting with "#" are skipped.
// Every sound is read and checked. Any problem is an error naming the file and line.
PhraseList readPhraseList(const QString& textPath);

// Writes an installed subject for programCode; keys follow the list order from 1.
Outcome writeSubject(const QList<Phrase>& phrases, const QString& programCode, const QString& outputPath);

// readPhraseList, then writeSubject when it found no error; nothing is written otherwise.
Outcome buildSubject(const QString& textPath, const QString& programCode, const QString& outputPath);

struct CheckReport
{
    Outcome outcome;
    int phraseCount = 0;
    QString programCode;
};

// Everything the program relies on in an installed subject. A programCode different from expectedCode (when given)
// is a warning: the file works, but belongs to another product.
CheckReport checkSubject(const QString& path, const QString& expectedCode = {});

}
