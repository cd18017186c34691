#include "brokenfiles.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>
#include <QtGlobal>

#include "platform/database.h"
#include "platform/wave.h"

namespace broken {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(generator.bounded(256));
    return bytes;
}

Damage database(const QString& script)
{
    return [script](const QString& path) {
        QFile::remove(path);
        platform::Database::openFile(path, true).executeScript(script);
    };
}

Damage changed(const QByteArray& goodFile, const QString& script)
{
    return [goodFile, script](const QString& path) {
        writeBytes(path, goodFile);
        platform::Database::openFile(path).executeScript(script);
    };
}

QVector<Variant> anyFile(const QByteArray& goodFile)
{
    return {
        { QStringLiteral("random bytes"), [](const QString& path) { writeBytes(path, randomBytes(4096)); } },
        { QStringLiteral("empty (0 bytes)"), [](const QString& path) { writeBytes(path, {}); } },
        { QStringLiteral("first half of a good file"),
            [goodFile](const QString& path) { writeBytes(path, goodFile.left(goodFile.size() / 2)); } },
        { QStringLiteral("database of other tables"),
            database(QStringLiteral("CREATE TABLE tblOther (nThing INTEGER, tName TEXT);"
                                    "INSERT INTO tblOther VALUES (1, 'x');")) },
        { QStringLiteral("10 MB of text"),
            [](const QString& path) {
                writeBytes(path, QByteArray("Not what was asked for, line after line.\r\n").repeated(240000));
            } },
    };
}

QByteArray truncatedWave(int presentBytes, int promisedBytes)
{
    QByteArray wave = platform::makeWave8(QByteArray(presentBytes, '\x80'), 8000);
    // The sizes of the RIFF chunk and of its data chunk, at their places in the 44-byte header.
    qToLittleEndian<quint32>(quint32(36 + promisedBytes), wave.data() + 4);
    qToLittleEndian<quint32>(quint32(promisedBytes), wave.data() + 40);
    return wave;
}

QStringList FileSnapshot::files(const QStringList& folders)
{
    QStringList paths;
    for (const QString& folder : folders) {
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            paths << it.next();
    }
    return paths;
}

FileSnapshot::FileSnapshot(const QStringList& folders)
    : m_folders(folders)
{
    for (const QString& path : files(folders))
        m_hashes.insert(path, QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha256));
}

QStringList FileSnapshot::added() const
{
    QStringList added;
    for (const QString& path : files(m_folders)) {
        if (!m_hashes.contains(path))
            added << path;
    }
    return added;
}

QStringList FileSnapshot::changed() const
{
    QStringList changed;
    for (auto it = m_hashes.cbegin(); it != m_hashes.cend(); ++it) {
        if (!QFile::exists(it.key())
            || QCryptographicHash::hash(readBytes(it.key()), QCryptographicHash::Sha256) != it.value())
            changed << it.key();
    }
    return changed;
}

void printHeader(const QString& reader) { qInfo().noquote() << QStringLiteral("%1: input | reaction").arg(reader); }

void printReaction(const QString& input, const QString& reaction)
{
    QString oneLine = reaction;
    oneLine.replace(QStringLiteral("\r\n"), QStringLiteral(" / ")).replace(QLatin1Char('\n'), QStringLiteral(" / "));
    qInfo().noquote() << input + QStringLiteral(" | ") + oneLine;
}

}
