#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/database.h"
#include "platform/lessons/ankipackage.h"
#include "platform/lessons/lessonexport.h"
#include "platform/lessons/lessonimport.h"
#include "platform/lessons/subjectfile.h"
#include "platform/wave.h"

using namespace lessons;

class TestLessonExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void languagesOfEveryProduct_data();
    void languagesOfEveryProduct();
    void subjectsRoundTripThroughAnAnkiPackage();
    void unreadableSubjectsAreNamed();
    void readDeckNamesAnUnknownFile();
};

void TestLessonExport::languagesOfEveryProduct_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("prlale") << "prlale" << QStringList { "de", "es", "en" };
    QTest::newRow("prlspa") << "prlspa" << QStringList { "es", "en", "" };
    QTest::newRow("prleng") << "prleng" << QStringList { "en", "es", "" };
    QTest::newRow("prlita") << "prlita" << QStringList { "it", "en", "es" };
}

void TestLessonExport::languagesOfEveryProduct()
{
    QFETCH(QString, code);
    QFETCH(QStringList, expected);
    const LessonLanguages l = languagesOf(*findProduct(code));
    QCOMPARE((QStringList { l.taught, l.learner, l.learner2 }), expected);
}

void TestLessonExport::subjectsRoundTripThroughAnAnkiPackage()
{
    QTemporaryDir dir;
    const QByteArray sound = platform::makeWave(QByteArray(4410, '\x10'), 22050);
    const QList<Phrase> phrases { { 0, "Der Hund", "El perro", "The dog", {}, sound },
        { 0, "Die Katze", "El gato", "", {}, sound } };
    const QString subject = dir.filePath(QStringLiteral("haus_tiere.ale"));
    QVERIFY(writeSubject(phrases, QStringLiteral("prlale"), subject).ok());

    Outcome outcome;
    const QList<Lesson> lessons = readLessons({ subject }, &outcome);
    QVERIFY(outcome.ok());
    QCOMPARE(lessons.size(), 1);
    QCOMPARE(lessons[0].title, QStringLiteral("Haus Tiere"));
    QCOMPARE(lessons[0].phrases.size(), 2);
    QCOMPARE(lessons[0].phrases[1].translation, QStringLiteral("El gato"));
    QCOMPARE(lessons[0].phrases[0].sound, sound);

    const QString package = dir.filePath(QStringLiteral("out.apkg"));
    QVERIFY(writeAnkiPackage(lessons, QStringLiteral("Deutsch"), languagesOf(*findProduct("prlale")), package).ok());
    const Deck deck = readDeck(package);
    QVERIFY2(deck.outcome.ok(), qPrintable(deck.outcome.errors.join('\n')));
    ImportOptions options { guessMapping(deck, QStringLiteral("prlale")), QStringLiteral("prlale"), false, {} };
    const ImportPlan plan = planImport(deck, options);
    QVERIFY2(plan.outcome.ok(), qPrintable(plan.outcome.errors.join('\n')));
    QCOMPARE(plan.subjects.size(), 1);
    const QList<ImportedPhrase>& back = plan.subjects[0].phrases;
    QCOMPARE(back.size(), 2);
    QCOMPARE((QStringList { back[0].phrase, back[0].translation, back[0].translation2 }),
        (QStringList { "Der Hund", "El perro", "The dog" }));
    QCOMPARE(back[1].origin, ImportedPhrase::Sound::FromDeck);
    QCOMPARE(back[1].sound, sound);
}

void TestLessonExport::unreadableSubjectsAreNamed()
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("notes.ale"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a database at all, just some words that are long enough to be no header");
    file.close();
    Outcome outcome;
    QVERIFY(readLessons({ text, dir.filePath(QStringLiteral("absent.ale")) }, &outcome).isEmpty());
    QCOMPARE(outcome.errors.size(), 2);
    QVERIFY(outcome.errors[0].startsWith(text + QStringLiteral(": not a subject file")));
    QVERIFY(outcome.errors[1].contains(QStringLiteral("absent.ale: no such subject file")));
}

void TestLessonExport::readDeckNamesAnUnknownFile()
{
    const Deck deck = readDeck(QStringLiteral("/lessons/vokabeln.xlsx"));
    QCOMPARE(deck.outcome.errors.size(), 1);
    QVERIFY(deck.outcome.errors[0].startsWith(QStringLiteral("/lessons/vokabeln.xlsx: not a lesson file")));
}

QTEST_GUILESS_MAIN(TestLessonExport)
#include "tst_lessonexport.moc"
