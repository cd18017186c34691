#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/lessons/lessonimport.h"
#include "platform/lessons/subjectfile.h"
#include "platform/wave.h"

using namespace lessons;

namespace {

class Media : public MediaSource
{
public:
    QHash<QString, QByteArray> files;
    std::optional<QByteArray> read(const QString& name, QString* problem) const override
    {
        if (files.contains(name))
            return files.value(name);
        *problem = QStringLiteral("no such medium");
        return std::nullopt;
    }
};

QByteArray wave(int samples = 2205)
{
    QByteArray pcm(samples * 2, '\0');
    for (int i = 0; i < samples; ++i)
        reinterpret_cast<qint16*>(pcm.data())[i] = qint16((i % 40) * 800 - 16000);
    return platform::makeWave(pcm, 22050);
}

// A deck of Front/Back/Sound notes; notes are (front, lesson, sound field).
Deck deckOf(const QList<std::tuple<QString, QString, QString>>& notes, QHash<QString, QByteArray> media = {})
{
    Deck deck;
    deck.path = QStringLiteral("/decks/tiere.apkg");
    deck.name = QStringLiteral("Zoo");
    deck.fieldNames = QStringList { "Front", "Back", "Sound" };
    for (const auto& [front, lesson, sound] : notes)
        deck.notes << DeckNote { { front, QStringLiteral("<b>back</b> of ") + front, sound }, lesson,
            QStringLiteral("note %1").arg(deck.notes.size() + 1) };
    auto source = std::make_shared<Media>();
    source->files = media;
    deck.media = source;
    return deck;
}

ImportOptions options(bool speak)
{
    ImportOptions o;
    o.mapping = { 0, 1, -1, 2 };
    o.programCode = QStringLiteral("prlale");
    o.speakMissing = speak;
    return o;
}

bool anyContains(const QStringList& messages, const QStringList& needles)
{
    for (const QString& m : messages) {
        if (std::all_of(needles.begin(), needles.end(), [&](const QString& n) { return m.contains(n); }))
            return true;
    }
    return false;
}

}

class TestLessonImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void guessesTheMapping_data();
    void guessesTheMapping();
    void lessonsBecomeSubjectsOfTen();
    void notesAreCleanedOrLeftOut();
    void previewDecodesNothing();
    void missingSoundsAreSpokenOrWarned_data();
    void missingSoundsAreSpokenOrWarned();
    void cancelling();
    void fileNamesAreSafe_data();
    void fileNamesAreSafe();
    void takenNamesAreNumbered();
    void aFailedWriteLeavesNothing();
};

void TestLessonImport::guessesTheMapping_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("soundField"); // the values of the last field
    QTest::addColumn<QList<int>>("expected"); // phrase, translation, translation2, sound

    QTest::newRow("Anki basic") << QStringList { "Front", "Back", "Audio" } << "" << QList<int> { 0, 1, -1, 2 };
    QTest::newRow("our own export") << QStringList { "Sound", "Translation 2", "Translation", "Phrase" } << ""
                                    << QList<int> { 3, 2, 1, 0 };
    QTest::newRow("languages, as KVTML names them") << QStringList { "Spanish", "German", "English", "Spanish sound",
        "German sound" } << "" << QList<int> { 1, 0, 2, 4 };
    QTest::newRow("language codes") << QStringList { "es", "de" } << "" << QList<int> { 1, 0, -1, -1 };
    QTest::newRow("unnamed, sounds found by their values")
        << QStringList { "A", "B", "C", "D" } << "[sound:hund.mp3]" << QList<int> { 0, 1, -1, 3 };
    QTest::newRow("unnamed, no sounds") << QStringList { "A", "B", "C" } << "plain" << QList<int> { 0, 1, -1, -1 };
}

void TestLessonImport::guessesTheMapping()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, soundField);
    QFETCH(QList<int>, expected);
    Deck deck;
    deck.fieldNames = fields;
    QStringList values(fields.size() - 1, QStringLiteral("Hund"));
    deck.notes << DeckNote { values << soundField, {}, {} };
    const FieldMapping m = guessMapping(deck, QStringLiteral("prlale"));
    QCOMPARE((QList<int> { m.phrase, m.translation, m.translation2, m.sound }), expected);
}

