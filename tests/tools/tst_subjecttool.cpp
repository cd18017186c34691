#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include "platform/database.h"
#include "platform/lessons/databasefile.h"
#include "platform/lessons/subjectfile.h"
#include "platform/wave.h"

using platform::Database;
using namespace lessons;

namespace {

QByteArray tone(int samples)
{
    QByteArray pcm;
    for (int i = 0; i < samples; ++i) {
        const qint16 v = static_cast<qint16>((i % 50) * 600 - 15000);
        pcm.append(reinterpret_cast<const char*>(&v), 2);
    }
    return platform::makeWave(pcm, 22050);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lines of a text file for n good phrases, each with a sound of its own named s<i>.wav.
QByteArray goodLines(const QString& dir, int n)
{
    QByteArray text;
    for (int i = 1; i <= n; ++i) {
        writeFile(QDir(dir).filePath(QStringLiteral("s%1.wav").arg(i)), tone(400 + i));
        text += QStringLiteral("Satz %1\tfrase %1\tphrase %1\ts%1.wav\n").arg(i).toUtf8();
    }
    return text;
}

// A subject made directly with SQL, for the check's failures that the build never writes.
void makeRawSubject(const QString& path, const QString& script, const QList<QPair<qint64, QByteArray>>& rows)
{
    Database db = Database::openFile(path, true);
    db.executeScript(script);
    for (const auto& [key, sound] : rows)
        db.execute(QStringLiteral("INSERT INTO tblPhrases VALUES (?, 'p', 't', 't2', ?)"), { key, sound });
}

// A WAVE file of exactly bytes bytes whose samples are a hole in the file: no time or disk spent on its silence.
void writeSparseWave(const QString& path, qint64 bytes)
{
    QByteArray header = platform::makeWave({}, 22050);
    qToLittleEndian<quint32>(static_cast<quint32>(bytes - 8), header.data() + 4);
    qToLittleEndian<quint32>(static_cast<quint32>(bytes - header.size()), header.data() + 40);
    writeFile(path, header);
    QVERIFY(QFile::resize(path, bytes));
}

const QString schema = QStringLiteral("CREATE TABLE tblPhrases (pkPhraseNo INTEGER PRIMARY KEY, tPhrase TEXT, "
                                      "tTranslation TEXT, tTranslation2 TEXT, bsound BLOB);");
const QString properties = QStringLiteral("CREATE TABLE tblProperties (tProgramCode TEXT);"
                                          "INSERT INTO tblProperties VALUES ('prlale');");

bool anyContains(const QStringList& messages, const QString& needle)
{
    for (const QString& m : messages) {
        if (m.contains(needle))
            return true;
    }
    return false;
}

}

class TestSubjectTool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buildRoundTrips();
    void buildReplacesAnExistingSubject();
    void buildRefusesBadInput_data();
    void buildRefusesBadInput();
    void failedWriteLeavesNoFile();
    void checkFindsFaults_data();
    void checkFindsFaults();
    void checkWarnsButPasses();
    void waveProblemSeesTruncation();
    void soundsUpToTheLimitAreTaken();
    void outputNamesLeaveRoomForTheJournal();
    void commandLine();
    void importAndExportCommands();
};

