#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// The exchange file that hands a study set from the main program to an activity program: fifteen header lines
// about the program, the student and the subject, then four quoted lines per phrase. Both sides use this unit so
// that what one writes is exactly what the other reads.
namespace platform::exchange {

struct Phrase
{
    QString tPhrase, tTranslation, tTranslation2, soundFile;
    QString phraseId; // phraseIdentity() of its source; empty when unknown
};

// What names a phrase wherever it was reached (an installed or virtual subject, the random phrases): the installed
// subject file's name without its folder, '#', its phrase number there: "animales_del_zoo.ale#3". The file name may
// hold a '#' itself, so the number is after the last one.
QString phraseIdentity(const QString& subjectFile, int phraseNo);
// The file name and the number of an identity; false when it is not one.
bool splitPhraseIdentity(const QString& identity, QString* subjectFile, int* phraseNo);

struct Contents
{
    qint64 processId = 0;
    QString programCode, productName, interfaceLanguage, taughtLanguage, student, subject, usersDatabase;
    QVector<Phrase> phrases;
};

inline constexpr int HeaderLines = 15;
inline constexpr int LinesPerPhrase = 4;
// A study set never holds more; a file that promises more is not one the main program wrote.
inline constexpr int MaxPhrases = 10;
// An empty file in the exchange folder: the activity that first tells the learner this run's sounds cannot be
// heard leaves it, so the others started in the same run of the main program stay quiet about it. The main program
// deletes it when it starts and when it closes.
inline constexpr char SoundNoticeMarker[] = "~soundnotice";
// The learner's last recording in an activity that listens, beside the exchange file and named after it
// ("~prl123.txt": "~prl123said.wav"), so that the main program deletes it with the launch's other files.
QString recordingFileOf(const QString& exchangeFile);

// Fifteen header lines, then four quoted lines per phrase; line 8 counts the phrases written, line 10 holds the
// phrases' identities in their order, one TAB between two ("EMPTY" when none is known). A line break inside any
// text becomes a blank, so every text stays on its own line.
QStringList lines(const Contents& c);
// The lines in the locale's 8-bit encoding, each ended by CR LF.
QByteArray bytes(const Contents& c);
// Writes under a temporary name and renames into place, so a reader never sees a half-written file; false with
// the reason on failure.
bool write(const QString& path, const Contents& c, QString* error);

enum class Problem {
    None,
    NoPath, // no file was named
    Missing,
    Unreadable,
    TooLarge,
    Truncated, // a line the header or the phrase count promises is absent
    BadLine, // a line that cannot be what its position says
    ExtraLines, // text after the last phrase
};

struct Reading
{
    Problem problem = Problem::None;
    int line = 0; // the first line at fault, 1-based; 0 when the problem is the file as a whole
    QString detail; // what was expected there, in English, for logs and tests
    Contents contents; // the header fields before the line at fault; no phrases unless the whole file was read

    bool ok() const { return problem == Problem::None; }
};

// Takes CR LF or LF line ends and blank lines after the last one; each quoted line loses exactly its first and
// its last character. A line 10 that does not give one field per phrase gives no identities, never a fault: the
// line was reserved before it held them.
Reading parse(const QByteArray& bytes);
Reading read(const QString& path);

}
