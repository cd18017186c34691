#pragma once

#include <exception>

#include <QString>
#include <QVector>

#include "platform/database.h"

// Subject files, installed and virtual: the SQL texts sent to them, their rows, and a phrase's sound.
// Every function opens the file for its one operation and closes it before returning; failures arrive as
// exceptions for the caller's own handler.

inline const platform::Query AllPhrasesSql { QStringLiteral("SELECT * FROM tblPhrases"), {} };
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

// Writes the bsound bytes of the row into target from its first byte. The file is not emptied first, so an
// older, longer file keeps its tail; the WAVE header carries the true length.
void writePhraseSound(const platform::Recordset& rs, int row, const QString& target);

// Throws when the row has no sound (NULL bsound): a phrase without its recording cannot be studied or heard.
void requirePhraseSound(const platform::Recordset& rs, int row);

// The description an error report shows for a caught failure.
QString failureDescription(const std::exception& e);