void TestSubjectTool::buildRoundTrips()
{
    QTemporaryDir dir;
    const QByteArray first = tone(1000);
    const QByteArray second = tone(2000);
    writeFile(dir.filePath(QStringLiteral("sounds/eins.wav")), first);
    writeFile(dir.filePath(QStringLiteral("zwei.wav")), second);
    // A file as a Windows editor saves it: byte order mark, CR LF, a comment and a blank line.
    const QByteArray text = "\xEF\xBB\xBF# Tiere\r\n"
                            "Der L\xC3\xB6we schl\xC3\xA4"
                            "ft.\tEl le\xC3\xB3n duerme.\tThe lion is sleeping.\tsounds/eins.wav\r\n"
                            "\r\n"
                            "Gr\xC3\xBC\xC3\x9F Gott!\t\xC2\xA1Hola!\t\tzwei.wav\r\n";
    writeFile(dir.filePath(QStringLiteral("zoo.txt")), text);
    const QString output = dir.filePath(QStringLiteral("out/animals_at_the_zoo.ale"));

    const Outcome outcome = buildSubject(dir.filePath(QStringLiteral("zoo.txt")), QStringLiteral("prlale"), output);
    QVERIFY2(outcome.ok(), qPrintable(outcome.errors.join('\n')));
    QVERIFY(outcome.warnings.isEmpty());

    const Database db = Database::openFile(output);
    const auto rs = db.query(QStringLiteral("SELECT * FROM tblPhrases ORDER BY pkPhraseNo"));
    QCOMPARE(rs.count(), 2);
    QCOMPARE(rs.value(0, QStringLiteral("pkPhraseNo")).toLongLong(), 1);
    QCOMPARE(rs.value(1, QStringLiteral("pkPhraseNo")).toLongLong(), 2);
    QCOMPARE(rs.text(0, QStringLiteral("tPhrase")), QStringLiteral("Der Löwe schläft."));
    QCOMPARE(rs.text(0, QStringLiteral("tTranslation")), QStringLiteral("El león duerme."));
    QCOMPARE(rs.text(0, QStringLiteral("tTranslation2")), QStringLiteral("The lion is sleeping."));
    QCOMPARE(rs.text(1, QStringLiteral("tPhrase")), QStringLiteral("Grüß Gott!"));
    for (int row = 0; row < 2; ++row) {
        for (const char* column : { "tPhrase", "tTranslation", "tTranslation2" })
            QVERIFY2(!rs.isNull(row, QLatin1String(column)), column);
    }
    QCOMPARE(rs.blob(0, QStringLiteral("bsound")), first);
    QCOMPARE(rs.blob(1, QStringLiteral("bsound")), second);
    const auto props = db.query(QStringLiteral("SELECT * FROM tblProperties"));
    QCOMPARE(props.count(), 1);
    QCOMPARE(props.text(0, QStringLiteral("tProgramCode")), QStringLiteral("prlale"));

    // Nothing but the subject is left beside it.
    QCOMPARE(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("animals_at_the_zoo.ale") });
    const CheckReport report = checkSubject(output, QStringLiteral("prlale"));
    QVERIFY2(report.outcome.ok(), qPrintable(report.outcome.errors.join('\n')));
    QVERIFY2(report.outcome.warnings.isEmpty(), qPrintable(report.outcome.warnings.join('\n')));
    QCOMPARE(report.phraseCount, 2);
    QVERIFY(QFileInfo(output).permissions() & QFile::ReadOther);
}

void TestSubjectTool::buildReplacesAnExistingSubject()
{
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("colours.spa"));
    writeFile(dir.filePath(QStringLiteral("ten.txt")), goodLines(dir.path(), 10));
    QVERIFY(buildSubject(dir.filePath(QStringLiteral("ten.txt")), QStringLiteral("prlspa"), output).ok());
    writeFile(dir.filePath(QStringLiteral("three.txt")), goodLines(dir.path(), 3));
    QVERIFY(buildSubject(dir.filePath(QStringLiteral("three.txt")), QStringLiteral("prlspa"), output).ok());
    QCOMPARE(checkSubject(output).phraseCount, 3);

    // A product whose extension the name lacks would never list the file: say so.
    const Outcome wrongName = buildSubject(dir.filePath(QStringLiteral("three.txt")), QStringLiteral("prlale"), output);
    QVERIFY(wrongName.ok());
    QVERIFY(anyContains(wrongName.warnings, QStringLiteral(".ale")));
}

