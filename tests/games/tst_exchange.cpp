#include <QtTest>

#include "games/common/exchangefile.h"
#include "games/common/gametexts.h"

using namespace games;

namespace {

Exchange sample(int phrases, const QString& language = QStringLiteral("Spanish"))
{
    Exchange x;
    x.processId = 28417;
    x.programCode = QStringLiteral("prlale");
    x.productName = QStringLiteral("Parlanta Alemán");
    x.interfaceLanguage = language;
    x.taughtLanguage = QStringLiteral("German");
    x.student = QStringLiteral("José Núñez");
    x.subject = QStringLiteral(" Saludos y despedidas");
    x.usersDatabase = QStringLiteral("/home/josé/.local/share/Parlanta/Users.dat");
    for (int k = 1; k <= phrases; ++k)
        x.phrases.append({ QStringLiteral("Satz %1").arg(k), QStringLiteral("Frase %1").arg(k), {}, {}, {} });
    return x;
}

QByteArray withLine(const Exchange& x, int number, const QString& text)
{
    QStringList lines = platform::exchange::lines(x);
    lines[number - 1] = text;
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLocal8Bit();
}

}

class TestExchange : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lineFourNamesTheLanguageSpoken_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("known");
        QTest::addColumn<Language>("language");
        QTest::newRow("English") << "English" << true << Language::English;
        QTest::newRow("Spanish") << "Spanish" << true << Language::Spanish;
        QTest::newRow("any case, blanks around") << " spanish " << true << Language::Spanish;
        QTest::newRow("another language") << "French" << false << Language::English;
    }
    void lineFourNamesTheLanguageSpoken()
    {
        QFETCH(QString, line);
        QFETCH(bool, known);
        QFETCH(Language, language);
        const ExchangeResult r = parseExchange(platform::exchange::bytes(sample(3, line)));
        QCOMPARE(r.ok(), known);
        QCOMPARE(r.languageKnown, known);
        if (known) {
            QCOMPARE(r.language, language);
            QCOMPARE(r.contents.phrases.size(), 3);
        } else {
            QCOMPARE(r.problem, ExchangeProblem::BadLine);
            QCOMPARE(r.line, 4);
            QVERIFY(r.contents.phrases.isEmpty());
        }
    }

    void theFirstFaultIsReported()
    {
        // Before line 4 the language is not known yet; after it, it is, and the later fault is the one named.
        const ExchangeResult early = parseExchange(withLine(sample(2, QStringLiteral("French")), 1, "x1"));
        QCOMPARE(early.line, 1);
        QVERIFY(!early.languageKnown);
        const ExchangeResult both = parseExchange(withLine(sample(2, QStringLiteral("French")), 6, " "));
        QCOMPARE(both.line, 4);
        QVERIFY(!both.languageKnown);
        const ExchangeResult late = parseExchange(withLine(sample(2), 16, "Hallo"));
        QCOMPARE(late.problem, ExchangeProblem::BadLine);
        QCOMPARE(late.line, 16);
        QVERIFY(late.languageKnown);
        QCOMPARE(late.language, Language::Spanish);

        QByteArray cut = platform::exchange::bytes(sample(2));
        cut.truncate(cut.indexOf("\"Frase 2\""));
        const ExchangeResult truncated = parseExchange(cut);
        QCOMPARE(truncated.problem, ExchangeProblem::Truncated);
        QVERIFY(truncated.languageKnown);
        const ExchangeResult missing = readExchangeFile(QStringLiteral("/nonexistent/~prl1.txt"));
        QCOMPARE(missing.problem, ExchangeProblem::Missing);
        QVERIFY(!missing.languageKnown);
    }

    void bareNamesAreLookedForInTheWorkingFolder()
    {
        QTemporaryDir folder;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        const QString bare = exchangeFilePath(QStringLiteral("~prl77.txt"));
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(bare, QDir(folder.path()).canonicalPath() + "/~prl77.txt");
        QCOMPARE(exchangeFilePath(QStringLiteral("/srv/trial/~prl77.txt")), QStringLiteral("/srv/trial/~prl77.txt"));
        QCOMPARE(exchangeFilePath(QString()), QString());
        QCOMPARE(readExchangeFile(exchangeFilePath(QString())).problem, ExchangeProblem::NoPath);
    }

    void everyProblemIsExplainedInBothLanguages()
    {
        const ExchangeProblem problems[] = { ExchangeProblem::NoPath, ExchangeProblem::Missing,
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
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
