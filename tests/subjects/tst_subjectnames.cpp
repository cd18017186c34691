#include <QTemporaryDir>
#include <QtTest>

#include "common/captions.h"
#include "common/filelist.h"
#include "subjects/subjectnames.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"

class TestSubjectNames : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { fixtures::loadNumberedCaptions(); }

    void properTitle_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::newRow("example") << "animals_at_the_zoo.ale"
                                 << " Animals At The Zoo";
        QTest::newRow("no underscore") << "colours.ale"
                                       << " Colours";
        QTest::newRow("doubled") << "at__home.ale"
                                 << " At  Home";
        QTest::newRow("trailing") << "numbers_.ale"
                                  << " Numbers ";
        QTest::newRow("leading") << "_food.ale"
                                 << "  Food";
        QTest::newRow("mixed case") << "tHE_BIG_cat.ale"
                                    << " The Big Cat";
        QTest::newRow("only blanks start words") << "o'neil_well-known.ale"
                                                 << " O'neil Well-known";
        // White space starts a word; other control characters and digits do not.
        QTest::newRow("tab and control") << QStringLiteral("one\ttwo\x01three_4you.ale")
                                         << QStringLiteral(" One\tTwo\x01three 4you");
        QTest::newRow("accents") << "ÉCOLE_ñandú.ale"
                                 << " École Ñandú";
        QTest::newRow("Spanish accent first") << "expresiones_útiles.ale"
                                              << " Expresiones Útiles";
        QTest::newRow("Spanish accent inside") << "la_hora_y_los_días.ale"
                                               << " La Hora Y Los Días";
        QTest::newRow("Spanish ñ and ü") << "ñoño_pingüino.ito"
                                         << " Ñoño Pingüino";
        QTest::newRow("Spanish upper case") << "CÓMO_LLEGAR.fra"
                                            << " Cómo Llegar";
        // A name written with a combining accent keeps it on its letter.
        QTest::newRow("combining accent") << QStringLiteral("u\u0301tiles.eng") << QStringLiteral(" U\u0301tiles");
        QTest::newRow("extension only") << "abc"
                                        << "";
    }

    void properTitle()
    {
        fakes::Environment env;
        QFETCH(QString, file);
        QTEST(Proper_Title(file), "title");
        QVERIFY(env.dialogs.shown.isEmpty());
    }

    // The title is made from the name the folder listing gives back, so accents must survive the trip to disk.
    void titleOfASpanishFileOnDisk()
    {
        fakes::Environment env;
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QStringList names { QStringLiteral("cómo_llegar.ale"), QStringLiteral("números.ale"),
            QStringLiteral("expresiones_útiles.ale") };
        for (const QString& name : names) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        FileList list;
        list.setPath(dir.path() + QLatin1Char('/'));
        list.setPattern(QStringLiteral("*.ale"));
        list.refresh();
        QCOMPARE(list.listCount(), names.size());
        QStringList titles;
        for (int i = 0; i < list.listCount(); ++i) {
            QVERIFY2(QFileInfo::exists(dir.filePath(list.list(i))), qPrintable(list.list(i)));
            titles << Proper_Title(list.list(i)).trimmed();
        }
        titles.sort();
        QCOMPARE(titles,
            QStringList(
                { QStringLiteral("Cómo Llegar"), QStringLiteral("Expresiones Útiles"), QStringLiteral("Números") }));
        QVERIFY(env.dialogs.shown.isEmpty());
    }

    void properTitleOfATooShortNameIsReported()
    {
        fakes::Environment env;
        QCOMPARE(Proper_Title("ab"), QString());
        QCOMPARE(env.dialogs.shown.size(), 1);
        QCOMPARE(env.dialogs.shown[0].title, QStringLiteral("ERROR"));
        QVERIFY(env.dialogs.shown[0].text.startsWith(QStringLiteral("T149\r\n\r\nProper_Title: ")));
    }

    void virtualFileLosesExactlyFiveCharacters_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("name");
        QTest::newRow("example") << "My words.vale"
                                 << "My words";
        QTest::newRow("one-letter stem") << "a.vale"
                                         << "a";
        QTest::newRow("dots in the stem") << "v.1.2.vale"
                                          << "v.1.2";
        QTest::newRow("other product") << "Mots.vfre"
                                       << "Mots";
        QTest::newRow("nothing left") << ".vale"
                                      << "";
    }

    void virtualFileLosesExactlyFiveCharacters()
    {
        QFETCH(QString, file);
        QTEST(virtualFileDisplayName(file), "name");
    }

    void virtualFilesInReadingOrder_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("ordered");
        QTest::newRow("numbers by value") << QStringList { "Nueva carpeta 5.vale", "Nueva carpeta 10.vale",
            "Nueva carpeta.vale", "Nueva carpeta 2.vale" }
                                          << QStringList { "Nueva carpeta.vale", "Nueva carpeta 2.vale",
                                                 "Nueva carpeta 5.vale", "Nueva carpeta 10.vale" };
        QTest::newRow("case and accents folded") << QStringList { "b.vale", "Zoo.vale", "Árboles.vale", "casa.vale",
            "Avión.vale" } << QStringList { "Árboles.vale", "Avión.vale", "b.vale", "casa.vale", "Zoo.vale" };
        QTest::newRow("the extension is no part of the name")
            << QStringList { "a b.vale", "a.vale" } << QStringList { "a.vale", "a b.vale" };
    }
    void virtualFilesInReadingOrder()
    {
        QFETCH(QStringList, files);
        QTEST(inReadingOrder(files, QStringLiteral("Spanish")), "ordered");
    }

    void tagItemReturnsFields()
    {
        fakes::Environment env;
        const QString phrase = QStringLiteral("zoo.ale*3*Der Löwe*El león*");
        QCOMPARE(Tag_Item(0, phrase), QStringLiteral("zoo.ale"));
        QCOMPARE(Tag_Item(1, phrase), QStringLiteral("3"));
        QCOMPARE(Tag_Item(2, phrase), QStringLiteral("Der Löwe"));
        QCOMPARE(Tag_Item(3, phrase), QStringLiteral("El león"));
        QCOMPARE(Tag_Item(4, phrase), QString()); // an empty last field is still a field
        QCOMPARE(Tag_Item(2, "SUBJECT*VIRTUALSUBJECT*12"), QStringLiteral("12"));
        QCOMPARE(Tag_Item(1, "FOLDER*My words.vale"), QStringLiteral("My words.vale"));
        QCOMPARE(Tag_Item(0, "IGNORE"), QStringLiteral("IGNORE"));
        // A "*" inside a text shifts the fields after it: the grammar has no escape.
        // A phrase text "Ja*Nein" pushes its translation into field 4.
        QCOMPARE(Tag_Item(3, "zoo.ale*1*Ja*Nein*Sí o no*Si o no"), QStringLiteral("Nein"));
        QCOMPARE(Tag_Item(4, "zoo.ale*1*Ja*Nein*Sí o no*Si o no"), QStringLiteral("Sí o no"));
        QVERIFY(env.dialogs.shown.isEmpty());
    }

    void tagItemBeyondTheLastFieldIsReportedAndEmpty()
    {
        fakes::Environment env;
        QCOMPARE(Tag_Item(1, "IGNORE"), QString());
        QCOMPARE(Tag_Item(-1, "FOLDER*X"), QString());
        QCOMPARE(env.dialogs.shown.size(), 2);
        for (const fakes::Message& m : env.dialogs.shown) {
            QCOMPARE(m.icon, platform::Icon::Critical);
            QVERIFY(m.text.contains(QStringLiteral("\r\n\r\nTag_Item: ")));
        }
    }
};

QTEST_MAIN(TestSubjectNames)
#include "tst_subjectnames.moc"
