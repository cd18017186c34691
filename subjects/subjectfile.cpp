#include "subjectfile.h"

#include <stdexcept>

#include <QFile>
#include <QFileInfo>

#include "common/captions.h"
#include "common/failuretext.h"
#include "common/files.h"

using platform::Database;
using platform::DbError;
using platform::Recordset;

platform::Query randomPhraseSql(int k)
{
    return { QStringLiteral("SELECT ") + PhraseColumns + QStringLiteral(" FROM tblPhrases WHERE pkPhraseNO = ?"),
        { k } };
}

platform::Query phraseByKeySql(int n)
{
    return { QStringLiteral("SELECT ") + PhraseColumns + QStringLiteral(" FROM tblPhrases where pkPhraseNo = ?"),
        { n } };
}

platform::Query virtualPhrasesSql(int parent)
{
    return { QStringLiteral("SELECT * FROM tblPhrases where fkParent = ?"), { parent } };
}

Database openSubjectFile(const QString& path)
{
    Database db = Database::open(Connection_String(path));
    db.limitSteps(SubjectFileStepLimit);
    return db;
}

Recordset readSubjectFile(const QString& path, const platform::Query& query)
{
    return openSubjectFile(path).query(query);
}

void rethrowChangeFailure(const QString& path)
{
    if (!platform::fitsDatabaseFileName(QFileInfo(path).fileName()))
        throw DbError(Caption(177) + QStringLiteral("\r\n\r\n") + path);
    throw;
}

namespace {
int number(const Recordset& rs, int row, const char* column) { return rs.value(row, QLatin1String(column)).toInt(); }

// A text of a damaged file may run to megabytes; the tree, the boxes and the exchange file get its start only.
QString phraseText(const Recordset& rs, int row, const char* column)
{
    const QString text = rs.text(row, QLatin1String(column));
    return text.size() > MaxPhraseTextLength ? text.left(MaxPhraseTextLength) : text;
}
}

PhraseRow phraseAt(const Recordset& rs, int row)
{
    return { number(rs, row, "pkPhraseNo"), phraseText(rs, row, "tPhrase"), phraseText(rs, row, "tTranslation"),
        phraseText(rs, row, "tTranslation2") };
}

VirtualPhraseRow virtualPhraseAt(const Recordset& rs, int row)
{
    return { number(rs, row, "pkPhraseNo"), number(rs, row, "fkParent"), rs.text(row, QStringLiteral("tfilename")),
        number(rs, row, "nPhraseNo"), phraseText(rs, row, "tPhrase"), phraseText(rs, row, "tTranslation"),
        phraseText(rs, row, "tTranslation2") };
}

QVector<VirtualSubjectRow> readVirtualSubjects(const QString& path)
{
    const Recordset rs = readSubjectFile(path, ParentsSql);
    QVector<VirtualSubjectRow> rows;
    rows.reserve(rs.count());
    for (int i = 0; i < rs.count(); ++i)
        rows.push_back({ rs.text(i, 0), rs.text(i, 1) });
    return rows;
}

void writePhraseSound(const QString& path, int pkPhraseNo, const QString& target)
{
    const platform::Query sound { QStringLiteral("SELECT bsound FROM tblPhrases WHERE pkPhraseNo = ?"),
        { pkPhraseNo } };
    const bool found = openSubjectFile(path).useFirstValue(sound, [&target](QByteArrayView bytes) {
        if (bytes.isNull())
            throw DbError(QStringLiteral("Invalid use of Null"));
        QFile file(target);
        // ReadWrite, because a write-only open would empty the file first; unbuffered, so that the bytes are not
        // copied once more and a full disk shows at the write itself.
        if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)
            || file.write(bytes.data(), bytes.size()) != bytes.size())
            throw std::runtime_error(
                Failure_Text(platform::fileFailure(file.error(), true, true), target, file.errorString()).toStdString());
    });
    if (!found)
        throw DbError(QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
}

QString failureDescription(const std::exception& e) { return Failure_Text(e); }
