#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include "platform/database.h"
#include "platform/wave.h"

using platform::Database;

namespace {

struct Phrase
{
    QString phrase;
    QString translation;
    QString translation2;
    QByteArray sound;
};

QList<Phrase> phrasesOf(const QString& subject)
{
    const auto rs = Database::openFile(subject).query(
        QStringLiteral("SELECT tPhrase, tTranslation, tTranslation2, bsound FROM tblPhrases ORDER BY pkPhraseNo"));
    QList<Phrase> phrases;
    for (int row = 0; row < rs.count(); ++row)
        phrases << Phrase { rs.text(row, QStringLiteral("tPhrase")), rs.text(row, QStringLiteral("tTranslation")),
            rs.text(row, QStringLiteral("tTranslation2")), rs.blob(row, QStringLiteral("bsound")) };
    return phrases;
}

// The bytes of the data chunk: two writers may put other chunks around the same samples.
QByteArray samplesOf(const QByteArray& wave)
{
    for (qsizetype at = 12; at + 8 <= wave.size();) {
        const auto size = qsizetype(qFromLittleEndian<quint32>(wave.constData() + at + 4));
        if (wave.mid(at, 4) == "data")
            return wave.mid(at + 8, size);
        at += 8 + size + (size & 1);
    }
    return {};
}

struct Run
{
    bool started = false;
    int exitCode = -1;
    QByteArray output;
    QString errors;
};

Run run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    Run result;
    result.started = process.waitForStarted();
    if (result.started && process.waitForFinished(30'000))
        result.exitCode = process.exitCode();
    result.output = process.readAllStandardOutput();
    result.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

// "pkg::Animales Del Zoo" is the lesson of animales_del_zoo.ale, whatever the package is called.
bool isLessonOf(const QString& deck, const QString& subject)
{
    return deck.toLower().replace(u' ', u'_').endsWith(QStringLiteral("::") + QFileInfo(subject).completeBaseName());
}

}

// The shipped lessons sent out to Anki with the teachers' tool and read back by another program's reader and by our
// own import: nothing of their texts or sounds may be lost or altered on the way.
class TestLessonRoundTrip : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shippedSubjectsComeBackFromAnAnkiPackage();
};

void TestLessonRoundTrip::shippedSubjectsComeBackFromAnAnkiPackage()
{
    const QString stage = qEnvironmentVariable("PARLANTA_STAGE");
    const QDir shipped(QDir(stage).filePath(QStringLiteral(SHIPPED_SUBJECTS_FOLDER)));
    QVERIFY2(!stage.isEmpty() && shipped.exists(), qPrintable(shipped.path()));
    const QStringList names
        = shipped.entryList({ QStringLiteral("*." SHIPPED_EXTENSION) }, QDir::Files, QDir::Name).mid(0, 3);
    QCOMPARE(names.size(), 3);
    QList<QList<Phrase>> lessons;
    QStringList subjects;
    for (const QString& name : names) {
        subjects << shipped.filePath(name);
        lessons << phrasesOf(subjects.last());
        QVERIFY2(!lessons.last().isEmpty(), qPrintable(name));
    }

    QTemporaryDir dir;
    const QString package = dir.filePath(QStringLiteral("shipped.apkg"));
    const Run exported = run(QStringLiteral(SUBJECT_TOOL), QStringList { "export", "--anki", package } + subjects);
    QVERIFY2(exported.exitCode == 0, qPrintable(exported.errors));

    // Another program's reader sees the texts as HTML and each sound as the very file shipped.
    if (!QFileInfo::exists(QStringLiteral(NPM_READER "/node_modules/anki-reader")))
        QFAIL("the npm modules in tests/lessons/npm are missing: run scripts/test.sh");
    const Run read = run(QStringLiteral("node"), { QStringLiteral(NPM_READER "/read-apkg.mjs"), package });
    if (!read.started)
        QFAIL("node cannot be started: run scripts/test.sh");
    QVERIFY2(read.exitCode == 0, qPrintable(read.errors));
    const QJsonObject json = QJsonDocument::fromJson(read.output).object();
    const QJsonObject media = json[QLatin1String("media")].toObject();
    QMap<QString, QJsonArray> decks; // the lessons' sub-decks by name; their parent and Default hold no notes
    for (const auto deck : json[QLatin1String("decks")].toArray()) {
        if (!deck[QLatin1String("notes")].toArray().isEmpty())
            decks.insert(deck[QLatin1String("name")].toString(), deck[QLatin1String("notes")].toArray());
    }
    QCOMPARE(decks.size(), 3);
    static const QRegularExpression soundTag(QStringLiteral(R"(^\[sound:(.+)\]$)"));
    for (int s = 0; s < 3; ++s) {
        const QString deck = decks.keys()[s];
        QVERIFY2(isLessonOf(deck, names[s]), qPrintable(deck + QLatin1String(" for ") + names[s]));
        const QJsonArray notes = decks[deck];
        QCOMPARE(notes.size(), lessons[s].size());
        for (int p = 0; p < notes.size(); ++p) {
            const Phrase& expected = lessons[s][p];
            const QJsonObject note = notes[p].toObject();
            const QString where = QStringLiteral("%1 phrase %2").arg(names[s]).arg(p + 1);
            QCOMPARE(note[QLatin1String("Phrase")].toString(), expected.phrase.toHtmlEscaped());
            QCOMPARE(note[QLatin1String("Translation")].toString(), expected.translation.toHtmlEscaped());
            QCOMPARE(note[QLatin1String("Translation 2")].toString(), expected.translation2.toHtmlEscaped());
            const QString file = soundTag.match(note[QLatin1String("Sound")].toString()).captured(1);
            QVERIFY2(media.contains(file), qPrintable(where + QLatin1String(": ") + file));
            QVERIFY2(
                media[file].toString() == QCryptographicHash::hash(expected.sound, QCryptographicHash::Sha1).toHex(),
                qPrintable(where));
        }
    }

    // Our own import gives back the texts and every sample of the sounds: they are already at the subjects' rate.
    const QString folder = dir.filePath(QStringLiteral("imported"));
    QVERIFY(QDir().mkpath(folder));
    const Run imported = run(
        QStringLiteral(SUBJECT_TOOL), { "import", "--code", SHIPPED_PROGRAM_CODE, "--no-speech", package, folder });
    QVERIFY2(imported.exitCode == 0, qPrintable(imported.errors));
    const QStringList made
        = QDir(folder).entryList({ QStringLiteral("*." SHIPPED_EXTENSION) }, QDir::Files, QDir::Name);
    QCOMPARE(made.size(), 3);
    for (int s = 0; s < 3; ++s) {
        QCOMPARE(made[s], names[s]);
        const QList<Phrase> back = phrasesOf(QDir(folder).filePath(made[s]));
        QCOMPARE(back.size(), lessons[s].size());
        for (int p = 0; p < back.size(); ++p) {
            const Phrase& expected = lessons[s][p];
            const QString where = QStringLiteral("%1 phrase %2").arg(names[s]).arg(p + 1);
            QCOMPARE(back[p].phrase, expected.phrase);
            QCOMPARE(back[p].translation, expected.translation);
            QCOMPARE(back[p].translation2, expected.translation2);
            const platform::WaveInfo was = platform::readWaveInfo(expected.sound);
            const platform::WaveInfo is = platform::readWaveInfo(back[p].sound);
            QVERIFY2(was.valid && is.valid, qPrintable(where));
            QCOMPARE(QList<int>({ is.channels, is.sampleRate, is.bitsPerSample }),
                QList<int>({ was.channels, was.sampleRate, was.bitsPerSample }));
            const QByteArray samples = samplesOf(expected.sound);
            QVERIFY2(!samples.isEmpty() && samplesOf(back[p].sound) == samples, qPrintable(where));
        }
    }
}

QTEST_GUILESS_MAIN(TestLessonRoundTrip)
#include "tst_lessonroundtrip.moc"
