#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

#include "games/common/exchangefile.h"
#include "games/common/gametexts.h"
#include "platform/tempfolder.h"

using namespace games;

namespace {

Exchange sample(int phrases)
{
    Exchange x;
    x.processId = QStringLiteral("28417");
    x.programCode = QStringLiteral("prlale");
    x.productName = QStringLiteral("Parlanta Alemán");
    x.language = Language::Spanish;
    x.taughtLanguage = QStringLiteral("German");
    x.student = QStringLiteral("José Núñez");
    x.subject = QStringLiteral(" Saludos y despedidas");
    x.userDatabase = QStringLiteral("/home/josé/.local/share/Parlanta/Users.dat");
    for (int k = 1; k <= phrases; ++k) {
        x.phrases.append({ QStringLiteral("Wie heißt du, Nr. %1?").arg(k),
            QStringLiteral("¿Cómo te llamas? (%1)").arg(k), QStringLiteral("What is your name? (%1)").arg(k),
            QStringLiteral("/tmp/parlanta-0/~prl28417%1.wav").arg(k) });
    }
    return x;
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

}

class TestExchange : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsEveryLineOfAFullFile()
    {
        const QByteArray text = writeExchange(sample(10));
        QCOMPARE(text.count("\r\n"), 55);
        const ExchangeResult r = parseExchange(text);
        QVERIFY2(r.ok(), qPrintable(r.detail));
        const Exchange& x = r.exchange;
        QCOMPARE(x.processId, QStringLiteral("28417"));
        QCOMPARE(x.programCode, QStringLiteral("prlale"));
        QCOMPARE(x.productName, QStringLiteral("Parlanta Alemán"));
        QCOMPARE(x.language, Language::Spanish);
        QCOMPARE(x.taughtLanguage, QStringLiteral("German"));
        QCOMPARE(x.student, QStringLiteral("José Núñez"));
        // A random subject's title keeps its leading blank: it is the name scores are filed under.
        QCOMPARE(x.subject, QStringLiteral(" Saludos y despedidas"));
        QCOMPARE(x.phraseCount, 10);
        QCOMPARE(x.userDatabase, QStringLiteral("/home/josé/.local/share/Parlanta/Users.dat"));
        QCOMPARE(x.reserved, QStringList(5, QStringLiteral("EMPTY")));
        QCOMPARE(x.printValue, 0);
        QCOMPARE(x.phrases.size(), 10);
        QCOMPARE(x.phrases[9].text, QStringLiteral("Wie heißt du, Nr. 10?"));
        QCOMPARE(x.phrases[9].translation, QStringLiteral("¿Cómo te llamas? (10)"));
        QCOMPARE(x.phrases[9].translation2, QStringLiteral("What is your name? (10)"));
        QCOMPARE(x.phrases[9].soundPath, QStringLiteral("/tmp/parlanta-0/~prl2841710.wav"));
        QCOMPARE(linesOf(text).at(14), QByteArray(" 0 "));
        QCOMPARE(linesOf(text).at(15), QByteArray("\"Wie heißt du, Nr. 1?\""));
    }

    void stripsExactlyTheOuterQuotes()
    {
        Exchange x = sample(3);
        x.phrases[0].text = QStringLiteral("Er sagt \"Hallo\"");
        x.phrases[1].text = QStringLiteral("\"");
        x.phrases[1].translation = QString();
        x.phrases[2].translation2 = QStringLiteral("\"\"quoted twice\"\"");
        const QByteArray text = writeExchange(x);
        QVERIFY(text.contains("\r\n\"Er sagt \"Hallo\"\"\r\n"));
        const ExchangeResult r = parseExchange(text);
        QVERIFY2(r.ok(), qPrintable(r.detail));
        QCOMPARE(r.exchange.phrases[0].text, QStringLiteral("Er sagt \"Hallo\""));
        QCOMPARE(r.exchange.phrases[1].text, QStringLiteral("\""));
        QCOMPARE(r.exchange.phrases[1].translation, QString());
        QCOMPARE(r.exchange.phrases[2].translation2, QStringLiteral("\"\"quoted twice\"\""));
    }

