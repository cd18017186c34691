#pragma once

#include <functional>

#include <QByteArray>
#include <QMap>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>

// Damaged copies of the files the program and the activities read, and a watch on the files a reader must leave
// as they are. Every damage is made the same way each run, so a failure can be repeated.
namespace broken {

// Writes the damaged file at the path it is given.
using Damage = std::function<void(const QString& path)>;

void writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);
// The same bytes on every run for a seed.
QByteArray randomBytes(int size, quint32 seed = 7);

// The damages that fit any file, whatever it should hold: random bytes, 0 bytes, the first half of the good file,
// a database of other tables, 10 MB of text. Named for the table of reactions.
struct Variant
{
    QString name;
    Damage write;
};
QVector<Variant> anyFile(const QByteArray& goodFile);

// A database file of the given schema script and nothing else.
Damage database(const QString& script);
// The good file, then the statements run on it.
Damage changed(const QByteArray& goodFile, const QString& script);

// A RIFF WAVE whose header promises `promisedBytes` of samples but which holds only `presentBytes` of them.
QByteArray truncatedWave(int presentBytes, int promisedBytes);

// The bytes of every file below the folders when made; changed() names those whose bytes differ now or which are
// gone, added() the files made since.
class FileSnapshot
{
public:
    explicit FileSnapshot(const QStringList& folders);
    QStringList changed() const;
    QStringList added() const;

private:
    static QStringList files(const QStringList& folders);
    QStringList m_folders;
    QMap<QString, QByteArray> m_hashes;
};

// One line of the table the log keeps: what the reader was given and what it did.
void printHeader(const QString& reader);
void printReaction(const QString& input, const QString& reaction);

}

Q_DECLARE_METATYPE(broken::Damage)