void TestSubjectTool::buildRefusesBadInput_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("where"); // file:line the error must name
    QTest::addColumn<QString>("why");

    QTest::newRow("missing sound") << QByteArray(
        "Hallo\thola\thello\ts1.wav\nTsch\xC3\xBCss\tadi\xC3\xB3s\tbye\tgone.wav\n")
                                   << "prlale"
                                   << "text.txt:2:"
                                   << "not found";
    QTest::newRow("not a WAVE") << QByteArray("Hallo\thola\thello\tnoise.wav\n") << "prlale"
                                << "text.txt:1:"
                                << "not a RIFF/WAVE";
    QTest::newRow("truncated WAVE") << QByteArray("# one\nHallo\thola\thello\tcut.wav\n") << "prlale"
                                    << "text.txt:2:"
                                    << "truncated";
    QByteArray eleven = "# eleven phrases\n";
    for (int i = 1; i <= 11; ++i)
        eleven += "Satz\tfrase\tphrase\ts1.wav\n";
    QTest::newRow("eleven phrases") << eleven << "prlale"
                                    << "text.txt:12:"
                                    << "at most 10";
    QTest::newRow("three fields") << QByteArray("Hallo\thola\thello\ts1.wav\n\nTsch\xC3\xBCss\tadi\xC3\xB3s\ts1.wav\n")
                                  << "prlale"
                                  << "text.txt:3:"
                                  << "3 tab-separated";
    QTest::newRow("five fields") << QByteArray("Hallo\thola\thello\ts1.wav\textra\n") << "prlale"
                                 << "text.txt:1:"
                                 << "5 tab-separated";
    QTest::newRow("star") << QByteArray("Hallo*\thola\thello\ts1.wav\n") << "prlale"
                          << "text.txt:1:"
                          << "\"*\"";
    QTest::newRow("empty phrase") << QByteArray(" \thola\thello\ts1.wav\n") << "prlale"
                                  << "text.txt:1:"
                                  << "phrase is empty";
    QTest::newRow("no sound named") << QByteArray("Hallo\thola\thello\t\n") << "prlale"
                                    << "text.txt:1:"
                                    << "no sound file";
    QTest::newRow("not UTF-8") << QByteArray("Hallo\thola\thello\ts1.wav\nK\xE4se\tqueso\tcheese\ts1.wav\n") << "prlale"
                               << "text.txt:2:"
                               << "not UTF-8";
    QTest::newRow("only comments") << QByteArray("# nothing yet\n\n") << "prlale"
                                   << "text.txt:"
                                   << "no phrase";
    QTest::newRow("unknown product") << QByteArray("Hallo\thola\thello\ts1.wav\n") << "prlxyz"
                                     << "out.ale:"
                                     << "unknown program code";
}

void TestSubjectTool::buildRefusesBadInput()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, code);
    QFETCH(QString, where);
    QFETCH(QString, why);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("s1.wav")), tone(500));
    writeFile(dir.filePath(QStringLiteral("noise.wav")), "this is not a sound at all, just text");
    writeFile(dir.filePath(QStringLiteral("cut.wav")), tone(5000).left(2000));
    writeFile(dir.filePath(QStringLiteral("text.txt")), text);
    const QString output = dir.filePath(QStringLiteral("out/out.ale"));
    // A subject already in place must survive a refused rebuild untouched.
    const QString kept = dir.filePath(QStringLiteral("kept.ale"));
    writeFile(kept, "previous subject");

    for (const QString& target : { output, kept }) {
        const Outcome outcome = buildSubject(dir.filePath(QStringLiteral("text.txt")), code, target);
        QVERIFY(!outcome.ok());
        // Refusals that come before the text is read name the output file instead.
        const QString needle = where == QLatin1String("out.ale:") ? QFileInfo(target).fileName() + u':' : where;
        QVERIFY2(anyContains(outcome.errors, needle), qPrintable(outcome.errors.join('\n')));
        QVERIFY2(anyContains(outcome.errors, why), qPrintable(outcome.errors.join('\n')));
    }
    QVERIFY(!QFileInfo::exists(output));
    QCOMPARE(readFile(kept), QByteArray("previous subject"));
    QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    QCOMPARE(left, (QStringList { "cut.wav", "kept.ale", "noise.wav", "s1.wav", "text.txt" }));
}