    void readsUtf8WithEitherLineEnd()
    {
        const QByteArray crlf = writeExchange(sample(2));
        QVERIFY(crlf.contains("Jos\xc3\xa9 N\xc3\xba\xc3\xb1"
                              "ez"));
        QByteArray lf = crlf;
        lf.replace("\r\n", "\n");
        QByteArray noFinalEnd = crlf;
        noFinalEnd.chop(2);
        QByteArray trailingBlankLines = crlf + "\r\n\r\n";
        for (const QByteArray& text : { crlf, lf, noFinalEnd, trailingBlankLines }) {
            const ExchangeResult r = parseExchange(text);
            QVERIFY2(r.ok(), qPrintable(r.detail));
            QCOMPARE(r.exchange.student, QStringLiteral("José Núñez"));
            QCOMPARE(r.exchange.phrases[1].translation, QStringLiteral("¿Cómo te llamas? (2)"));
            QCOMPARE(r.exchange.phrases[1].soundPath, QStringLiteral("/tmp/parlanta-0/~prl284172.wav"));
        }
    }

    void truncationNamesTheFirstMissingLine()
    {
        const QList<QByteArray> lines = linesOf(writeExchange(sample(10)));
        QCOMPARE(lines.size(), 55);
        QCOMPARE(parseExchange({}).problem, ExchangeProblem::Truncated);
        for (int kept = 1; kept < 55; ++kept) {
            const ExchangeResult r = parseExchange(joinLines(lines.mid(0, kept)));
            QCOMPARE(r.problem, ExchangeProblem::Truncated);
            QCOMPARE(r.line, kept + 1);
            QVERIFY(r.exchange.phrases.size() <= 10);
            // From line 4 on, even a cut file says which language to explain it in.
            QCOMPARE(r.languageKnown, kept >= 4);
        }
        // A file cut in the middle of a phrase line loses that line's closing quote.
        QByteArray cut = joinLines(lines.mid(0, 30));
        cut += lines[30].left(8);
        const ExchangeResult r = parseExchange(cut);
        QCOMPARE(r.problem, ExchangeProblem::BadLine);
        QCOMPARE(r.line, 31);
    }

