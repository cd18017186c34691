#include <QtTest>

#include "app/frmsplash.h"
#include "app/menupanel.h"
#include "common/modmain.h"
#include "common/templatetexts.h"
#include "platform/services.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"

class TestTemplateTexts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void captionsRunFromZeroToOnePastTheLastRow()
    {
        fakes::Environment env;
        fixtures::TemplateOptions options;
        options.captionRows = 149;
        options.nullCaptions = { 5 };
        fixtures::ProgramFolder program(options);
        fixtures::useProgramFolder(program.path());
        QString error;
        QVERIFY(Get_Captions(&error));
        QCOMPARE(modMain.Captions.size(), 151);
        QCOMPARE(Caption(0), QString());
        QCOMPARE(Caption(1), QStringLiteral("T1"));
        QCOMPARE(Caption(149), QStringLiteral("T149"));
        QCOMPARE(Caption(150), QString());
        QCOMPARE(Caption(5), QString());
        // Out of range reads as empty rather than failing.
        QCOMPARE(Caption(151), QString());
    }

    void captionsFailWithoutTemplateOrLanguageColumn()
    {
        fakes::Environment env;
        fixtures::TemplateOptions options;
        options.languages = { QStringLiteral("English") };
        fixtures::ProgramFolder program(options);
        fixtures::useProgramFolder(program.path()); // prlale reads the Spanish column
        QString error;
        QVERIFY(!Get_Captions(&error));
        QVERIFY(error.contains("Spanish"));
        QVERIFY(modMain.Captions.isEmpty());

        QFile::remove(program.file("Parlanta.tpl"));
        QVERIFY(!Get_Captions(&error));
        QVERIFY(error.contains("Parlanta.tpl"));
    }

    void systemMessagesAreNumberedInTheStatusLog()
    {
        fakes::Environment env;
        fixtures::TemplateOptions options;
        options.systemMessages = 12;
        fixtures::ProgramFolder program(options);
        fixtures::useProgramFolder(program.path());
        QVERIFY(Get_Captions(nullptr));
        frmSplash splash { QPixmap() };
        splash.show();
        SystemMessages messages;
        Get_System_Messages(messages);
        QCOMPARE(messages.count, 12);
        QCOMPARE(messages.texts.size(), 13);
        QCOMPARE(messages.texts[12], QStringLiteral("M12"));
        QCOMPARE(messages.links[1], QStringLiteral("msg1.htm"));
        QCOMPARE(messages.links[2], QString()); // NULL link: the message is not clickable
        const QStringList log = splash.statusLogText().split('\n');
        // Newest first: the last message's line sits under the last "read" line.
        QCOMPARE(log[0], QStringLiteral("T8"));
        QCOMPARE(log[1], QStringLiteral("T23 MSG #0012"));
        QCOMPARE(log[23], QStringLiteral("T23 MSG #001"));
    }

    void tipsNeedTheirColumnAndNoNulls()
    {
        fakes::Environment env;
        fixtures::TemplateOptions options;
        options.tips = 5;
        options.nullTipRow = 4;
        fixtures::ProgramFolder program(options);
        fixtures::useProgramFolder(program.path());
        QVERIFY(Get_Captions(nullptr));
        QStringList tips;
        Get_Tips(tips);
        QCOMPARE(tips, QStringList({ QString(), "Tip 1", "Tip 2", "Tip 3" }));
        QCOMPARE(env.dialogs.shown.size(), 1);
        QVERIFY(env.dialogs.shown[0].text.startsWith("T149\r\n\r\nGet_Tips: "));

        fixtures::TemplateOptions noColumn;
        noColumn.tipCodes = { QStringLiteral("prlspa") };
        fixtures::ProgramFolder other(noColumn);
        fixtures::useProgramFolder(other.path());
        QVERIFY(Get_Captions(nullptr));
        Get_Tips(tips);
        QCOMPARE(tips.size(), 1);
        QCOMPARE(env.dialogs.shown.size(), 2);
        QVERIFY(env.dialogs.shown[1].text.contains("Get_Tips: "));
    }

    void menuEntriesStand750TwipsApart()
    {
        fakes::Environment env;
        fixtures::ProgramFolder program;
        fixtures::useProgramFolder(program.path());
        QVERIFY(Get_Captions(nullptr));
        QWidget holder;
        MenuPanel menu(&holder);
        menu.Get_Menu_Links(Read_Menu_Links(), QStringLiteral("https://site.example/"));
        QCOMPARE(menu.lastIndex(), 2);
        QCOMPARE(menu.lblMenu.size(), 3);
        for (int i = 1; i < 3; ++i) {
            QCOMPARE(menu.lblMenu[i]->y() - menu.lblMenu[i - 1]->y(), platform::twips(750));
            QCOMPARE(menu.imgMenu[i]->y() - menu.imgMenu[i - 1]->y(), platform::twips(750));
        }
        QCOMPARE(menu.lblMenu[1]->text(), QStringLiteral("Menu B"));
        QCOMPARE(menu.lblMenu[1]->property("tag").toString(), QStringLiteral("b.htm"));
        QCOMPARE(menu.lblMenu[1]->toolTip(), QStringLiteral("https://site.example/b.htm"));
        QVERIFY(menu.lblMenu[2]->isVisibleTo(&holder));
    }

    void emptyMenuLeavesNoEntry()
    {
        fakes::Environment env;
        fixtures::TemplateOptions options;
        options.menu.clear();
        fixtures::ProgramFolder program(options);
        fixtures::useProgramFolder(program.path());
        QVERIFY(Get_Captions(nullptr));
        QWidget holder;
        MenuPanel menu(&holder);
        menu.Get_Menu_Links(Read_Menu_Links(), QString());
        QCOMPARE(menu.lastIndex(), -1);
        QCOMPARE(menu.lblMenu.size(), 1);
        QVERIFY(!menu.lblMenu[0]->isVisibleTo(&holder));
        QVERIFY(env.dialogs.shown.isEmpty());
    }

    void nullMenuTextStopsTheReader()
    {
        fakes::Environment env;
        fixtures::TemplateOptions options;
        options.menu = { { "A", "a.htm" }, { QString(), "b.htm" }, { "C", "c.htm" } };
        fixtures::ProgramFolder program(options);
        fixtures::useProgramFolder(program.path());
        QVERIFY(Get_Captions(nullptr));
        const auto links = Read_Menu_Links();
        QCOMPARE(links.size(), 1);
        QCOMPARE(env.dialogs.shown.size(), 1);
        QVERIFY(env.dialogs.shown[0].text.contains("Get_Menu_Links: "));
    }
};

QTEST_MAIN(TestTemplateTexts)
#include "tst_templatetexts.moc"
