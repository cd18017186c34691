#include "subjectfixtures.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QtEndian>

#include "platform/database.h"

using platform::Database;

namespace fixtures {

QByteArray waveBytes(int sampleBytes, int seed)
{
    QByteArray samples(sampleBytes, '\0');
    for (int i = 0; i < sampleBytes; ++i)
        samples[i] = static_cast<char>((i + seed) & 0xFF);
    auto le32 = [](quint32 v) {
        QByteArray b(4, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    auto le16 = [](quint16 v) {
        QByteArray b(2, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    QByteArray wave = "RIFF" + le32(36 + sampleBytes) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(8000)
        + le32(8000) + le16(1) + le16(8) + "data" + le32(sampleBytes);
    return wave + samples;
}

QVector<PhraseFixture> numberedPhrases(int count)
{
    QVector<PhraseFixture> phrases;
    for (int k = 1; k <= count; ++k)
        phrases.push_back({ k, QStringLiteral("P%1").arg(k), QStringLiteral("Tr%1").arg(k),
            QStringLiteral("Tr2%1").arg(k), waveBytes(300 + k, k) });
    return phrases;
}

void writeInstalledSubject(const QString& path, const QVector<PhraseFixture>& phrases, const QString& programCode)
{
    QFile::remove(path);
    const Database db = Database::openFile(path, true);
    db.executeScript(QStringLiteral("CREATE TABLE tblPhrases (pkPhraseNo INTEGER PRIMARY KEY, tPhrase TEXT, "
                                    "tTranslation TEXT, tTranslation2 TEXT, bsound BLOB);"
                                    "CREATE TABLE tblProperties (tProgramCode TEXT);"));
    for (const PhraseFixture& p : phrases)
        db.execute(QStringLiteral("INSERT INTO tblPhrases VALUES (?,?,?,?,?)"),
            { p.key, p.tPhrase, p.tTranslation, p.tTranslation2, p.sound.isNull() ? QVariant() : QVariant(p.sound) });
    db.execute(QStringLiteral("INSERT INTO tblProperties VALUES (?)"), { programCode });
}

QVector<qint64> writeVirtualSubjectFile(const QString& path, const QVector<VirtualSubjectFixture>& subjects)
{
    QFile::remove(path);
    const Database db = Database::openFile(path, true);
    db.executeScript(QStringLiteral(
        "CREATE TABLE tblParents (nParent INTEGER PRIMARY KEY AUTOINCREMENT, tParentName TEXT);"
        "CREATE TABLE tblPhrases (pkPhraseNo INTEGER PRIMARY KEY AUTOINCREMENT, fkParent INTEGER, tfilename TEXT, "
        "nPhraseNo INTEGER, tPhrase TEXT, tTranslation TEXT, tTranslation2 TEXT);"));
    QVector<qint64> keys;
    for (const VirtualSubjectFixture& s : subjects) {
        const qint64 key = db.insertRow(QStringLiteral("tblParents"), { QStringLiteral("tParentName") }, { s.name });
        keys << key;
        for (const VirtualPhraseFixture& p : s.phrases)
            db.execute(QStringLiteral("INSERT INTO tblPhrases (fkParent, tfilename, nPhraseNo, tPhrase, "
                                      "tTranslation, tTranslation2) VALUES (?,?,?,?,?,?)"),
                { key, p.tfilename, p.nPhraseNo, p.tPhrase, p.tTranslation, p.tTranslation2 });
    }
    return keys;
}

void writeBrokenFile(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(
            QByteArray("This is not a database, only some text that is long enough to have a header. ").repeated(20));
}

QByteArray pngBytes(const QColor& colour, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void writeActivitySettings(const QString& path, const QVector<ImageRowFixture>& rows)
{
    QFile::remove(path);
    const Database db = Database::openFile(path, true);
    db.executeScript(
        QStringLiteral("CREATE TABLE tblImages (nImage INTEGER PRIMARY KEY, bSpanish BLOB, bEnglish BLOB);"));
    for (const ImageRowFixture& r : rows)
        db.execute(
            QStringLiteral("INSERT INTO tblImages (bSpanish, bEnglish) VALUES (?,?)"), { r.bSpanish, r.bEnglish });
}

void writeActivitySettings(const QString& path)
{
    writeActivitySettings(
        path, { { pngBytes(SpanishNormal), pngBytes(EnglishNormal) }, { pngBytes(SpanishLit), pngBytes(EnglishLit) } });
}

void writeActivityProgram(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write("#!/bin/sh\n");
}

}