void TestSubjectTool::failedWriteLeavesNoFile()
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("existing.ger"));
    writeFile(existing, "old subject");
    const auto failing = [](const Database& db) {
        db.executeScript(installedSubjectSchema());
        db.execute(QStringLiteral("INSERT INTO tblPhrases (pkPhraseNo) VALUES (1)"));
        db.execute(QStringLiteral("INSERT INTO tblPhrases (pkPhraseNo) VALUES (1)")); // the key again: fails
    };
    for (const QString& target : { existing, dir.filePath(QStringLiteral("new.ger")) }) {
        const Outcome outcome = writeDatabaseFile(target, failing);
        QVERIFY(!outcome.ok());
        QVERIFY2(outcome.errors.first().startsWith(target + u':'), qPrintable(outcome.errors.first()));
    }
    QCOMPARE(readFile(existing), QByteArray("old subject"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("existing.ger") });

    // A missing template is refused before anything is written.
    QVERIFY(!writeDatabaseFile(
        dir.filePath(QStringLiteral("copy.vger")), [](const Database&) {}, dir.filePath(QStringLiteral("no.tpl")))
                 .ok());
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("copy.vger"))));
}

void TestSubjectTool::checkFindsFaults_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QList<qint64>>("keys");
    QTest::addColumn<QString>("why");

    QTest::newRow("gap") << schema + properties << QList<qint64> { 1, 2, 4 } << "missing 3";
    QTest::newRow("not from 1") << schema + properties << QList<qint64> { 2, 3 } << "missing 1; out of place 3";
    QTest::newRow("eleven") << schema + properties << QList<qint64> { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 }
                            << "11 phrases";
    QTest::newRow("no phrases") << schema + properties << QList<qint64> {} << "no phrases";
    QTest::newRow("no tblProperties") << schema << QList<qint64> { 1 } << "no table tblProperties";
    QTest::newRow("empty tblProperties") << schema + "CREATE TABLE tblProperties (tProgramCode TEXT);"
                                         << QList<qint64> { 1 } << "tblProperties has no row";
    QTest::newRow("no tblPhrases") << properties << QList<qint64> {} << "no table tblPhrases";
    QTest::newRow("no sound column")
        << "CREATE TABLE tblPhrases (pkPhraseNo INTEGER PRIMARY KEY, tPhrase TEXT, tTranslation TEXT, "
           "tTranslation2 TEXT);"
            + properties
        << QList<qint64> {} << "no column bsound";
}

void TestSubjectTool::checkFindsFaults()
{
    QFETCH(QString, script);
    QFETCH(QList<qint64>, keys);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("faulty.ale"));
    QList<QPair<qint64, QByteArray>> rows;
    for (qint64 key : keys)
        rows << qMakePair(key, tone(300));
    makeRawSubject(path, script, script.contains("bsound") ? rows : QList<QPair<qint64, QByteArray>> {});

    const CheckReport report = checkSubject(path, QStringLiteral("prlale"));
    QVERIFY(!report.outcome.ok());
    QVERIFY2(anyContains(report.outcome.errors, why), qPrintable(report.outcome.errors.join('\n')));
    QVERIFY(report.outcome.errors.first().startsWith(path + ": "));
}

void TestSubjectTool::checkWarnsButPasses()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.ale"));
    makeRawSubject(path, schema + properties, { { 1, tone(300) }, { 2, "RIFF----WAVEjunk" }, { 3, QByteArray() } });
    CheckReport report = checkSubject(path);
    QVERIFY(anyContains(report.outcome.errors, QStringLiteral("phrase 2: the sound is not a RIFF/WAVE")));
    QVERIFY(anyContains(report.outcome.errors, QStringLiteral("phrase 3 has no sound")));

    // NULL texts and another product's code still work in the program: warnings, not errors.
    const QString other = dir.filePath(QStringLiteral("other.ale"));
    {
        Database db = Database::openFile(other, true);
        db.executeScript(schema
            + "CREATE TABLE tblProperties (tProgramCode TEXT);"
              "INSERT INTO tblProperties VALUES ('prlspa');");
        db.execute(QStringLiteral("INSERT INTO tblPhrases VALUES (1, 'Hola', NULL, NULL, ?)"), { tone(300) });
    }
    report = checkSubject(other, QStringLiteral("prlale"));
    QVERIFY2(report.outcome.ok(), qPrintable(report.outcome.errors.join('\n')));
    QCOMPARE(report.programCode, QStringLiteral("prlspa"));
    QVERIFY(anyContains(report.outcome.warnings, QStringLiteral("made for prlspa, not prlale")));
    QVERIFY(anyContains(report.outcome.warnings, QStringLiteral("phrase 1: tTranslation is NULL")));
    QVERIFY(checkSubject(other).outcome.warnings.size() == report.outcome.warnings.size() - 1);

    const QString garbage = dir.filePath(QStringLiteral("garbage.ale"));
    writeFile(garbage, QByteArray(3000, 'x'));
    QVERIFY(anyContains(checkSubject(garbage).outcome.errors, QStringLiteral("not a readable subject database")));
    QVERIFY(anyContains(
        checkSubject(dir.filePath(QStringLiteral("absent.ale"))).outcome.errors, QStringLiteral("no such file")));
}