void TestLessonImport::lessonsBecomeSubjectsOfTen()
{
    // 23 notes of "Tiere" with two of another lesson between them, and one of none: the deck's name.
    QList<std::tuple<QString, QString, QString>> notes;
    for (int i = 1; i <= 23; ++i) {
        notes << std::tuple { QStringLiteral("Tier %1").arg(i), QStringLiteral("Deutsch::Tiere"),
            QStringLiteral("[sound:a.wav]") };
        if (i == 5 || i == 20)
            notes << std::tuple { QStringLiteral("Farbe %1").arg(i), QStringLiteral("Farben"), QString() };
    }
    notes << std::tuple { QStringLiteral("Hallo"), QString(), QString() };
    const ImportPlan plan = planImport(deckOf(notes, { { "a.wav", wave() } }), options(false));
    QVERIFY2(plan.outcome.ok(), qPrintable(plan.outcome.errors.join('\n')));

    QStringList titles, names;
    QList<int> sizes;
    for (const PlannedSubject& s : plan.subjects) {
        titles << s.title;
        names << s.fileName;
        sizes << int(s.phrases.size());
    }
    QCOMPARE(titles, (QStringList { "Tiere 1", "Tiere 2", "Tiere 3", "Farben", "Zoo" }));
    QCOMPARE(names, (QStringList { "tiere_1.ale", "tiere_2.ale", "tiere_3.ale", "farben.ale", "zoo.ale" }));
    QCOMPARE(sizes, (QList<int> { 10, 10, 3, 2, 1 }));
    QCOMPARE(plan.subjects[1].phrases[0].phrase, QStringLiteral("Tier 11"));
    QCOMPARE(plan.subjects[2].phrases[2].phrase, QStringLiteral("Tier 23"));
    QCOMPARE(plan.subjects[0].phrases[0].translation, QStringLiteral("back of Tier 1"));
    QCOMPARE(plan.subjects[0].phrases[0].origin, ImportedPhrase::Sound::FromDeck);
    QVERIFY(waveProblem(plan.subjects[0].phrases[0].sound).isEmpty());
    // The three soundless phrases are told of once, not once each.
    QCOMPARE(plan.outcome.warnings,
        QStringList { "/decks/tiere.apkg: 3 phrase(s) have no sound; the activities that "
                      "play a phrase stay silent on them" });
}

void TestLessonImport::notesAreCleanedOrLeftOut()
{
    const ImportPlan plan
        = planImport(deckOf({ { "<div>&nbsp;</div>", "", "" }, { "2 * 3 = 6", "", "" },
                         { "{{c1::Hund}} <img src=\"x.png\">", "", "" } }),
            options(false));
    QCOMPARE(plan.subjects.size(), 1);
    QCOMPARE(plan.subjects[0].phrases.size(), 2);
    QCOMPARE(plan.subjects[0].phrases[0].phrase, QStringLiteral("2 \u2217 3 = 6"));
    QCOMPARE(plan.subjects[0].phrases[0].translation, QStringLiteral("back of 2 \u2217 3 = 6"));
    QVERIFY(anyContains(plan.outcome.warnings, { "note 1: the phrase is empty" }));
    QVERIFY(anyContains(plan.outcome.warnings, { "note 2: \"2 * 3 = 6\" contains \"*\"" }));
    QCOMPARE(plan.subjects[0].phrases[1].phrase, QStringLiteral("Hund"));
    QVERIFY(anyContains(plan.outcome.warnings, { "note 3: field", "cloze markup kept its answer only" }));

    const ImportPlan none = planImport(deckOf({ { "", "", "" } }), options(false));
    QVERIFY(anyContains(none.outcome.errors, { "no note has a phrase" }));
}

void TestLessonImport::previewDecodesNothing()
{
    const Deck deck = deckOf(
        { { "", "", "" }, { "<i>Hund</i>", "", "[sound:hund.mp3]" }, { "Katze", "", "" }, { "Maus", "", "" } });
    const QList<ImportedPhrase> preview = previewPhrases(deck, options(true).mapping, 2);
    QCOMPARE(preview.size(), 2);
    QCOMPARE(preview[0].phrase, QStringLiteral("Hund"));
    QCOMPARE(preview[0].where, QStringLiteral("note 2"));
    // The medium is missing: the preview does not look, the import will.
    QCOMPARE(preview[0].origin, ImportedPhrase::Sound::FromDeck);
    QVERIFY(preview[0].sound.isEmpty());
    QCOMPARE(preview[1].origin, ImportedPhrase::Sound::Spoken);
}

void TestLessonImport::missingSoundsAreSpokenOrWarned_data()
{
    QTest::addColumn<QString>("soundField");
    QTest::addColumn<bool>("speak");
    QTest::addColumn<QString>("warning");
    QTest::newRow("none, spoken") << "" << true << "";
    QTest::newRow("none, silent") << "" << false << "";
    QTest::newRow("missing") << "[sound:absent.mp3]" << false << "note 1: sound absent.mp3: no such medium";
    QTest::newRow("not audio, then spoken") << "[sound:page.mp3]" << true << "note 1: sound page.mp3: not a sound";
}

void TestLessonImport::missingSoundsAreSpokenOrWarned()
{
    QFETCH(QString, soundField);
    QFETCH(bool, speak);
    QFETCH(QString, warning);
    const Deck deck = deckOf({ { "Guten Tag", "", soundField } }, { { "page.mp3", "<html>404</html>" } });
    const ImportPlan plan = planImport(deck, options(speak));
    QVERIFY(plan.outcome.ok());
    const ImportedPhrase& p = plan.subjects.value(0).phrases.value(0);
    if (!warning.isEmpty())
        QVERIFY2(anyContains(plan.outcome.warnings, { warning }), qPrintable(plan.outcome.warnings.join('\n')));
    if (speak) {
        QCOMPARE(p.origin, ImportedPhrase::Sound::Spoken);
        QVERIFY(waveProblem(p.sound).isEmpty());
        QVERIFY(platform::readWaveInfo(p.sound).durationMs > 300);
    } else {
        QCOMPARE(p.origin, ImportedPhrase::Sound::None);
        QVERIFY(p.sound.isEmpty());
        QVERIFY(anyContains(plan.outcome.warnings, { "1 phrase(s) have no sound" }));
    }
}

