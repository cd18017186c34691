#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/lessons/kvtml.h"
#include "platform/wave.h"

using namespace lessons;

namespace {

const QString fixtures = QStringLiteral(LESSON_FIXTURES "/kvtml");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

QByteArray document(const QByteArray& body)
{
    return "<?xml version=\"1.0\"?>\n<kvtml version=\"2.0\">\n" + body + "</kvtml>\n";
}

QStringList listing(const QString& folder)
{
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(folder).relativeFilePath(it.next());
    names.sort();
    return names;
}

}

class TestKvtml : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsLessonsLanguagesAndSounds()
    {
        const Deck deck = readKvtml(fixtures + QStringLiteral("/animals.kvtml"));
        QVERIFY2(deck.outcome.ok(), qPrintable(deck.outcome.errors.join(u'\n')));
        QCOMPARE(deck.outcome.warnings, QStringList());
        QCOMPARE(deck.name, QStringLiteral("Animals & Pets"));
        QCOMPARE(deck.fieldNames,
            QStringList(
                { "German", "English", "es", "German sound", "English sound", "es sound", "German pronunciation" }));
        const QList<DeckNote> expected {
            { { "der Hund", "the dog", "el perro", "sounds/hund.wav", "", "", "hʊnt" }, "Pets", "entry 0" },
            { { "die Katze", "the cat", "el gato", "sounds/die katze.wav", "", "", "" }, "Pets", "entry 1" },
            { { "das Pferd", "the horse", "", "sounds/pferd.wav", "", "", "" }, "Farm", "entry 2" },
            { { "die Kuh", "the cow", "la vaca", "", "", "", "" }, "", "entry 3" },
            { { "die Maus", "the mouse", "el ratón", "", "", "", "" }, "Small pets", "entry 7" },
        };
        QCOMPARE(deck.notes.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QCOMPARE(deck.notes[i].fields, expected[i].fields);
            QCOMPARE(deck.notes[i].lesson, expected[i].lesson);
            QCOMPARE(deck.notes[i].where, expected[i].where);
        }

        QString problem;
        QCOMPARE(deck.media->read(QStringLiteral("sounds/die katze.wav"), &problem),
            readAll(fixtures + QStringLiteral("/sounds/die katze.wav")));
        QVERIFY(!deck.media->read(QStringLiteral("sounds/pferd.wav"), &problem));
        QVERIFY2(problem.endsWith(QStringLiteral("/kvtml/sounds/pferd.wav not found")), qPrintable(problem));
    }

    void takesSoundUrlsForFilesOnly()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sounds")));
        writeFile(dir, QStringLiteral("sounds/die katze.wav"), "RIFF-katze");
        const QString hund = fixtures + QStringLiteral("/sounds/hund.wav");
        const QString path = writeFile(dir, QStringLiteral("urls.kvtml"),
            document("<identifiers><identifier id=\"0\"><name>German</name></identifier></identifiers><entries>\n"
                     "<entry id=\"4\"><translation id=\"0\"><text>Hund</text><sound>"
                + QUrl::fromLocalFile(hund).toEncoded()
                + "</sound></translation></entry>\n"
                  "<entry id=\"5\"><translation id=\"0\"><text>Katze</text>"
                  "<sound>https://example.org/katze.wav</sound></translation><translation id=\"9\"/></entry>\n"
                  "<entry id=\"6\"><translation id=\"0\"><text>Katze</text><sound>sounds/die%20katze.wav</sound>"
                  "</translation><translation id=\"9\"/></entry></entries>\n"));
        const Deck deck = readKvtml(path);
        QVERIFY(deck.outcome.ok());
        QCOMPARE(deck.notes.value(0).fields, QStringList({ "Hund", hund }));
        QCOMPARE(deck.notes.value(1).fields, QStringList({ "Katze", "" }));
        QCOMPARE(deck.notes.value(2).fields, QStringList({ "Katze", "sounds/die katze.wav" }));
        QCOMPARE(deck.outcome.warnings,
            QStringList({ path
                    + ":5: entry 5: the sound https://example.org/katze.wav is not a file on this computer; it is "
                      "left out",
                path
                    + ": entry 5: translation 9 has no language among the identifiers; the translations 9 of all "
                      "entries are left out" }));
        QString problem;
        QCOMPARE(deck.media->read(deck.notes.value(0).fields.value(1), &problem), readAll(hund));
        QCOMPARE(deck.media->read(deck.notes.value(2).fields.value(1), &problem), QByteArray("RIFF-katze"));
    }

    void refusesHarmfulOrBrokenFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error"); // how the one error starts, after the file's path

        QTest::newRow("billion laughs") << readAll(fixtures + QStringLiteral("/bomb.kvtml"))
                                        << ":13: the document type declares entities";
        QTest::newRow("parameter entity") << QByteArray(
            "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [\n<!ENTITY % p \"x\">\n]>\n"
            "<kvtml version=\"2.0\"/>") << ":4: the document type declares entities";
        QTest::newRow("badly nested") << document("<entries>\n<entry id=\"0\">\n</entries>\n")
                                      << ":5: Opening and ending tag mismatch.";
        QTest::newRow("undeclared entity")
            << document("<entries><entry id=\"0\"><translation id=\"0\">\n<text>&lol;</text>") << ":4: Entity 'lol'";
        QTest::newRow("version 1") << QByteArray("<?xml version=\"1.0\"?>\n<kvtml version=\"1.0\"></kvtml>")
                                   << ":2: KVTML version \"1.0\"";
        QTest::newRow("not KVTML") << QByteArray("<html/>") << ":1: not a KVTML file";
        QTest::newRow("lessons nested without end")
            << document("<lessons>" + QByteArray("<container>").repeated(65) + "\n</lessons>")
            << ":3: lessons nested more than 64 deep";
        QTest::newRow("too many entries")
            << document("<entries>\n" + QByteArray("<entry id=\"0\"/>\n").repeated(100'001) + "</entries>")
            << ":100004: more than ";
    }

    void refusesHarmfulOrBrokenFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("bad.kvtml"), bytes);
        const Deck deck = readKvtml(path);
        QCOMPARE(deck.outcome.errors.size(), 1);
        QVERIFY2(deck.outcome.errors[0].startsWith(path + error), qPrintable(deck.outcome.errors[0]));
        QVERIFY(deck.notes.isEmpty());
        QVERIFY(deck.media);
    }

    void writesWhatItReads_data()
    {
        QTest::addColumn<QString>("learner2");
        QTest::addColumn<QStringList>("fieldNames");
        QTest::newRow("three languages") << "es"
                                         << QStringList { "German", "English", "Spanish", "German sound",
                                                "English sound", "Spanish sound" };
        QTest::newRow("pronunciation") << ""
                                       << QStringList { "German", "English", "German sound", "English sound",
                                              "German pronunciation" };
    }

    void writesWhatItReads()
    {
        QFETCH(QString, learner2);
        const QByteArray hund = readAll(fixtures + QStringLiteral("/sounds/hund.wav"));
        const QByteArray tone = platform::makeWave(QByteArray(64, '\x10'), 8000);
        const QList<Lesson> lessons {
            { QStringLiteral("Animals At The Zoo"),
                { { QStringLiteral("der Hund"), QStringLiteral("the dog"), QStringLiteral("el perro"), hund },
                    { QStringLiteral("Straße & <Tür> \"zu\""), QStringLiteral("street"), QString(), {} } } },
            { QStringLiteral("Greetings"),
                { { QStringLiteral("Grüß Gott!"), QStringLiteral("hello"), QStringLiteral("hola"), tone },
                    { QStringLiteral("Привет"), QStringLiteral("hi"), QStringLiteral("hola"), tone } } },
        };
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out/zoo.kvtml"));
        const Outcome written = writeKvtml(
            lessons, { QStringLiteral("de"), QStringLiteral("en"), learner2 }, "Zoo", path, "Zoo Straße_sounds");
        QVERIFY2(written.ok(), qPrintable(written.errors.join(u'\n')));

        const QStringList files = listing(dir.filePath(QStringLiteral("out")));
        QCOMPARE(files.first(), QStringLiteral("Zoo Straße_sounds"));
        QCOMPARE(files.last(), QStringLiteral("zoo.kvtml"));
        QCOMPARE(files.size(), 5); // no temporary file left
        for (const QString& name : files.mid(1, 3))
            QVERIFY2(
                QRegularExpression(QStringLiteral("^Zoo Straße_sounds/[A-Za-z0-9_.-]+\\.wav$")).match(name).hasMatch(),
                qPrintable(name));

        const Deck deck = readKvtml(path);
        QVERIFY2(deck.outcome.ok() && deck.outcome.warnings.isEmpty(), qPrintable(deck.outcome.warnings.join(u'\n')));
        QCOMPARE(deck.name, QStringLiteral("Zoo"));
        QTEST(deck.fieldNames, "fieldNames");
        const qsizetype languages = learner2.isEmpty() ? 2 : 3;
        QCOMPARE(deck.notes.size(), 4);
        int n = 0;
        for (const Lesson& lesson : lessons) {
            for (const LessonPhrase& phrase : lesson.phrases) {
                const DeckNote& note = deck.notes[n++];
                QCOMPARE(note.lesson, lesson.title);
                QCOMPARE(note.fields[0], phrase.phrase);
                QCOMPARE(note.fields[1], phrase.translation);
                QCOMPARE(note.fields[learner2.isEmpty() ? 4 : 2], phrase.translation2);
                const QString sound = note.fields[languages];
                QCOMPARE(sound.isEmpty(), phrase.sound.isEmpty());
                QString problem;
                if (!sound.isEmpty())
                    QCOMPARE(deck.media->read(sound, &problem), phrase.sound);
            }
        }
    }

    void leavesNothingWhenWritingFails_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("soundFolder");
        QTest::addColumn<QByteArray>("sound");
        QTest::addColumn<QString>("error"); // a part of the one error

        const QByteArray wave = platform::makeWave("ab", 8000);
        QTest::newRow("sound folder exists") << "zoo.kvtml"
                                             << "taken" << wave << "/taken already exists";
        QTest::newRow("sound folder climbs out") << "zoo.kvtml"
                                                 << "../sounds" << wave << "\"../sounds\" cannot name";
        QTest::newRow("sound folder hidden") << "zoo.kvtml"
                                             << ".sounds" << wave << "\".sounds\" cannot name";
        QTest::newRow("sound folder not a relative URL") << "zoo.kvtml"
                                                         << "100% sounds" << wave << "cannot name";
        QTest::newRow("file cannot replace a folder") << "folder.kvtml"
                                                      << "sounds" << wave << "cannot replace the file";
        QTest::newRow("sound not WAVE") << "zoo.kvtml"
                                        << "sounds" << QByteArray("ID3\x04 an mp3")
                                        << "the sound of \"Hund\" is not a RIFF/WAVE sound";
    }

    void leavesNothingWhenWritingFails()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, soundFolder);
        QFETCH(QByteArray, sound);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("taken")));
        writeFile(dir, QStringLiteral("taken/mine.wav"), "RIFF-mine");
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder.kvtml/inside")));
        const QStringList before = listing(dir.path());

        const Lesson lesson { QStringLiteral("Zoo"), { { "Hund", "dog", "perro", sound } } };
        const Outcome outcome = writeKvtml({ lesson }, { QStringLiteral("de"), QStringLiteral("en"), QString() }, "Zoo",
            dir.filePath(fileName), soundFolder);
        QCOMPARE(outcome.errors.size(), 1);
        QVERIFY2(outcome.errors[0].startsWith(dir.filePath(fileName)) && outcome.errors[0].contains(error),
            qPrintable(outcome.errors[0]));
        QCOMPARE(listing(dir.path()), before);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("taken/mine.wav"))), QByteArray("RIFF-mine"));
    }
};

QTEST_GUILESS_MAIN(TestKvtml)
#include "tst_kvtml.moc"