    void malformedLinesAreNamed_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("reported");
        QTest::newRow("process id with letters") << 1 << QByteArray("12a") << 1;
        QTest::newRow("empty process id") << 1 << QByteArray("") << 1;
        QTest::newRow("unknown language") << 4 << QByteArray("French") << 4;
        QTest::newRow("blank student") << 6 << QByteArray("   ") << 6;
        QTest::newRow("empty subject") << 7 << QByteArray("") << 7;
        QTest::newRow("count not a number") << 8 << QByteArray("three") << 8;
        QTest::newRow("count over ten") << 8 << QByteArray("11") << 8;
        QTest::newRow("negative count") << 8 << QByteArray("-1") << 8;
        QTest::newRow("no database") << 9 << QByteArray("") << 9;
        QTest::newRow("line 15 not a number") << 15 << QByteArray(" x ") << 15;
        QTest::newRow("phrase without quotes") << 16 << QByteArray("Hallo") << 16;
        QTest::newRow("translation missing its closing quote") << 21 << QByteArray("\"Hola") << 21;
        QTest::newRow("a lone quote") << 19 << QByteArray("\"") << 19;
        QTest::newRow("sound path with a blank after the quote") << 23 << QByteArray("\"/tmp/a.wav\" ") << 23;
    }
    void malformedLinesAreNamed()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        QFETCH(int, reported);
        QList<QByteArray> lines = linesOf(writeExchange(sample(3)));
        lines[line - 1] = text;
        const ExchangeResult r = parseExchange(joinLines(lines));
        QCOMPARE(r.problem, ExchangeProblem::BadLine);
        QCOMPARE(r.line, reported);
        QVERIFY(!r.detail.isEmpty());
    }

    void acceptsWhatTheLayoutAllows()
    {
        QList<QByteArray> lines = linesOf(writeExchange(sample(2)));
        lines[3] = " spanish ";
        lines[14] = "-3";
        lines[9] = "anything";
        const ExchangeResult r = parseExchange(joinLines(lines));
        QVERIFY2(r.ok(), qPrintable(r.detail));
        QCOMPARE(r.exchange.language, Language::Spanish);
        QCOMPARE(r.exchange.printValue, -3);
        QCOMPARE(r.exchange.reserved.first(), QStringLiteral("anything"));

        // No phrases is a well-formed file; the game decides that it is too few.
        const ExchangeResult none = parseExchange(writeExchange(sample(0)));
        QVERIFY(none.ok());
        QCOMPARE(none.exchange.phrases.size(), 0);
    }

    void linesBeyondTheCountAreRefused()
    {
        QList<QByteArray> lines = linesOf(writeExchange(sample(3)));
        lines[7] = "2";
        const ExchangeResult r = parseExchange(joinLines(lines));
        QCOMPARE(r.problem, ExchangeProblem::ExtraLines);
        QCOMPARE(r.line, 24);
        QVERIFY(r.exchange.phrases.isEmpty());
    }

    void filesOnDisk()
    {
        QTemporaryDir dir;
        QCOMPARE(readExchangeFile(QString()).problem, ExchangeProblem::NoArgument);
        QCOMPARE(readExchangeFile(dir.filePath("absent.txt")).problem, ExchangeProblem::Missing);
        QCOMPARE(readExchangeFile(dir.path()).problem, ExchangeProblem::Missing);
        QFile big(dir.filePath("big.txt"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(QByteArray(3 << 20, 'x'));
        big.close();
        QCOMPARE(readExchangeFile(big.fileName()).problem, ExchangeProblem::TooLarge);
        QFile good(dir.filePath("~prl1.txt"));
        QVERIFY(good.open(QIODevice::WriteOnly));
        good.write(writeExchange(sample(4)));
        good.close();
        const ExchangeResult r = readExchangeFile(good.fileName());
        QVERIFY(r.ok());
        QCOMPARE(r.exchange.phrases.size(), 4);
    }

    void bareNamesAreLookedForInThePrivateTemporaryFolder()
    {
        QCOMPARE(exchangeFilePath(QStringLiteral("~prl77.txt")), platform::privateTempFolder() + "~prl77.txt");
        QVERIFY(platform::privateTempFolder().endsWith('/'));
        QCOMPARE(exchangeFilePath(QStringLiteral("/srv/trial/~prl77.txt")), QStringLiteral("/srv/trial/~prl77.txt"));
        QCOMPARE(exchangeFilePath(QString()), QString());
    }

    void everyProblemIsExplainedInBothLanguages()
    {
        const ExchangeProblem problems[] = { ExchangeProblem::NoArgument, ExchangeProblem::Missing,
            ExchangeProblem::Unreadable, ExchangeProblem::TooLarge, ExchangeProblem::Truncated,
            ExchangeProblem::BadLine, ExchangeProblem::ExtraLines };
        for (ExchangeProblem p : problems) {
            ExchangeResult r;
            r.problem = p;
            r.line = 17;
            const QString en = texts::explainExchange(r, QStringLiteral("/tmp/~prl9.txt"), Language::English);
            const QString es = texts::explainExchange(r, QStringLiteral("/tmp/~prl9.txt"), Language::Spanish);
            QVERIFY(!en.isEmpty());
            QVERIFY(!es.isEmpty());
            QVERIFY(en != es);
            QVERIFY2(!en.contains('%') && !es.contains('%'), qPrintable(en + es));
        }
        ExchangeResult cut;
        cut.problem = ExchangeProblem::Truncated;
        cut.line = 23;
        QVERIFY(texts::explainExchange(cut, {}, Language::Spanish).contains("línea 23"));
    }

    // Garbage of every kind must give a result with a reason, never a crash or a half-read exchange.
    void survivesGeneratedGarbage()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("fuzz seed %u", seed);
        QRandomGenerator random(seed);
        const QByteArray valid = writeExchange(sample(10));
        const QList<QByteArray> lines = linesOf(valid);
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
                QList<QByteArray> mixed = lines;
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
                QList<QByteArray> some = lines;
                const int at = random.bounded(some.size());
                if (random.bounded(2))
                    some.removeAt(at);
                else
                    some.insert(at, some[random.bounded(some.size())]);
                text = joinLines(some);
                break;
            }
            default: { // a plausible header over a wrong count
                QList<QByteArray> some = lines;
                some[7] = QByteArray::number(random.bounded(-5, 100));
                text = joinLines(some.mid(0, random.bounded(some.size() + 1)));
            }
            }
            const ExchangeResult r = parseExchange(text);
            if (r.ok()) {
                ++accepted;
                const Exchange& x = r.exchange;
                QCOMPARE(x.phrases.size(), x.phraseCount);
                QVERIFY(x.phraseCount >= 0 && x.phraseCount <= Exchange::MaxPhrases);
                QVERIFY(!x.student.trimmed().isEmpty());
                QVERIFY(!x.userDatabase.trimmed().isEmpty());
            } else {
                QVERIFY(r.line >= 1);
                QVERIFY(!r.detail.isEmpty());
                QVERIFY(!texts::explainExchange(r, {}, r.languageKnown ? r.exchange.language : Language::English)
                             .isEmpty());
            }
            ++rounds;
        }
        qInfo("%d generated files, %d of them well formed", rounds, accepted);
        QVERIFY(rounds > 1000);
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
