#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/lessons/deckfile.h"
#include "platform/lessons/delimitedtext.h"

using namespace lessons;

class TestDelimitedText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fieldNames");
        QTest::addColumn<QList<QStringList>>("notes");
        QTest::addColumn<QStringList>("where");
        QTest::addColumn<QString>("error"); // how the one error starts, "" for none
        QTest::addColumn<QString>("warning");

        QTest::newRow("comma with byte order mark")
            << "a.csv" << QByteArray("\xEF\xBB\xBFGerman,English\nHund,dog\n") << QStringList { "German", "English" }
            << QList<QStringList> { { "Hund", "dog" } } << QStringList { "line 2" } << ""
            << "";
        QTest::newRow("semicolon") << "a.csv" << QByteArray("German;English;Sound\nHund;dog, the;hund.wav")
                                   << QStringList { "German", "English", "Sound" }
                                   << QList<QStringList> { { "Hund", "dog, the", "hund.wav" } }
                                   << QStringList { "line 2" } << ""
                                   << "";
        QTest::newRow("tab") << "a.txt" << QByteArray("a\tb;c\tc\n1\t2;3\t4\n") << QStringList { "a", "b;c", "c" }
                             << QList<QStringList> { { "1", "2;3", "4" } } << QStringList { "line 2" } << ""
                             << "";
        QTest::newRow("tab first among equals in .tsv")
            << "a.tsv" << QByteArray("a\tb,c\n1\t2,3\n") << QStringList { "a", "b,c" }
            << QList<QStringList> { { "1", "2,3" } } << QStringList { "line 2" } << ""
            << "";
        QTest::newRow("comma first among equals elsewhere")
            << "a.csv" << QByteArray("a\tb,c\n1\t2,3\n") << QStringList { "a\tb", "c" }
            << QList<QStringList> { { "1\t2", "3" } } << QStringList { "line 2" } << ""
            << "";
        QTest::newRow("separators inside the header's quotes do not count")
            << "a.csv" << QByteArray("\"a;b;c\",d\n1,2\n") << QStringList { "a;b;c", "d" }
            << QList<QStringList> { { "1", "2" } } << QStringList { "line 2" } << ""
            << "";
        QTest::newRow("quoted separators and line breaks")
            << "a.csv" << QByteArray("a,b\n\"x, y\",\"one\r\ntwo\"\nnext,row\n") << QStringList { "a", "b" }
            << QList<QStringList> { { "x, y", "one\ntwo" }, { "next", "row" } } << QStringList { "line 2", "line 4" }
            << ""
            << "";
        QTest::newRow("doubled quotes") << "a.csv" << QByteArray("a,b\n\"say \"\"hi\"\"\",\"\"\"\"\n")
                                        << QStringList { "a", "b" } << QList<QStringList> { { "say \"hi\"", "\"" } }
                                        << QStringList { "line 2" } << ""
                                        << "";
        QTest::newRow("mixed line ends") << "a.csv" << QByteArray("a;b\r\n1;2\r3;4\n5;6") << QStringList { "a", "b" }
                                         << QList<QStringList> { { "1", "2" }, { "3", "4" }, { "5", "6" } }
                                         << QStringList { "line 2", "line 3", "line 4" } << ""
                                         << "";
        QTest::newRow("blank lines skipped")
            << "a.csv" << QByteArray("\na,b\n\n1,2\n  \r\n3,4\n\n") << QStringList { "a", "b" }
            << QList<QStringList> { { "1", "2" }, { "3", "4" } } << QStringList { "line 4", "line 6" } << ""
            << "";
        QTest::newRow("short lines padded")
            << "a.csv" << QByteArray("a,b,\n1\n,\n") << QStringList { "a", "b", "Column 3" }
            << QList<QStringList> { { "1", "", "" }, { "", "", "" } } << QStringList { "line 2", "line 3" } << ""
            << "";
        QTest::newRow("long line") << "a.csv" << QByteArray("a,b\n1,2,3,4\n") << QStringList { "a", "b" }
                                   << QList<QStringList> { { "1", "2" } } << QStringList { "line 2" } << ""
                                   << "a.csv:2: 4 fields where the header names 2; the last 2 are left out";
        QTest::newRow("unterminated quote")
            << "a.csv" << QByteArray("a,b\n1,2\n3,\"open\n4,5\n") << QStringList { "a", "b" } << QList<QStringList> {}
            << QStringList {} << "a.csv:3: a quote opened here is never closed"
            << "";
        QTest::newRow("not UTF-8") << "a.csv"
                                   << QByteArray("a,b\r\n1,2\rStra\xDF"
                                                 "e,x\n")
                                   << QStringList { "a", "b" } << QList<QStringList> {} << QStringList {}
                                   << "a.csv:3: the line is not UTF-8 text"
                                   << "";
        QTest::newRow("empty") << "a.csv" << QByteArray("\xEF\xBB\xBF\r\n") << QStringList {} << QList<QStringList> {}
                               << QStringList {} << "a.csv: the file is empty"
                               << "";
        QTest::newRow("too many lines") << "a.csv" << QByteArray("a\n") + QByteArray("x\n").repeated(100'001)
                                        << QStringList { "a" } << QList<QStringList> {} << QStringList {}
                                        << "a.csv:100002: more than "
                                        << "";
    }

    void reads()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QStringList>, notes);
        QFETCH(QStringList, where);
        QFETCH(QString, error);
        QFETCH(QString, warning);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath(fileName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();

        const Deck deck = readDelimitedText(file.fileName());
        const QString prefix = dir.path() + u'/';
        const QString errors = deck.outcome.errors.join(u'\n').remove(prefix);
        QVERIFY2(error.isEmpty() ? errors.isEmpty() : errors.startsWith(error), qPrintable(errors));
        QCOMPARE(deck.outcome.warnings.join(u'\n').remove(prefix), warning);
        if (!error.isEmpty()) {
            QVERIFY(deck.notes.isEmpty());
            return;
        }
        QTEST(deck.fieldNames, "fieldNames");
        QCOMPARE(deck.notes.size(), notes.size());
        for (qsizetype i = 0; i < notes.size(); ++i) {
            QCOMPARE(deck.notes[i].fields, notes[i]);
            QCOMPARE(deck.notes[i].where, where[i]);
            QVERIFY(deck.notes[i].lesson.isEmpty());
        }
    }

    void namesDeckAndReadsSoundsBesideIt()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("lists/sounds")));
        QFile sound(dir.filePath(QStringLiteral("lists/sounds/hund.wav")));
        QVERIFY(sound.open(QIODevice::WriteOnly) && sound.write("RIFF-hund") == 9);
        sound.close();
        QFile list(dir.filePath(QStringLiteral("lists/Tiere im Zoo.v2.csv")));
        QVERIFY(list.open(QIODevice::WriteOnly) && list.write("Phrase,Sound\nHund,sounds/hund.wav\n") > 0);
        list.close();

        const Deck deck = readDelimitedText(list.fileName());
        QCOMPARE(deck.name, QStringLiteral("Tiere im Zoo.v2"));
        QCOMPARE(deck.path, list.fileName());
        QVERIFY(deck.media);
        QString problem;
        QCOMPARE(deck.media->read(deck.notes.value(0).fields.value(1), &problem), QByteArray("RIFF-hund"));
    }

    void refusesFileLargerThanAnyList_data()
    {
        QTest::addColumn<bool>("device");
        QTest::newRow("file") << false;
        QTest::newRow("device without a size") << true;
    }

    void refusesFileLargerThanAnyList()
    {
        QFETCH(bool, device);
        QTemporaryDir dir;
        QFile file(device ? QStringLiteral("/dev/zero") : dir.filePath(QStringLiteral("huge.csv")));
        if (!device) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(MaxDeckFileBytes + 1)); // sparse: nothing written
            file.close();
        }
        const Deck deck = readDelimitedText(file.fileName());
        QCOMPARE(deck.outcome.errors,
            QStringList(file.fileName() + ": the file has more than 64 MB, more than any list of phrases needs"));
        QVERIFY(deck.media);
    }
};

QTEST_GUILESS_MAIN(TestDelimitedText)
#include "tst_delimitedtext.moc"
