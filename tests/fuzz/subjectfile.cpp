#include <QFile>
#include <QTemporaryDir>

#include "platform/wave.h"
#include "subjects/nodetag.h"
#include "subjects/subjectfile.h"
#include "tests/fuzz/fuzzbodies.h"

using platform::Recordset;

namespace {
// One private folder for the whole run; every input is written to the same files in it.
QString inFolder(const QString& name)
{
    static const QTemporaryDir folder;
    fuzzRequire(folder.isValid(), "a temporary folder can be made");
    return folder.filePath(name);
}

void writeInput(const QString& path, const QByteArray& bytes)
{
    // SQLite's side files of an earlier input would otherwise be read back with this one.
    for (const char* side : { "-journal", "-wal", "-shm" })
        QFile::remove(path + QLatin1String(side));
    QFile file(path);
    fuzzRequire(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
        "the input can be written");
}

// A subject file's faults arrive as exceptions that the program catches around each read, for the error report.
template <typename Read> void allowingFaults(Read read)
{
    try {
        read();
    } catch (const std::exception& e) {
        failureDescription(e);
    }
}

// What a study set and the listening do with a phrase's sound: write it out and read its header as the player.
void readSound(const QString& path, int key, const QString& sound)
{
    QFile::remove(sound);
    writePhraseSound(path, key, sound);
    // As stored: a text or a number read into a QVariant would come back in other bytes.
    const platform::Query stored { QStringLiteral("SELECT CAST(bsound AS BLOB) FROM tblPhrases WHERE pkPhraseNo = ?"),
        { key } };
    const QByteArray bytes = readSubjectFile(path, stored).value(0, 0).toByteArray();
    QFile file(sound);
    fuzzRequire(file.open(QIODevice::ReadOnly) && file.readAll() == bytes, "the sound is written as it is stored");
    platform::readWaveFile(sound);
}

// The reads of an installed subject: its check, its phrases for the tree, the random pick, each phrase by its key.
void readInstalled(const QString& path, const QString& sound)
{
    allowingFaults([&] { readSubjectFile(path, PropertiesSql).text(0, QStringLiteral("tProgramCode")); });
    allowingFaults([&] {
        const Recordset rs = readSubjectFile(path, AllPhrasesSql);
        allowingFaults([&] { phraseAt(readSubjectFile(path, randomPhraseSql(rs.count())), 0); });
        for (int i = 0; i < rs.count(); ++i) {
            const PhraseRow phrase = phraseAt(rs, i);
            Phrase_Tag(path, phrase);
            allowingFaults([&] { phraseAt(readSubjectFile(path, phraseByKeySql(phrase.pkPhraseNo)), 0); });
            allowingFaults([&] { readSound(path, phrase.pkPhraseNo, sound); });
        }
    });
}

// The reads of a virtual subject file: its subjects for the tree, then the phrases of each.
void readVirtual(const QString& path)
{
    allowingFaults([&] {
        for (const VirtualSubjectRow& subject : readVirtualSubjects(path)) {
            allowingFaults([&] {
                const Recordset rs = readSubjectFile(path, virtualPhrasesSql(NodeTag({ subject.nParent }).number(0)));
                for (int i = 0; i < rs.count(); ++i)
                    Phrase_Tag(virtualPhraseAt(rs, i));
            });
        }
    });
}
}

int fuzzSubjectFile(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const QString installed = inFolder(QStringLiteral("subject.ale"));
    writeInput(installed, bytes);
    readInstalled(installed, inFolder(QStringLiteral("sound.wav")));
    const QString virtualFile = inFolder(QStringLiteral("subjects.vale"));
    writeInput(virtualFile, bytes);
    readVirtual(virtualFile);
    return 0;
}
