#include "subjectfile.h"

#include <stdexcept>

#include <QFile>

#include "common/files.h"

using platform::Database;
using platform::DbError;
using platform::Recordset;

platform::Query randomPhraseSql(int k)
{
    return { QStringLiteral("SELECT * FROM tblPhrases WHERE pkPhraseNO = ?"), { k } };
}

platform::Query phraseByKeySql(int n)
{
    return { QStringLiteral("SELECT * FROM tblPhrases where pkPhraseNo = ?"), { n } };
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

void writePhraseSound(const Recordset& rs, int row, const QString& target)
{
    const QByteArray bytes = rs.blob(row, QStringLiteral("bsound"));
    QFile file(target);
    // ReadWrite, because a write-only open would empty the file first.
    if (!file.open(QIODevice::ReadWrite))
        throw std::runtime_error(QStringLiteral("Cannot write '%1': %2").arg(target, file.errorString()).toStdString());
    // The bytes are buffered: a full disk shows only when they reach the file.
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw std::runtime_error(QStringLiteral("Cannot write '%1': %2").arg(target, file.errorString()).toStdString());
}

void requirePhraseSound(const Recordset& rs, int row)
{
    if (rs.isNull(row, QStringLiteral("bsound")))
        throw DbError(QStringLiteral("Invalid use of Null"));
}

QString failureDescription(const std::exception& e)
{
    if (const auto* db = dynamic_cast<const DbError*>(&e))
        return db->description();
    return QString::fromStdString(e.what());
}