void TestLessonImport::cancelling()
{
    int calls = 0;
    const ImportPlan plan = planImport(
        deckOf({ { "a", "", "" }, { "b", "", "" }, { "c", "", "" } }), options(false), [&calls](int done, int total) {
            ++calls;
            return !(done == 1 && total == 3);
        });
    QCOMPARE(calls, 2);
    QVERIFY(anyContains(plan.outcome.errors, { "cancelled" }));
    QVERIFY(plan.subjects.isEmpty());
}

void TestLessonImport::fileNamesAreSafe_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("expected");
    QTest::newRow("words") << "Animals at the  Zoo"
                           << ""
                           << "animals_at_the_zoo.ale";
    QTest::newRow("climbing out") << "../../etc/passwd"
                                  << ""
                                  << "etc_passwd.ale";
    QTest::newRow("separators") << "a/b\\c:d"
                                << "_2"
                                << "a_b_c_d_2.ale";
    QTest::newRow("control characters") << "Tiere\x01\n\t"
                                        << ""
                                        << "tiere.ale";
    QTest::newRow("options") << "--rm -rf"
                             << ""
                             << "rm_rf.ale";
    QTest::newRow("nothing left") << ".. / .."
                                  << ""
                                  << "lesson.ale";
    QTest::newRow("accents composed") << QString::fromUtf8("Gr\u00fc\u00dfe aus Ko\u0308ln") << ""
                                      << QString::fromUtf8("gr\u00fc\u00dfe_aus_k\u00f6ln.ale");
    QTest::newRow("other scripts") << QString::fromUtf8("Москва-сити 2") << ""
                                   << QString::fromUtf8("москва-сити_2.ale");
    // 300 letters of two bytes: cut to whole letters within the limit, room kept for the number.
    QTest::newRow("very long") << QString(300, QChar(0xE4)) << "_12"
                               << QString(120, QChar(0xE4)) + QStringLiteral("_12.ale");
}

void TestLessonImport::fileNamesAreSafe()
{
    QFETCH(QString, title);
    QFETCH(QString, suffix);
    QFETCH(QString, expected);
    const QString name = subjectFileName(title, QStringLiteral("ale"), suffix);
    QCOMPARE(name, expected);
    QVERIFY(name.toUtf8().size() <= 247);
}

void TestLessonImport::takenNamesAreNumbered()
{
    QTemporaryDir dir;
    QFile existing(dir.filePath(QStringLiteral("tiere.ale")));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    ImportPlan plan = planImport(
        deckOf({ { "Hund", "Tiere", "" }, { "Rot", "Farben", "" }, { "Katze", "tiere!", "" } }), options(false));
    QCOMPARE(plan.subjects.size(), 3);
    // A hand-filled plan cannot lead out of the folder.
    plan.subjects[1].fileName = QStringLiteral("../../farben.ale");

    QStringList written;
    const Outcome outcome
        = writeImport(plan, dir.path(), { QStringLiteral("Tiere_2.ale"), QStringLiteral("x.ale") }, &written);
    QVERIFY2(outcome.ok(), qPrintable(outcome.errors.join('\n')));
    QCOMPARE(written, (QStringList { "tiere_3.ale", "farben.ale", "tiere_4.ale" }));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        (QStringList { "farben.ale", "tiere.ale", "tiere_3.ale", "tiere_4.ale" }));
    const CheckReport report = checkSubject(dir.filePath(QStringLiteral("tiere_4.ale")), QStringLiteral("prlale"));
    QCOMPARE(report.phraseCount, 1);
    QCOMPARE(report.programCode, QStringLiteral("prlale"));
}

void TestLessonImport::aFailedWriteLeavesNothing()
{
    QTemporaryDir dir;
    QList<std::tuple<QString, QString, QString>> notes;
    for (int i = 0; i < 25; ++i)
        notes << std::tuple { QStringLiteral("Satz %1").arg(i), QStringLiteral("Sätze"), QString() };
    ImportPlan plan = planImport(deckOf(notes), options(false));
    QCOMPARE(plan.subjects.size(), 3);
    // The third subject is one that writeSubject refuses, after two were written.
    plan.subjects[2].phrases += plan.subjects[0].phrases;
    QStringList written { QStringLiteral("stale") };
    const Outcome outcome = writeImport(plan, dir.path(), {}, &written);
    QVERIFY2(
        anyContains(outcome.errors, { QStringLiteral("s\u00e4tze_3.ale"), QStringLiteral("a subject holds 1 to 10") }),
        qPrintable(outcome.errors.join('\n')));
    QVERIFY(written.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

QTEST_GUILESS_MAIN(TestLessonImport)
#include "tst_lessonimport.moc"