void TestSubjectTool::waveProblemSeesTruncation()
{
    const QByteArray wave = tone(1000);
    QVERIFY(waveProblem(wave).isEmpty());
    QVERIFY(waveProblem(wave.left(wave.size() - 1)).contains(QStringLiteral("truncated")));
    QVERIFY(!waveProblem(QByteArray("RIFF")).isEmpty());
    QByteArray aiff = wave;
    aiff.replace(8, 4, "AIFF");
    QVERIFY(!waveProblem(aiff).isEmpty());
}

void TestSubjectTool::soundsUpToTheLimitAreTaken()
{
    QTemporaryDir dir;
    writeSparseWave(dir.filePath(QStringLiteral("limit.wav")), MaxSoundBytes);
    writeSparseWave(dir.filePath(QStringLiteral("over.wav")), MaxSoundBytes + 1);
    writeFile(dir.filePath(QStringLiteral("limit.txt")), "Hallo\thola\thello\tlimit.wav\n");
    writeFile(dir.filePath(QStringLiteral("over.txt")), "# big\nHallo\thola\thello\tover.wav\n");
    const QString limit = dir.filePath(QStringLiteral("limit.ale"));
    QVERIFY(buildSubject(dir.filePath(QStringLiteral("limit.txt")), QStringLiteral("prlale"), limit).ok());
    QVERIFY(checkSubject(limit).outcome.ok());

    const Outcome over = buildSubject(
        dir.filePath(QStringLiteral("over.txt")), QStringLiteral("prlale"), dir.filePath(QStringLiteral("over.ale")));
    const QString why = over.errors.join('\n');
    QVERIFY2(why.contains(QStringLiteral("over.txt:2: sound file ") + dir.filePath(QStringLiteral("over.wav")))
            && why.contains(QStringLiteral("at most 20 MB")),
        qPrintable(why));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("over.ale"))));

    // A subject made otherwise is told of it by the check.
    Database::openFile(limit).execute(
        QStringLiteral("UPDATE tblPhrases SET bsound = zeroblob(?)"), { MaxSoundBytes + 1 });
    QVERIFY(anyContains(
        checkSubject(limit).outcome.errors, QStringLiteral("phrase 1: the sound has %1 bytes").arg(MaxSoundBytes + 1)));
}

void TestSubjectTool::outputNamesLeaveRoomForTheJournal()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("t.txt")), goodLines(dir.path(), 1));
    // 243 letters of one byte and ".ale": 247 bytes; one letter of two bytes more is too many.
    const QString fits = dir.filePath(QString(243, u'w') + QStringLiteral(".ale"));
    const QString tooLong = dir.filePath(QString(242, u'w') + QChar(0xE9) + QStringLiteral(".ale"));
    QVERIFY(buildSubject(dir.filePath(QStringLiteral("t.txt")), QStringLiteral("prlale"), fits).ok());
    Database::openFile(fits).execute(QStringLiteral("UPDATE tblPhrases SET tPhrase = 'changed'"));
    const Outcome refused = buildSubject(dir.filePath(QStringLiteral("t.txt")), QStringLiteral("prlale"), tooLong);
    QCOMPARE(refused.errors.size(), 1);
    QVERIFY2(refused.errors[0].startsWith(tooLong + QStringLiteral(": the file name is too long: 248 bytes")),
        qPrintable(refused.errors[0]));
    QVERIFY(!QFileInfo::exists(tooLong));
}

