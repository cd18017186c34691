#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

#include "common/session.h"
#include "subjects/subjectfile.h"

class FileList;

// Virtual subject files: subject databases in VirtualSubjectsDir that the custom subject editor creates,
// renames and deletes, each holding one level of virtual subjects (tblParents) with copies of installed
// phrases (tblPhrases). A file is named by its display name; every operation opens the file for itself,
// writes single rows with bound values (the rows of a whole subject's copy at once) and closes it before
// returning. Failures of the file system or the database arrive as exceptions (std::exception) for the
// editor's own handler.

// The session's VirtualSubjectsDir + name + ".v" + SubjectExtension. Every function below works in the session's
// folders.
QString Virtual_File_Path(const Session& session, const QString& displayName);

// The name a new file gets from the texts of all nodes TreeVirtual shows, at every level: interface text
// 123, or that text, a blank and the first free number.
QString Default_Virtual_File_Name(const QStringList& shownTexts);
// Copies custom.tpl to the path of the default name; the new display name. A file of that name that the tree
// does not show (made meanwhile, or differing only in case) is never replaced: its number is passed over.
QString Create_Virtual_File(const Session& session, const QStringList& shownTexts);

enum class RenameResult {
    Done,
    Unchanged, // the old name confirmed: nothing to do and nothing to say
    Blank, // interface text 124; also a name of only dots or a device name
    Forbidden, // interface text 170: a path separator or a character the file system refuses
    Exists, // interface text 125
    TooLong, // interface text 176: the file name would leave no room for SQLite's journal beside it
};
// Renames the old file to the new name (as typed) in one step; a refusal touches nothing.
RenameResult Rename_Virtual_File(const Session& session, const QString& oldName, const QString& newName);
// Moves the file to the desktop's trash, or deletes it where there is none; its contents as they were, nothing
// when the file was gone already.
std::optional<QByteArray> Delete_Virtual_File(const Session& session, const QString& displayName);
// Writes a deleted file back whole under its name. A file of that name made since is never replaced.
void Restore_Virtual_File(const Session& session, const QString& displayName, const QByteArray& contents);

// Rows as a deletion found them, every column as stored, keys included, so that they can be put back exactly.
struct StoredRows
{
    QString table;
    QStringList columns;
    QVector<QVariantList> rows;
};

// The new virtual subject's key (nParent).
int Add_Virtual_Subject(const Session& session, const QString& displayName, const QString& subjectName);
// The key as stored, read back.
int Rename_Virtual_Subject(const Session& session, const QString& displayName, int key, const QString& newName);
// Its phrase rows first, then the row itself, all or none; what was deleted, the subject's row first.
QVector<StoredRows> Delete_Virtual_Subject(const Session& session, const QString& displayName, int key);

// A phrase as a game tells it from the others: where it was copied from, and what it says.
struct PhraseIdentity
{
    QString tfilename;
    int nPhraseNo = 0;
    QString tPhrase;
};
// The same source, or the same text (not an empty one) whatever its blanks and letter case: a game would ask
// it twice.
bool Same_Phrase(const PhraseIdentity& a, const PhraseIdentity& b);

struct CopiedSubject
{
    int key = 0;
    QVector<VirtualPhraseRow> phrases; // in the order copied, each with its new pkPhraseNo
    int repeatsLeftOut = 0;
};
// A whole installed subject (file name in InstalledSubjectsDir) as a new virtual subject named subjectName,
// each phrase once: a repeat of an earlier phrase of the subject is left out. A failure part way keeps the
// rows already written and throws.
CopiedSubject Copy_Subject(
    const Session& session, const QString& displayName, const QString& sourceFile, const QString& subjectName);
// One phrase into virtual subject key; the new pkPhraseNo.
int Copy_Phrase(const Session& session, const QString& displayName, int key, const QString& sourceFile,
    int sourcePhraseNo, const QString& tPhrase, const QString& tTranslation, const QString& tTranslation2);
StoredRows Delete_Phrase(const Session& session, const QString& displayName, int pkPhraseNo);
// Puts deleted rows back under their own keys, so that each returns to its place in table order; all or none.
void Restore_Rows(const Session& session, const QString& displayName, const QVector<StoredRows>& deleted);

// The display names of the files of File2, re-read first, in the reading order of the session's language.
QStringList List_Virtual_Files(const Session& session, FileList& File2);
// (key, name) of every tblParents row in table order.
QVector<VirtualSubjectRow> List_Virtual_Subjects(const Session& session, const QString& displayName);
QVector<VirtualPhraseRow> List_Virtual_Phrases(const Session& session, const QString& displayName, int key);
