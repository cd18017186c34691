#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/exchangefile.h"

using namespace platform::exchange;

namespace {

Contents sample(int phrases)
{
    Contents c;
    c.processId = 28417;
    c.programCode = QStringLiteral("prlale");
    c.productName = QStringLiteral("Parlanta Alemán");
    c.interfaceLanguage = QStringLiteral("Spanish");
    c.taughtLanguage = QStringLiteral("German");
    c.student = QStringLiteral("José Núñez");
    // A random subject's title starts with a blank; it is the name scores are filed under.
    c.subject = QStringLiteral(" Saludos y despedidas");
    c.usersDatabase = QStringLiteral("/home/josé/.local/share/Parlanta/Users.dat");
    for (int k = 1; k <= phrases; ++k) {
        c.phrases.append({ QStringLiteral("Wie heißt du, Nr. %1?").arg(k),
            QStringLiteral("¿Cómo te llamas? (%1)").arg(k), QStringLiteral("What is your name? (%1)").arg(k),
            QStringLiteral("/tmp/parlanta-0/~prl28417%1.wav").arg(k), QStringLiteral("gruß#%1.ale#%1").arg(k) });
    }
    return c;
}

QByteArray joinLines(const QList<QByteArray>& lines, const char* end = "\r\n")
{
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + end;
    return out;
}

QList<QByteArray> linesOf(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    lines.removeLast();
    for (QByteArray& l : lines)
        l.chop(1);
    return lines;
}

// Every field, one a line, so a failed comparison shows which one differs.
QStringList fields(const Contents& c)
{
    QStringList out { QString::number(c.processId), c.programCode, c.productName, c.interfaceLanguage, c.taughtLanguage,
        c.student, c.subject, c.usersDatabase };
    for (const Phrase& p : c.phrases)
        out << p.tPhrase << p.tTranslation << p.tTranslation2 << p.soundFile << p.phraseId;
    return out;
}

}

class TestExchangeFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tenPhrasesGiveFiftyFiveLines()
    {
        const QStringList l = lines(sample(10));
        QCOMPARE(l.size(), 55);
        QCOMPARE(l.mid(0, 9),
            QStringList({ "28417", "prlale", "Parlanta Alemán", "Spanish", "German", "José Núñez",
                " Saludos y despedidas", "10", "/home/josé/.local/share/Parlanta/Users.dat" }));
        QCOMPARE(l.at(9).split('\t').size(), 10);
        QCOMPARE(l.at(9).split('\t').at(9), QStringLiteral("gruß#10.ale#10"));
        QCOMPARE(l.mid(10, 4), QStringList(4, QStringLiteral("EMPTY")));
        QCOMPARE(l.at(14), QStringLiteral(" 0 "));
        QCOMPARE(l.mid(51),
            QStringList({ "\"Wie heißt du, Nr. 10?\"", "\"¿Cómo te llamas? (10)\"", "\"What is your name? (10)\"",
                "\"/tmp/parlanta-0/~prl2841710.wav\"" }));
    }

    void everyCountGivesFifteenAndFourLinesEach()
    {
        for (int n = 0; n <= MaxPhrases; ++n) {
            Contents c = sample(n);
            // Line breaks inside texts must not add lines.
            for (Phrase& p : c.phrases)
                p.tTranslation2 = QStringLiteral("one\r\ntwo\nthree\rfour");
            const QByteArray text = bytes(c);
            QCOMPARE(text.count("\r\n"), 15 + 4 * n);
            QCOMPARE(text.count('\n'), 15 + 4 * n);
            QCOMPARE(text.count('\r'), 15 + 4 * n);
            QCOMPARE(lines(c).at(7), QString::number(n));
        }
    }

    void bytesAreTheLocaleEncodingWithCrLf()
    {
        const QByteArray text = bytes(sample(1));
        QVERIFY(text.startsWith("28417\r\nprlale\r\nParlanta Alem\xc3\xa1n\r\n"));
        QVERIFY(text.endsWith("\"/tmp/parlanta-0/~prl284171.wav\"\r\n"));
    }

    void whatIsWrittenIsReadBack()
    {
        Contents c = sample(10);
        c.phrases[0].tPhrase = QStringLiteral("Er sagt \"Hallo\"");
        c.phrases[1].tPhrase = QStringLiteral("\"");
        c.phrases[1].tTranslation = QString();
        c.phrases[2].tTranslation2 = QStringLiteral("\"\"quoted twice\"\"");
        c.phrases[3].tTranslation = QStringLiteral("Çà et là, ñandú, Größe");
        const QByteArray text = bytes(c);
        // Quotes inside are not doubled.
        QVERIFY(text.contains("\r\n\"Er sagt \"Hallo\"\"\r\n"));
        const Reading r = parse(text);
        QVERIFY2(r.ok(), qPrintable(r.detail));
        QCOMPARE(fields(r.contents), fields(c));
    }

    void lineBreaksInTextsBecomeBlanksOnBothSides()
    {
        Contents c = sample(2);
        c.student = QStringLiteral("Ana\r\nMaría");
        c.subject = QStringLiteral("Los\nanimales\r");
        c.phrases[0].tPhrase = QStringLiteral("Guten\r\nMorgen");
        c.phrases[1].soundFile = QStringLiteral("/tmp/a\rb.wav");
        const QStringList l = lines(c);
        QCOMPARE(l.at(5), QStringLiteral("Ana María"));
        QCOMPARE(l.at(6), QStringLiteral("Los animales "));
        QCOMPARE(l.at(15), QStringLiteral("\"Guten Morgen\""));
        const Reading r = parse(bytes(c));
        QVERIFY2(r.ok(), qPrintable(r.detail));
        QCOMPARE(r.contents.student, QStringLiteral("Ana María"));
        QCOMPARE(r.contents.subject, QStringLiteral("Los animales "));
        QCOMPARE(r.contents.phrases[0].tPhrase, QStringLiteral("Guten Morgen"));
        QCOMPARE(r.contents.phrases[1].soundFile, QStringLiteral("/tmp/a b.wav"));
    }

    void readsEitherLineEnd()
    {
        const QByteArray crlf = bytes(sample(2));
        QByteArray lf = crlf;
        lf.replace("\r\n", "\n");
        QByteArray noFinalEnd = crlf;
        noFinalEnd.chop(2);
        for (const QByteArray& text : { crlf, lf, noFinalEnd, crlf + "\r\n\r\n" }) {
            const Reading r = parse(text);
            QVERIFY2(r.ok(), qPrintable(r.detail));
            QCOMPARE(fields(r.contents), fields(sample(2)));
        }
    }

    void truncationNamesTheFirstMissingLine()
    {
        const QList<QByteArray> all = linesOf(bytes(sample(10)));
        QCOMPARE(parse({}).problem, Problem::Truncated);
        for (int kept = 1; kept < 55; ++kept) {
            const Reading r = parse(joinLines(all.mid(0, kept)));
            QCOMPARE(r.problem, Problem::Truncated);
            QCOMPARE(r.line, kept + 1);
            QVERIFY(r.contents.phrases.isEmpty());
        }
        // A file cut in the middle of a phrase line loses that line's closing quote.
        const Reading r = parse(joinLines(all.mid(0, 30)) + all[30].left(8));
        QCOMPARE(r.problem, Problem::BadLine);
        QCOMPARE(r.line, 31);
    }

    void malformedLinesAreNamed_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("process id with letters") << 1 << QByteArray("12a");
        QTest::newRow("empty process id") << 1 << QByteArray("");
        QTest::newRow("process id past 64 bits") << 1 << QByteArray("99999999999999999999");
        QTest::newRow("blank program code") << 2 << QByteArray(" ");
        QTest::newRow("no interface language") << 4 << QByteArray("");
        QTest::newRow("blank student") << 6 << QByteArray("   ");
        QTest::newRow("empty subject") << 7 << QByteArray("");
        QTest::newRow("count not a number") << 8 << QByteArray("three");
        QTest::newRow("count over ten") << 8 << QByteArray("11");
        QTest::newRow("negative count") << 8 << QByteArray("-1");
        QTest::newRow("no database") << 9 << QByteArray("");
        QTest::newRow("line 15 not a number") << 15 << QByteArray(" x ");
        QTest::newRow("phrase without quotes") << 16 << QByteArray("Hallo");
        QTest::newRow("translation missing its closing quote") << 21 << QByteArray("\"Hola");
        QTest::newRow("a lone quote") << 19 << QByteArray("\"");
        QTest::newRow("sound path with a blank after the quote") << 23 << QByteArray("\"/tmp/a.wav\" ");
    }
    void malformedLinesAreNamed()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        QList<QByteArray> all = linesOf(bytes(sample(3)));
        all[line - 1] = text;
        const Reading r = parse(joinLines(all));
        QCOMPARE(r.problem, Problem::BadLine);
        QCOMPARE(r.line, line);
        QVERIFY(!r.detail.isEmpty());
        QVERIFY(r.contents.phrases.isEmpty());
    }

    void acceptsWhatTheLayoutAllows()
    {
        QList<QByteArray> all = linesOf(bytes(sample(2)));
        all[14] = "-3";
        all[9] = "anything";
        all[3] = "Klingon";
        const Reading r = parse(joinLines(all));
        QVERIFY2(r.ok(), qPrintable(r.detail));
        QCOMPARE(r.contents.interfaceLanguage, QStringLiteral("Klingon"));

        // No phrases is a well-formed file; the activity decides that it is too few.
        const Reading none = parse(bytes(sample(0)));
        QVERIFY(none.ok());
        QCOMPARE(none.contents.phrases.size(), 0);
    }

    // Line 10 names each phrase; the identity of a phrase not known, or one that would shift the others, is empty.
    void identitiesOnLineTen_data()
    {
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("read");
        QTest::newRow("all") << QStringList({ "zoo.ale#1", "x#y.ale#22" }) << "zoo.ale#1\tx#y.ale#22"
                             << QStringList({ "zoo.ale#1", "x#y.ale#22" });
        QTest::newRow("some") << QStringList({ "", "zoo.ale#4" }) << "\tzoo.ale#4" << QStringList({ "", "zoo.ale#4" });
        QTest::newRow("none") << QStringList({ "", "" }) << "EMPTY" << QStringList({ "", "" });
        QTest::newRow("tab inside") << QStringList({ "a\tb#1", "zoo.ale#4" }) << "\tzoo.ale#4"
                                    << QStringList({ "", "zoo.ale#4" });
    }
    void identitiesOnLineTen()
    {
        QFETCH(QStringList, written);
        QFETCH(QString, line);
        QFETCH(QStringList, read);
        Contents c = sample(2);
        for (int i = 0; i < 2; ++i)
            c.phrases[i].phraseId = written[i];
        QCOMPARE(lines(c).at(9), line);
        const Reading r = parse(bytes(c));
        QVERIFY2(r.ok(), qPrintable(r.detail));
        QCOMPARE(QStringList({ r.contents.phrases[0].phraseId, r.contents.phrases[1].phraseId }), read);
    }

    // Line 10 was reserved before: whatever it holds that is not one field per phrase gives no identities.
    void lineTenThatNamesNoPhrasesIsAccepted()
    {
        for (const QByteArray& line : { QByteArray("EMPTY"), QByteArray("zoo.ale#1"), QByteArray("a#1\tb#2\tc#3") }) {
            QList<QByteArray> all = linesOf(bytes(sample(2)));
            all[9] = line;
            const Reading r = parse(joinLines(all));
            QVERIFY2(r.ok(), qPrintable(r.detail));
            QCOMPARE(r.contents.phrases.size(), 2);
            QVERIFY(r.contents.phrases[0].phraseId.isEmpty() && r.contents.phrases[1].phraseId.isEmpty());
        }
    }

    void identitiesSplitAtTheLastHash_data()
    {
        QTest::addColumn<QString>("identity");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("number");
        QTest::newRow("plain") << phraseIdentity("/subjects/zoo.ale", 3) << "zoo.ale" << 3;
        QTest::newRow("hash in name") << "n#1.ale#12"
                                      << "n#1.ale" << 12;
        QTest::newRow("no hash") << "zoo.ale" << QString() << -1;
        QTest::newRow("no number") << "zoo.ale#" << QString() << -1;
        QTest::newRow("no file") << "#3" << QString() << -1;
        QTest::newRow("not digits") << "zoo.ale#3a" << QString() << -1;
    }
    void identitiesSplitAtTheLastHash()
    {
        QFETCH(QString, identity);
        QFETCH(QString, file);
        QFETCH(int, number);
        QString gotFile;
        int gotNumber = -1;
        QCOMPARE(splitPhraseIdentity(identity, &gotFile, &gotNumber), number >= 0);
        QCOMPARE(gotFile, file);
        QCOMPARE(gotNumber, number);
    }

    void linesBeyondTheCountAreRefused()
    {
        QList<QByteArray> all = linesOf(bytes(sample(3)));
        all[7] = "2";
        const Reading r = parse(joinLines(all));
        QCOMPARE(r.problem, Problem::ExtraLines);
        QCOMPARE(r.line, 24);
        QVERIFY(r.contents.phrases.isEmpty());
    }

    void writesAndReadsFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("~prl1.txt"));
        QString error;
        QVERIFY(write(path, sample(10), &error));
        QVERIFY(write(path, sample(4), &error)); // an older file is replaced whole
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes(sample(4)));
        const Reading r = read(path);
        QVERIFY2(r.ok(), qPrintable(r.detail));
        QCOMPARE(fields(r.contents), fields(sample(4)));

        QVERIFY(!write(dir.filePath(QStringLiteral("gone/~prl1.txt")), sample(1), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("gone"))));
    }

    void filesThatCannotBeRead()
    {
        QTemporaryDir dir;
        QCOMPARE(read(QString()).problem, Problem::NoPath);
        QCOMPARE(read(dir.filePath("absent.txt")).problem, Problem::Missing);
        QCOMPARE(read(dir.path()).problem, Problem::Missing);
        QFile big(dir.filePath("big.txt"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(QByteArray(3 << 20, 'x'));
        big.close();
        QCOMPARE(read(big.fileName()).problem, Problem::TooLarge);
    }

    // Garbage of every kind must give a result with a reason, never a crash or a half-read set of phrases.
    void survivesGeneratedGarbage()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("fuzz seed %u", seed);
        QRandomGenerator random(seed);
        const QByteArray valid = bytes(sample(10));
        const QList<QByteArray> all = linesOf(valid);
        QElapsedTimer timer;
        timer.start();
        int rounds = 0;
        int accepted = 0;
        while (timer.elapsed() < 3000) {
            QByteArray text;
            switch (random.bounded(6)) {
            case 0: { // random bytes, with line ends and quotes more likely than chance
                text.resize(random.bounded(2000));
                for (char& c : text) {
                    const int pick = random.bounded(10);
                    c = pick == 0 ? '\n' : pick == 1 ? '"' : pick == 2 ? '\r' : static_cast<char>(random.bounded(256));
                }
                break;
            }
            case 1: // cut anywhere
                text = valid.left(random.bounded(valid.size() + 1));
                break;
            case 2: { // shuffled lines
                QList<QByteArray> mixed = all;
                std::shuffle(mixed.begin(), mixed.end(), random);
                text = joinLines(mixed, random.bounded(2) ? "\r\n" : "\n");
                break;
            }
            case 3: { // bytes changed here and there
                text = valid;
                const int changes = 1 + random.bounded(8);
                for (int i = 0; i < changes; ++i)
                    text[random.bounded(text.size())] = static_cast<char>(random.bounded(256));
                break;
            }
            case 4: { // lines dropped or repeated
                QList<QByteArray> some = all;
                const int at = random.bounded(some.size());
                if (random.bounded(2))
                    some.removeAt(at);
                else
                    some.insert(at, some[random.bounded(some.size())]);
                text = joinLines(some);
                break;
            }
            default: { // a plausible header over a wrong count
                QList<QByteArray> some = all;
                some[7] = QByteArray::number(random.bounded(-5, 100));
                text = joinLines(some.mid(0, random.bounded(some.size() + 1)));
            }
            }
            const Reading r = parse(text);
            if (r.ok()) {
                ++accepted;
                QStringList taken = QString::fromLocal8Bit(text).split(QLatin1Char('\n'));
                while (!taken.isEmpty() && taken.last().trimmed().isEmpty())
                    taken.removeLast();
                QCOMPARE(taken.size(), HeaderLines + LinesPerPhrase * r.contents.phrases.size());
                QVERIFY(r.contents.phrases.size() <= MaxPhrases);
                QVERIFY(!r.contents.student.trimmed().isEmpty());
                QVERIFY(!r.contents.usersDatabase.trimmed().isEmpty());
            } else {
                QVERIFY(r.line >= 1);
                QVERIFY(!r.detail.isEmpty());
                QVERIFY(r.contents.phrases.isEmpty());
            }
            ++rounds;
        }
        qInfo("%d generated files, %d of them well formed", rounds, accepted);
        QVERIFY(rounds > 1000);
    }
};

QTEST_GUILESS_MAIN(TestExchangeFile)
#include "tst_exchangefile.moc"