void TestSubjectTool::commandLine()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("t.txt")), goodLines(dir.path(), 2));
    auto run = [](const QStringList& arguments) {
        QProcess tool;
        tool.start(QStringLiteral(SUBJECT_TOOL), arguments);
        tool.waitForFinished(30000);
        return qMakePair(tool.exitCode(), QString::fromLocal8Bit(tool.readAllStandardError()));
    };
    QCOMPARE(run({ "--help" }).first, 0);
    QCOMPARE(run({ "frobnicate" }).first, 2);
    QCOMPARE(run({ "build", "--code", "prlzzz", "t.txt", "x.ale" }).first, 2);
    // The product follows from the extension when no code is given.
    const QString built = dir.filePath(QStringLiteral("weather.ito"));
    QCOMPARE(run({ "build", dir.filePath(QStringLiteral("t.txt")), built }).first, 0);
    QCOMPARE(checkSubject(built).programCode, QStringLiteral("prlito"));
    QCOMPARE(run({ "check", "--code", "prlito", built }).first, 0);

    const auto refused = run({ "build", dir.filePath(QStringLiteral("absent.txt")), dir.filePath("a.ale") });
    QCOMPARE(refused.first, 1);
    QVERIFY(refused.second.contains(QStringLiteral("absent.txt")));
    QCOMPARE(run({ "check", built, dir.filePath(QStringLiteral("t.txt")) }).first, 1);
}

void TestSubjectTool::importAndExportCommands()
{
    QTemporaryDir dir;
    QByteArray lines = "Front\tBack\n";
    for (int i = 1; i <= 12; ++i)
        lines += QStringLiteral("Wort %1\twort %1\n").arg(i).toUtf8();
    writeFile(dir.filePath(QStringLiteral("Vokabeln.tsv")), lines);
    const QString folder = dir.filePath(QStringLiteral("subjects"));
    auto run = [&dir](const QStringList& arguments) {
        QProcess tool;
        tool.setWorkingDirectory(dir.path());
        tool.start(QStringLiteral(SUBJECT_TOOL), arguments);
        tool.waitForFinished(60000);
        return std::tuple(tool.exitCode(), QString::fromLocal8Bit(tool.readAllStandardOutput()),
            QString::fromLocal8Bit(tool.readAllStandardError()));
    };

    const auto [previewed, shown, _]
        = run({ "import", "--preview", "--map", "translation=none", "Vokabeln.tsv", folder });
    QCOMPARE(previewed, 0);
    QVERIFY2(
        shown.contains("1 Front -> phrase\n  2 Back\n") && shown.contains("line 11: Wort 10 |  |"), qPrintable(shown));
    QVERIFY(!QFileInfo::exists(folder));
    QCOMPARE(std::get<0>(run({ "import", "--map", "sound=Audio", "--code", "prlale", "Vokabeln.tsv", folder })), 2);

    const auto [imported, listed, warned]
        = run({ "import", "--no-speech", "--code", "prlale", "Vokabeln.tsv", folder });
    QCOMPARE(imported, 0);
    QVERIFY2(listed.contains("vokabeln_1.ale: 10 phrases") && listed.contains("vokabeln_2.ale: 2 phrases"),
        qPrintable(listed + warned));
    QCOMPARE(checkSubject(folder + QStringLiteral("/vokabeln_2.ale")).phraseCount, 2);

    const auto [exported, out, err] = run({ "export", "--anki", "out.apkg", folder + QStringLiteral("/vokabeln_1.ale"),
        folder + QStringLiteral("/vokabeln_2.ale") });
    QCOMPARE(exported, 0);
    QVERIFY(out.contains(QStringLiteral("out.apkg: 2 subjects")));
    QCOMPARE(std::get<0>(run({ "export", "out.apkg", folder + QStringLiteral("/vokabeln_1.ale") })), 2);
    const auto [refused, nothing, named] = run({ "import", "--code", "prlale", "words.xlsx", folder });
    QCOMPARE(refused, 1);
    QVERIFY(named.contains(QStringLiteral("words.xlsx: not a lesson file")));
}

QTEST_GUILESS_MAIN(TestSubjectTool)
#include "tst_subjecttool.moc"
