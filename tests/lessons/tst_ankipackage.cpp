#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <zstd.h>

#include "ankipackage.pb.h"
#include "platform/database.h"
#include "platform/lessons/ankipackage.h"
#include "platform/lessons/ziparchive.h"
#include "tests/support/privatetemp.h"

using namespace lessons;

namespace {

using Entries = QList<QPair<QString, QByteArray>>;

// A collection of the older schema: the note types and decks as JSON in col. Notes are (id, note type, fields, deck).
struct Note
{
    qint64 id;
    qint64 type;
    QString fields;
    qint64 deck;
};

const QString Models = QStringLiteral(R"({"7": {"name": "Basic", "flds": [{"name": "Back", "ord": 1},
    {"name": "Front", "ord": 0}]}, "8": {"name": "Cloze", "flds": [{"name": "Text", "ord": 0}]}})");
const QString Decks = QStringLiteral(R"({"1": {"name": "Default"}, "20": {"name": "Spanish::Food"}})");

QByteArray collection(const QList<Note>& notes, bool newerSchema = false)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("c.db"));
    {
        const auto db = platform::Database::openFile(path, true);
        db.executeScript(
            QStringLiteral("CREATE TABLE col (id integer primary key, models text, decks text);"
                           "CREATE TABLE notes (id integer primary key, mid integer, flds text);"
                           "CREATE TABLE cards (id integer primary key, nid integer, did integer, ord integer);"));
        if (newerSchema) {
            db.executeScript(QStringLiteral(
                "CREATE TABLE notetypes (id integer primary key, name text); INSERT INTO notetypes VALUES (7, 'Basic');"
                "CREATE TABLE fields (ntid integer, ord integer, name text);"
                "INSERT INTO fields VALUES (7, 1, 'Back'), (7, 0, 'Front');"
                "CREATE TABLE decks (id integer primary key, name text);"
                "INSERT INTO decks VALUES (20, 'Spanish' || char(31) || 'Food');"
                "INSERT INTO col VALUES (1, '', '');"));
        } else {
            db.execute(QStringLiteral("INSERT INTO col VALUES (1, ?, ?)"), { Models, Decks });
        }
        for (const Note& note : notes) {
            db.execute(QStringLiteral("INSERT INTO notes VALUES (?, ?, ?)"), { note.id, note.type, note.fields });
            db.execute(QStringLiteral("INSERT INTO cards VALUES (?, ?, ?, 0)"), { note.id, note.id, note.deck });
        }
    }
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

const QList<Note> TwoNotes { { 101, 7, QStringLiteral("uno\x1Fone [sound:uno.wav]"), 20 },
    { 102, 7, QStringLiteral("dos\x1Ftwo"), 20 } };

// zstd frames as Anki's streaming writer makes them: fed in pieces, so the frame does not declare its size.
QByteArray zstd(const QByteArray& bytes)
{
    std::unique_ptr<ZSTD_CCtx, decltype(&ZSTD_freeCCtx)> context(ZSTD_createCCtx(), ZSTD_freeCCtx);
    QByteArray out(static_cast<qsizetype>(ZSTD_compressBound(bytes.size()) + 64), Qt::Uninitialized);
    ZSTD_outBuffer output { out.data(), static_cast<size_t>(out.size()), 0 };
    for (qsizetype at = 0; at < bytes.size(); at += 1000) {
        ZSTD_inBuffer input { bytes.constData() + at, static_cast<size_t>(qMin<qsizetype>(1000, bytes.size() - at)),
            0 };
        ZSTD_compressStream2(context.get(), &output, &input, ZSTD_e_continue);
    }
    ZSTD_inBuffer none { nullptr, 0, 0 };
    while (ZSTD_compressStream2(context.get(), &output, &none, ZSTD_e_end) != 0) { }
    out.truncate(static_cast<qsizetype>(output.pos));
    return out;
}

