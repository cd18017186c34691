#pragma once

#include <exception>

#include <QString>
#include <QVector>

#include "platform/database.h"

// Subject files, installed and virtual: the SQL texts sent to them, their rows, and a phrase's sound.
// Every function opens the file for its one operation and closes it before returning; failures arrive as
// exceptions for the caller's own handler.

// The phrase reads of an installed subject take the texts only: a sound may run to megabytes, and a listing of the
// phrases has no use for it. Sounds are read one at a time, by writePhraseSound.
inline const QString PhraseColumns = QStringLiteral("pkPhraseNo, tPhrase, tTranslation, tTranslation2");
inline const platform::Query AllPhrasesSql {
    QStringLiteral("SELECT ") + PhraseColumns + QStringLiteral(" FROM tblPhrases"), {}
};
inline const platform::Query ParentsSql { QStringLiteral("SELECT * FROM tblParents"), {} };
inline const platform::Query PropertiesSql { QStringLiteral("SELECT * FROM tblProperties"), {} };

// The random pick, and one phrase of an installed subject by its key.
platform::Query randomPhraseSql(int k);
platform::Query phraseByKeySql(int n);
// The phrases of one virtual subject.
platform::Query virtualPhrasesSql(int parent);

// A subject file comes from outside the program. Its reads and writes touch at most a few thousand rows, so a
// statement that runs longer than this many SQLite steps (about a second) meets a view or trigger that never ends.
constexpr int SubjectFileStepLimit = 50'000'000;

// Opens the subject file at path (with Connection_String), every statement held to SubjectFileStepLimit.
platform::Database openSubjectFile(const QString& path);

// Runs one SELECT on the subject file at path.
platform::Recordset readSubjectFile(const QString& path, const platform::Query& query);

// Inside a handler of a failed change of the subject file at path: throws the failure again, or, when the file's name
// leaves no room for the journal SQLite writes beside it, a failure that says so (interface text 177). SQLite's own
// words for that ("unable to open database file") would send a user looking for a fault the file does not have.
[[noreturn]] void rethrowChangeFailure(const QString& path);

// Runs change on the subject file at path, opened for it, and gives back what change gives.
template <typename Change> auto changeSubjectFile(const QString& path, Change&& change)
{
    const platform::Database db = openSubjectFile(path);
    try {
        return change(db);
    } catch (const platform::DbError&) {
        rethrowChangeFailure(path);
    }
}

struct PhraseRow
{
    int pkPhraseNo = 0;
    QString tPhrase;
    QString tTranslation;
    QString tTranslation2;
};

struct VirtualPhraseRow
{
    int pkPhraseNo = 0;
    int fkParent = 0;
    QString tfilename;
    int nPhraseNo = 0;
    QString tPhrase;
    QString tTranslation;
    QString tTranslation2;
};

struct VirtualSubjectRow
{
    QString nParent; // as decimal text, the way tags carry it
    QString name;
};

// A phrase is short; a longer text (a damaged file's) is read as its first this many characters.
constexpr int MaxPhraseTextLength = 1000;

// A row of an installed subject's tblPhrases; NULL texts read as "".
PhraseRow phraseAt(const platform::Recordset& rs, int row);
// A row of a virtual subject file's tblPhrases.
VirtualPhraseRow virtualPhraseAt(const platform::Recordset& rs, int row);
// The virtual subjects of a virtual subject file, in the order the file returns them. tblParents is read by
// position only: its second column has no fixed name.
QVector<VirtualSubjectRow> readVirtualSubjects(const QString& path);

// Writes the sound (bsound) of phrase pkPhraseNo of the installed subject at path into target from its first byte,
// straight from the database's buffer, so the sound is held in memory once. The file is not emptied first, so an
// older, longer file keeps its tail; the WAVE header carries the true length. Throws before target is touched when
// the phrase is not there or has no sound (NULL bsound): a phrase without its recording cannot be studied or heard.
void writePhraseSound(const QString& path, int pkPhraseNo, const QString& target);

// The description an error report shows for a caught failure: a file's failure in the interface language.
QString failureDescription(const std::exception& e);
