#include "virtualfiles.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/captions.h"
#include "common/failuretext.h"
#include "common/filelist.h"
#include "common/files.h"
#include "platform/services.h"
#include "platform/wholefile.h"
#include "subjects/subjectfile.h"
#include "subjects/subjectnames.h"
#include "common/subjectfolders.h"

using platform::Database;
using platform::DbError;
using platform::Recordset;

namespace {

[[noreturn]] void fail(const QString& description) { throw std::runtime_error(description.toStdString()); }

bool isReservedDeviceName(const QString& name)
{
    // Windows opens a device, not a file, for these names whatever follows their first dot.
    static const QStringList devices { "CON", "PRN", "AUX", "NUL", "COM1", "COM2", "COM3", "COM4", "COM5", "COM6",
        "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9" };
    return devices.contains(name.section(u'.', 0, 0).trimmed(), Qt::CaseInsensitive);
}

// Why a name cannot become a file of its own in VirtualSubjectsDir, on every system the program runs on, that the
// program can change later; Done for a name that can.
RenameResult fileNameRefusal(const Session& session, const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c == u'.'; }))
        return RenameResult::Blank;
    static const QString refused = QStringLiteral("/\\<>:\"|?*");
    for (const QChar c : name) {
        if (c.unicode() < 32 || c.unicode() == 127 || refused.contains(c))
            return RenameResult::Forbidden;
    }
    if (isReservedDeviceName(name))
        return RenameResult::Blank;
    if (!platform::fitsDatabaseFileName(name + QStringLiteral(".v") + session.SubjectExtension))
        return RenameResult::TooLong;
    return RenameResult::Done;
}

// The path of an existing virtual subject file; a name that would reach outside the folder is refused.
QString virtualFile(const Session& session, const QString& displayName)
{
    if (displayName.contains(u'/') || displayName.contains(QDir::separator()))
        fail(QStringLiteral("'%1' is not the name of a virtual subject file.").arg(displayName));
    return Virtual_File_Path(session, displayName);
}

template <typename Change> auto changeVirtual(const Session& session, const QString& displayName, Change&& change)
{
    return changeSubjectFile(virtualFile(session, displayName), std::forward<Change>(change));
}

platform::Query parentSql(int key) { return { QStringLiteral("SELECT * FROM tblParents where nParent = ?"), { key } }; }

// tblParents is addressed by position: the key first, the name second, whatever the file calls them.
QString nameColumn(const Recordset& parents)
{
    if (parents.columnCount() < 2)
        throw DbError(QStringLiteral("tblParents has no column for the name of a virtual subject."));
    return parents.columns()[1];
}

void requireRow(const Recordset& rs, const QString& missing)
{
    if (rs.isEmpty())
        throw DbError(missing);
}

QString noSubject(const QString& displayName, int key)
{
    return QStringLiteral("'%1' has no virtual subject %2.").arg(displayName).arg(key);
}

VirtualPhraseRow insertPhrase(const Database& db, int key, const QString& sourceFile, int sourcePhraseNo,
    const QString& tPhrase, const QString& tTranslation, const QString& tTranslation2)
{
    // A text bound from a null QString is stored as an empty text, never as Null.
    VirtualPhraseRow row { 0, key, sourceFile, sourcePhraseNo, tPhrase, tTranslation, tTranslation2 };
    row.pkPhraseNo = static_cast<int>(db.insertRow(QStringLiteral("tblPhrases"),
        { QStringLiteral("fkParent"), QStringLiteral("tfilename"), QStringLiteral("nPhraseNo"),
            QStringLiteral("tPhrase"), QStringLiteral("tTranslation"), QStringLiteral("tTranslation2") },
        { row.fkParent, row.tfilename, row.nPhraseNo, row.tPhrase, row.tTranslation, row.tTranslation2 }));
    return row;
}

int addSubject(const Database& db, const QString& subjectName)
{
    const QString column = nameColumn(db.query(ParentsSql));
    return static_cast<int>(db.insertRow(QStringLiteral("tblParents"), { column }, { subjectName }));
}