template <typename Message> QByteArray encoded(const Message& message)
{
    const std::string bytes = message.SerializeAsString();
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

Entries newerPackage(const QByteArray& sound)
{
    anki::PackageMetadata meta;
    meta.set_version(anki::PackageMetadata::VERSION_LATEST);
    anki::MediaEntries media;
    auto* entry = media.add_entries();
    entry->set_name("uno.wav");
    entry->set_legacy_zip_filename(5);
    return { { QStringLiteral("meta"), encoded(meta) }, { QStringLiteral("media"), zstd(encoded(media)) },
        { QStringLiteral("collection.anki21b"), zstd(collection(TwoNotes, true)) },
        { QStringLiteral("collection.anki2"), QByteArrayLiteral("an older program's placeholder") },
        { QStringLiteral("5"), zstd(sound) } };
}

QByteArray sha1Hex(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

// Two lessons as the program hands them over: markup characters in the texts, a phrase without a sound, and one
// sound used by two phrases of different lessons.
const QByteArray Wav1 = QByteArrayLiteral("RIFF\x24\0\0\0WAVEfmt ").repeated(300);
const QByteArray Wav2 = QByteArrayLiteral("RIFF\x30\0\0\0WAVEdata").repeated(200);
const QList<Lesson> TwoLessons {
    { QStringLiteral("Animals: At The Zoo!"),
        { { QStringLiteral("der Hund"), QStringLiteral("el perro"), QStringLiteral("the dog"), Wav1 },
            { QStringLiteral("Katze & Maus"), QStringLiteral("<gato> y ratón"), {}, Wav2 },
            { QStringLiteral("ohne Ton"), QStringLiteral("sin sonido"), {}, {} } } },
    { QStringLiteral("Zu Hause"), { { QStringLiteral("das Haus"), QStringLiteral("la casa"), {}, Wav1 } } }
};

// The texts as the package holds them, HTML; then the sound each note's Sound field names.
const QStringList WrittenTexts { "der Hund|el perro|the dog", "Katze &amp; Maus|&lt;gato&gt; y ratón|",
    "ohne Ton|sin sonido|", "das Haus|la casa|" };
const QList<QByteArray> WrittenSounds { Wav1, Wav2, {}, Wav1 };

QString soundIn(const QString& field)
{
    static const QRegularExpression tag(QStringLiteral(R"(^\[sound:([A-Za-z0-9_.-]+\.wav)\]$)"));
    return tag.match(field).captured(1);
}

QStringList texts(const QList<DeckNote>& notes)
{
    QStringList result;
    for (const DeckNote& note : notes) {
        result << note.lesson + QLatin1Char('|') + note.fields.join(QLatin1Char('|'));
    }
    return result;
}

}

class TestAnkiPackage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString& name, const Entries& entries)
    {
        const QString path = m_dir.filePath(name);
        QString problem;
        if (!writeZip(path, entries, &problem)) {
            qFatal("%s", qPrintable(problem));
        }
        return path;
    }

