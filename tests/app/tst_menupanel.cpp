#include <QtTest>

#include "app/menupanel.h"
#include "common/session.h"
#include "common/templatetexts.h"
#include "platform/services.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"

class TestMenuPanel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void menuEntriesStand750TwipsApart()
    {
        fakes::Environment env;
        fixtures::ProgramFolder program;
        const Session session = fixtures::programSession(program.path());
        QVERIFY(Get_Captions(session, nullptr));
        QWidget holder;
        MenuPanel menu(&holder);
        menu.Get_Menu_Links(Read_Menu_Links(session), QStringLiteral("https://site.example/"));
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
        const Session session = fixtures::programSession(program.path());
        QVERIFY(Get_Captions(session, nullptr));
        QWidget holder;
        MenuPanel menu(&holder);
        menu.Get_Menu_Links(Read_Menu_Links(session), QString());
        QCOMPARE(menu.lastIndex(), -1);
        QCOMPARE(menu.lblMenu.size(), 1);
        QVERIFY(!menu.lblMenu[0]->isVisibleTo(&holder));
        QVERIFY(env.dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestMenuPanel)
#include "tst_menupanel.moc"