// The rows of one change reach the disk together instead of one write each. A change that fails part way keeps
// the rows written before the failure (a copy: what arrived stays) or none of them (a deletion or its undo: no
// subject is left half there).
class Transaction
{
public:
    enum class OnFailure { KeepWritten, WriteNothing };
    Transaction(const Database& db, OnFailure onFailure)
        : m_db(db)
        , m_onFailure(onFailure)
    {
        m_db.execute(QStringLiteral("BEGIN"));
    }
    ~Transaction()
    {
        if (m_done)
            return;
        try {
            m_db.execute(m_onFailure == OnFailure::KeepWritten ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
        } catch (const std::exception&) {
            // The failure on its way out is the one to report; SQLite rolls back what it could not finish.
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit()
    {
        m_db.execute(QStringLiteral("COMMIT"));
        m_done = true;
    }

private:
    const Database& m_db;
    OnFailure m_onFailure;
    bool m_done = false;
};

StoredRows storedRows(const Database& db, const QString& table, const QString& keyColumn, const QVariant& key)
{
    const Recordset rs = db.query(
        QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(table, platform::quotedName(keyColumn)), { key });
    StoredRows stored { table, rs.columns(), {} };
    for (int i = 0; i < rs.count(); ++i) {
        QVariantList row;
        for (int c = 0; c < rs.columnCount(); ++c)
            row << rs.value(i, c);
        stored.rows << row;
    }
    return stored;
}

void insertRows(const Database& db, const StoredRows& stored)
{
    QStringList columns;
    QStringList marks;
    for (const QString& column : stored.columns) {
        columns << platform::quotedName(column);
        marks << QStringLiteral("?");
    }
    const QString sql
        = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(stored.table, columns.join(u','), marks.join(u','));
    for (const QVariantList& row : stored.rows)
        db.execute(sql, row);
}

QString defaultName(const QStringList& shownTexts, const std::function<bool(const QString&)>& taken)
{
    const QString base = Caption(123);
    int n = static_cast<int>(std::count_if(shownTexts.begin(), shownTexts.end(),
        [&](const QString& text) { return text.startsWith(base, Qt::CaseSensitive); }));
    QString name = n == 0 ? base : base + u' ' + QString::number(n + 1);
    while (shownTexts.contains(name, Qt::CaseSensitive) || taken(name)) {
        // Never below 2: the base text alone is the first, the base text and a blank and 2 the second.
        n = qMax(n + 1, 2);
        name = base + u' ' + QString::number(n);
    }
    return name;
}

}

bool Same_Phrase(const PhraseIdentity& a, const PhraseIdentity& b)
{
    if (a.tfilename == b.tfilename && a.nPhraseNo == b.nPhraseNo)
        return true;
    // Phrases without a text are told apart by their translations and sounds.
    const QString text = a.tPhrase.simplified();
    return !text.isEmpty() && text.compare(b.tPhrase.simplified(), Qt::CaseInsensitive) == 0;
}

QString Virtual_File_Path(const Session& session, const QString& displayName)
{
    return session.VirtualSubjectsDir + displayName + QStringLiteral(".v") + session.SubjectExtension;
}

QString Default_Virtual_File_Name(const QStringList& shownTexts)
{
    return defaultName(shownTexts, [](const QString&) { return false; });
}

QString Create_Virtual_File(const Session& session, const QStringList& shownTexts)
{
    const QString name = defaultName(
        shownTexts, [&](const QString& candidate) { return QFileInfo::exists(Virtual_File_Path(session, candidate)); });
    const QString target = Virtual_File_Path(session, name);
    const QString templatePath = session.ProgramDir + QStringLiteral("custom.tpl");
    QFile file(templatePath);
    if (!file.copy(target))
        fail(Copy_Failure_Text(file, target));
    // A template in a read-only program folder is often read-only itself; the copy is the student's to fill.
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    // A damaged template would give a folder that takes no subject and no phrase: it is not left for the student.
    try {
        const Database db = openSubjectFile(target);
        nameColumn(db.query(ParentsSql));
        db.query(QStringLiteral("SELECT fkParent, tfilename, nPhraseNo, tPhrase, tTranslation, tTranslation2 FROM "
                                "tblPhrases LIMIT 0"));
    } catch (const std::exception& e) {
        QFile::remove(target);
        fail(QStringLiteral("'%1' is not a virtual subject file: %2").arg(templatePath, failureDescription(e)));
    }
    return name;
}

RenameResult Rename_Virtual_File(const Session& session, const QString& oldName, const QString& newName)
{
    if (newName == oldName)
        return RenameResult::Unchanged;
    if (const RenameResult refusal = fileNameRefusal(session, newName); refusal != RenameResult::Done)
        return refusal;
    const QString target = Virtual_File_Path(session, newName);
    // File_Exists reads [ ] as a pattern, so the exact name is looked at as well.
    if (File_Exists(target) || QFileInfo::exists(target))
        return RenameResult::Exists;
    const QString source = virtualFile(session, oldName);
    // One rename, not a copy and a delete: a program stopped half way must not leave the folder twice.
    QFile file(source);
    if (!file.rename(target))
        fail(Failure_Text(file, true));
    return RenameResult::Done;
}

std::optional<QByteArray> Delete_Virtual_File(const Session& session, const QString& displayName)
{
    const QString path = virtualFile(session, displayName);
    if (!QFileInfo::exists(path))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(Failure_Text(file, false));
    const QByteArray contents = file.readAll();
    file.close();
    if (platform::services().shell->moveToTrash(path))
        return contents;
    if (!QFile::remove(path) && QFileInfo::exists(path))
        fail(Failure_Text(platform::FileFailure::Unwritable, path, QStringLiteral("cannot delete")));
    return contents;
}

void Restore_Virtual_File(const Session& session, const QString& displayName, const QByteArray& contents)
{
    const QString path = virtualFile(session, displayName);
    if (QFileInfo::exists(path))
        fail(QStringLiteral("'%1' exists already.").arg(path));
    QString error;
    if (!platform::writeWholeFile(path, contents, &error))
        fail(Failure_Text(platform::FileFailure::Unwritable, path, error));
}

int Add_Virtual_Subject(const Session& session, const QString& displayName, const QString& subjectName)
{
    return changeVirtual(session, displayName, [&](const Database& db) { return addSubject(db, subjectName); });
}

int Rename_Virtual_Subject(const Session& session, const QString& displayName, int key, const QString& newName)
{
    return changeVirtual(session, displayName, [&](const Database& db) {
        const Recordset row = db.query(parentSql(key));
        requireRow(row, noSubject(displayName, key));
        db.execute(
            QStringLiteral("UPDATE tblParents SET %1 = ? WHERE nParent = ?").arg(platform::quotedName(nameColumn(row))),
            { newName, key });
        const Recordset stored = db.query(parentSql(key));
        requireRow(stored, noSubject(displayName, key));
        return stored.value(0, 0).toInt();
    });
}

QVector<StoredRows> Delete_Virtual_Subject(const Session& session, const QString& displayName, int key)
{
    return changeVirtual(session, displayName, [&](const Database& db) {
        // Looked for first, so that a key that names nothing deletes nothing.
        const Recordset parent = db.query(parentSql(key));
        requireRow(parent, noSubject(displayName, key));
        // A subject half deleted would keep phrases that no undo brings back in their place.
        Transaction change(db, Transaction::OnFailure::WriteNothing);
        const QVector<StoredRows> deleted { storedRows(db, QStringLiteral("tblParents"), parent.columns()[0], key),
            storedRows(db, QStringLiteral("tblPhrases"), QStringLiteral("fkParent"), key) };
        const Recordset phrases = db.query(virtualPhrasesSql(key));
        for (int i = 0; i < phrases.count(); ++i)
            db.execute(QStringLiteral("DELETE FROM tblPhrases WHERE pkPhraseNo = ?"),
                { phrases.value(i, QStringLiteral("pkPhraseNo")) });
        db.execute(QStringLiteral("DELETE FROM tblParents WHERE nParent = ?"), { key });
        change.commit();
        return deleted;
    });
}

CopiedSubject Copy_Subject(
    const Session& session, const QString& displayName, const QString& sourceFile, const QString& subjectName)
{
    // The source is read whole first, so that an installed subject that cannot be read adds nothing.
    const Recordset source = readSubjectFile(Installed_Subject_Path(session, sourceFile), AllPhrasesSql);
    QVector<PhraseRow> rows;
    int repeats = 0;
    for (int i = 0; i < source.count(); ++i) {
        const PhraseRow row = phraseAt(source, i);
        const PhraseIdentity identity { sourceFile, row.pkPhraseNo, row.tPhrase };
        if (std::any_of(rows.begin(), rows.end(), [&](const PhraseRow& kept) {
                return Same_Phrase(identity, { sourceFile, kept.pkPhraseNo, kept.tPhrase });
            }))
            ++repeats;
        else
            rows << row;
    }

    return changeVirtual(session, displayName, [&](const Database& db) {
        Transaction written(db, Transaction::OnFailure::KeepWritten);
        CopiedSubject copied;
        copied.repeatsLeftOut = repeats;
        copied.key = addSubject(db, subjectName);
        for (const PhraseRow& p : rows)
            copied.phrases << insertPhrase(
                db, copied.key, sourceFile, p.pkPhraseNo, p.tPhrase, p.tTranslation, p.tTranslation2);
        written.commit();
        return copied;
    });
}

int Copy_Phrase(const Session& session, const QString& displayName, int key, const QString& sourceFile,
    int sourcePhraseNo, const QString& tPhrase, const QString& tTranslation, const QString& tTranslation2)
{
    return changeVirtual(session, displayName, [&](const Database& db) {
        return insertPhrase(db, key, sourceFile, sourcePhraseNo, tPhrase, tTranslation, tTranslation2).pkPhraseNo;
    });
}

StoredRows Delete_Phrase(const Session& session, const QString& displayName, int pkPhraseNo)
{
    return changeVirtual(session, displayName, [&](const Database& db) {
        const StoredRows deleted = storedRows(db, QStringLiteral("tblPhrases"), QStringLiteral("pkPhraseNo"), pkPhraseNo);
        if (deleted.rows.isEmpty())
            throw DbError(QStringLiteral("'%1' has no phrase row %2.").arg(displayName).arg(pkPhraseNo));
        db.execute(QStringLiteral("DELETE FROM tblPhrases WHERE pkPhraseNo = ?"), { pkPhraseNo });
        return deleted;
    });
}

void Restore_Rows(const Session& session, const QString& displayName, const QVector<StoredRows>& deleted)
{
    changeVirtual(session, displayName, [&](const Database& db) {
        Transaction change(db, Transaction::OnFailure::WriteNothing);
        for (const StoredRows& stored : deleted)
            insertRows(db, stored);
        change.commit();
    });
}

QStringList List_Virtual_Files(const Session& session, FileList& File2)
{
    File2.refresh();
    QStringList names;
    for (const QString& fileName : inReadingOrder(File2.names(), session.InterfaceLanguage))
        names << virtualFileDisplayName(fileName);
    return names;
}

QVector<VirtualSubjectRow> List_Virtual_Subjects(const Session& session, const QString& displayName)
{
    return readVirtualSubjects(virtualFile(session, displayName));
}

QVector<VirtualPhraseRow> List_Virtual_Phrases(const Session& session, const QString& displayName, int key)
{
    const Recordset rs = readSubjectFile(virtualFile(session, displayName), virtualPhrasesSql(key));
    QVector<VirtualPhraseRow> rows;
    rows.reserve(rs.count());
    for (int i = 0; i < rs.count(); ++i)
        rows << virtualPhraseAt(rs, i);
    return rows;
}