private Q_SLOTS:
    void refusesWhatIsNoPackage_data()
    {
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<AnkiLimits>("limits");
        QTest::addColumn<QString>("message");
        const Entries twoNotes { { QStringLiteral("collection.anki2"), collection(TwoNotes) } };
        QTest::newRow("no collection") << Entries { { QStringLiteral("media"), "{}" } } << AnkiLimits()
                                       << "not an Anki package: it holds no collection";
        QTest::newRow("not SQLite") << Entries { { QStringLiteral("collection.anki2"), "not a database" } }
                                    << AnkiLimits() << "its collection.anki2 is not an SQLite database";
        QTest::newRow("no notes") << Entries { { QStringLiteral("collection.anki2"), collection({}) } } << AnkiLimits()
                                  << "holds no notes that can be read";
        QTest::newRow("too many notes") << twoNotes << AnkiLimits { 1 }
                                        << "holds 2 notes, more than the 1 that can be imported at once";
        QTest::newRow("collection too large")
            << twoNotes << AnkiLimits { 10, 4096 } << "entry \"collection.anki2\" unpacks to";
        QTest::newRow("newer collection too large")
            << newerPackage({}) << AnkiLimits { 10, 4096 } << "unpacks to more than the 4096 bytes allowed";
        QTest::newRow("newer collection not zstd") << Entries { { QStringLiteral("meta"), QByteArray::fromHex("0803") },
            { QStringLiteral("collection.anki21b"), collection(TwoNotes) } }
                                                   << AnkiLimits() << "collection.anki21b not zstd data";
    }

    void refusesWhatIsNoPackage()
    {
        QFETCH(Entries, entries);
        QFETCH(AnkiLimits, limits);
        QFETCH(QString, message);
        const QString path = write(QStringLiteral("bad.apkg"), entries);
        const Deck deck = readAnkiPackage(path, limits);
        QCOMPARE(deck.outcome.errors.size(), 1);
        QVERIFY2(deck.outcome.errors[0].startsWith(path + QLatin1String(": ")), qPrintable(deck.outcome.errors[0]));
        QVERIFY2(deck.outcome.errors[0].contains(message), qPrintable(deck.outcome.errors[0]));
        QVERIFY(deck.notes.isEmpty());
    }

    void refusesAFileThatIsNoZip()
    {
        const QString path = m_dir.filePath(QStringLiteral("text.apkg"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("front;back\n");
        file.close();
        const Deck deck = readAnkiPackage(path);
        QCOMPARE(deck.outcome.errors, QStringList { path + QLatin1String(": not a zip archive") });
        QString problem;
        QCOMPARE(deck.media->read(QStringLiteral("a.wav"), &problem), std::nullopt);
    }

    // An entry's name is only ever a key: one that climbs out of a folder or starts at the root is read like any
    // other, and nothing is written anywhere.
    void entryNamesAreOnlyNames()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("inner/names.zip"));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("inner")));
        QString problem;
        QVERIFY(writeZip(
            path, { { QStringLiteral("../climb"), "up" }, { QStringLiteral("/tmp/root"), "root" } }, &problem));
        const auto zip = ZipArchive::open(path, &problem);
        QVERIFY(zip);
        QCOMPARE(zip->names(), (QStringList { "../climb", "/tmp/root" }));
        QCOMPARE(zip->read(QStringLiteral("../climb"), 100, &problem), QByteArray("up"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList { "inner" });
        QCOMPARE(QDir(folder.filePath(QStringLiteral("inner"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
            QStringList { "names.zip" });
    }

    void readsNotesOfOtherNoteTypesByPositionAndSkipsUnknownOnes()
    {
        const QList<Note> notes { TwoNotes[0], { 103, 8, QStringLiteral("{{c1::tres}}"), 1 },
            { 104, 99, QStringLiteral("lost"), 20 }, TwoNotes[1] };
        const QString path
            = write(QStringLiteral("mixed.apkg"), { { QStringLiteral("collection.anki2"), collection(notes) } });
        const Deck deck = readAnkiPackage(path);
        QVERIFY(deck.outcome.ok());
        QCOMPARE(deck.fieldNames, (QStringList { "Front", "Back" }));
        QCOMPARE(deck.name, QStringLiteral("Food"));
        QCOMPARE(texts(deck.notes),
            (QStringList { "Spanish::Food|uno|one [sound:uno.wav]", "Spanish::Food|dos|two", "Default|{{c1::tres}}" }));
        QCOMPARE(deck.notes[2].where, QStringLiteral("note 103"));
        QCOMPARE(deck.outcome.warnings,
            (QStringList { path + ": note 104: unknown note type 99",
                path + ": 1 notes of the note type \"Cloze\" keep their fields by position under Basic's fields" }));
    }

    void readsTheNewerLayout()
    {
        const QByteArray sound = QByteArrayLiteral("RIFF....WAVE").repeated(500);
        const Deck deck = readAnkiPackage(write(QStringLiteral("newer.apkg"), newerPackage(sound)));
        QVERIFY2(deck.outcome.ok(), qPrintable(deck.outcome.errors.join('\n')));
        QCOMPARE(texts(deck.notes), (QStringList { "Spanish::Food|uno|one [sound:uno.wav]", "Spanish::Food|dos|two" }));
        QCOMPARE(deck.name, QStringLiteral("Food"));
        QString problem;
        QCOMPARE(deck.media->read(QStringLiteral("uno.wav"), &problem), sound);
    }

    // Anki 2.1 writes collection.anki21 and leaves in collection.anki2 a note asking older programs to update.
    void prefersTheAnki21Collection()
    {
        const Deck deck = readAnkiPackage(write(QStringLiteral("anki21.apkg"),
            { { QStringLiteral("collection.anki2"), collection({ { 1, 7, QStringLiteral("Please update\x1F"), 1 } }) },
                { QStringLiteral("collection.anki21"), collection(TwoNotes) } }));
        QCOMPARE(texts(deck.notes), (QStringList { "Spanish::Food|uno|one [sound:uno.wav]", "Spanish::Food|dos|two" }));
    }

    void mediaProblemsNameTheFileAndTheMedium_data()
    {
        QTest::addColumn<Entries>("media");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("not listed") << Entries {} << "uno.wav"
                                    << "the package has no medium named \"uno.wav\"";
        QTest::newRow("listed, not there")
            << Entries { { QStringLiteral("media"), R"({"0": "uno.wav"})" } } << "uno.wav"
            << "medium \"uno.wav\": the package has no entry \"0\"";
        QTest::newRow("too large")
            << Entries { { QStringLiteral("media"), R"({"0": "uno.wav"})" },
                   { QStringLiteral("0"), QByteArray(5000, 'x') } }
            << "uno.wav"
            << "medium \"uno.wav\": entry \"0\" unpacks to 5000 bytes, more than the 4096 allowed";
    }

    void mediaProblemsNameTheFileAndTheMedium()
    {
        QFETCH(Entries, media);
        QFETCH(QString, name);
        QFETCH(QString, message);
        const QString path = write(QStringLiteral("media.apkg"),
            Entries { { QStringLiteral("collection.anki2"), collection(TwoNotes) } } + media);
        const Deck deck = readAnkiPackage(path, AnkiLimits { 10, 1 << 20, 4096 });
        QVERIFY(deck.outcome.ok());
        QString problem;
        QCOMPARE(deck.media->read(name, &problem), std::nullopt);
        QCOMPARE(problem, path + QLatin1String(": ") + message);
    }

    // Packages written by anki-apkg-export, and the same package repacked in the newer layout (make-fixtures.sh).
    void readsPackagesOfAnotherWriter()
    {
        const fixtures::PrivateTempFolder temp;
        const Deck older = readAnkiPackage(QStringLiteral(LESSON_FIXTURES "/anki-export-older.apkg"));
        const Deck newer = readAnkiPackage(QStringLiteral(LESSON_FIXTURES "/anki-export-newer.apkg"));
        for (const Deck* deck : { &older, &newer }) {
            QVERIFY2(deck->outcome.ok() && deck->outcome.warnings.isEmpty(),
                qPrintable((deck->outcome.errors + deck->outcome.warnings).join('\n')));
            QCOMPARE(deck->name, QStringLiteral("Tiere"));
            QCOMPARE(deck->fieldNames, (QStringList { "Front", "Back" }));
            QCOMPARE(deck->notes.size(), 12);
            QCOMPARE(deck->notes[0].fields, (QStringList { "<b>der Hund</b>", "el perro[sound:hund.wav]" }));
            QCOMPARE(deck->notes[4].fields[0], QStringLiteral("Das ist ein {{c1::Hund}}."));
            QCOMPARE(deck->notes[11].lesson, QStringLiteral("Deutsch::Tiere"));
            QVERIFY(deck->notes[3].where.startsWith(QLatin1String("note ")));
        }
        QCOMPARE(texts(newer.notes), texts(older.notes));
        for (const QString name : { "hund.wav", "katze.wav" }) {
            QString problem;
            const auto sound = older.media->read(name, &problem);
            QVERIFY2(sound && sound->startsWith("RIFF"), qPrintable(problem));
            QCOMPARE(newer.media->read(name, &problem), sound);
        }
        QCOMPARE(QDir(temp.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList());
    }
    void readsBackWhatItWrites()
    {
        const QString path = m_dir.filePath(QStringLiteral("written.apkg"));
        const Outcome written = writeAnkiPackage(TwoLessons, QStringLiteral("Alemán"), { "de", "es", "en" }, path);
        QVERIFY2(written.ok(), qPrintable(written.errors.join('\n')));
        const Deck deck = readAnkiPackage(path);
        QVERIFY2(deck.outcome.ok() && deck.outcome.warnings.isEmpty(),
            qPrintable((deck.outcome.errors + deck.outcome.warnings).join('\n')));
        QCOMPARE(deck.fieldNames, (QStringList { "Phrase", "Translation", "Translation 2", "Sound" }));
        QCOMPARE(deck.name, QStringLiteral("Animals: At The Zoo!"));
        QCOMPARE(deck.notes.size(), WrittenTexts.size());
        QSet<QString> names;
        for (int i = 0; i < deck.notes.size(); ++i) {
            const DeckNote& note = deck.notes[i];
            QCOMPARE(note.fields.mid(0, 3).join(QLatin1Char('|')), WrittenTexts[i]);
            QCOMPARE(note.lesson, QStringLiteral("Alemán::") + TwoLessons[i < 3 ? 0 : 1].title);
            const QString name = soundIn(note.fields[3]);
            QCOMPARE(name.isEmpty(), WrittenSounds[i].isEmpty());
            if (!name.isEmpty()) {
                QVERIFY2(!names.contains(name), qPrintable(name));
                names.insert(name);
                QString problem;
                QCOMPARE(deck.media->read(name, &problem), WrittenSounds[i]);
            }
        }
    }

    void writingLeavesNothingWhenItFails_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("phrases");
        QTest::newRow("no such folder") << "missing/out.apkg" << true;
        QTest::newRow("a folder in the way") << "in-the-way" << true;
        QTest::newRow("no phrases") << "out.apkg" << false;
    }

    void writingLeavesNothingWhenItFails()
    {
        QFETCH(QString, target);
        QFETCH(bool, phrases);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("in-the-way")));
        const QString path = folder.filePath(target);
        const Outcome outcome
            = writeAnkiPackage(phrases ? TwoLessons : QList<Lesson> { { QStringLiteral("Empty"), {} } },
                QStringLiteral("Alemán"), {}, path);
        QCOMPARE(outcome.errors.size(), 1);
        QVERIFY2(outcome.errors[0].startsWith(path + QLatin1String(": ")), qPrintable(outcome.errors[0]));
        QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
            QStringList { "in-the-way" });
        QVERIFY(QFileInfo(folder.filePath(QStringLiteral("in-the-way"))).isDir());
    }

    // anki-reader, a reader that is not ours, finds the same texts and sounds. Its modules are installed by
    // scripts/test.sh.
    void anotherReaderReadsWhatItWrites()
    {
        const QString scripts = QStringLiteral(LESSON_SCRIPTS "/npm");
        if (!QFileInfo::exists(scripts + QLatin1String("/node_modules/anki-reader"))) {
            QFAIL("the npm modules in tests/lessons/npm are missing: run scripts/test.sh");
        }
        const QString path = m_dir.filePath(QStringLiteral("for-another.apkg"));
        QVERIFY(writeAnkiPackage(TwoLessons, QStringLiteral("Alemán"), { "de", "es", "en" }, path).ok());
        QProcess node;
        node.start(QStringLiteral("node"), { scripts + QLatin1String("/read-apkg.mjs"), path });
        if (!node.waitForStarted()) {
            QFAIL("node cannot be started: run scripts/test.sh");
        }
        QVERIFY(node.waitForFinished(60'000));
        QVERIFY2(node.exitCode() == 0, node.readAllStandardError().constData());
        const QJsonObject read = QJsonDocument::fromJson(node.readAllStandardOutput()).object();

        QMap<QString, QStringList> decks;
        for (const auto deck : read.value(QLatin1String("decks")).toArray()) {
            QStringList& notes = decks[deck[QLatin1String("name")].toString()];
            for (const auto note : deck[QLatin1String("notes")].toArray()) {
                const QJsonObject fields = note.toObject();
                notes << fields[QLatin1String("Phrase")].toString() + '|'
                        + fields[QLatin1String("Translation")].toString() + '|'
                        + fields[QLatin1String("Translation 2")].toString() + '|'
                        + read[QLatin1String("media")][soundIn(fields[QLatin1String("Sound")].toString())].toString();
            }
        }
        QStringList expected;
        for (int i = 0; i < WrittenTexts.size(); ++i) {
            expected << WrittenTexts[i] + '|' + (WrittenSounds[i].isEmpty() ? QString() : sha1Hex(WrittenSounds[i]));
        }
        QCOMPARE(
            decks.keys(), (QStringList { "Alemán", "Alemán::Animals: At The Zoo!", "Alemán::Zu Hause", "Default" }));
        QCOMPARE(decks["Alemán::Animals: At The Zoo!"], expected.mid(0, 3));
        QCOMPARE(decks["Alemán::Zu Hause"], expected.mid(3));
        QCOMPARE(read.value(QLatin1String("media")).toObject().size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestAnkiPackage)
#include "tst_ankipackage.moc"
