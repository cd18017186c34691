#include <QtTest>

#include <QBarCategoryAxis>
#include <QChart>
#include <QMessageBox>

#include "app/frmmain.h"
#include "app/frmsplash.h"
#include "app/resolution.h"
#include "common/captions.h"
#include "common/frmmsgbox.h"
#include "common/statuslog.h"
#include "common/tilebackground.h"
#include "custom/customnodes.h"
#include "platform/services.h"
#include "students/frmadmin.h"
#include "students/frmprogress.h"
#include "students/scorechartview.h"
#include "students/scores.h"
#include "subjects/phraselookup.h"
#include "tests/students/scoredata.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/mainsession.h"
#include "tests/support/modal.h"
#include "tests/support/renderedtext.h"

using platform::twips;

class TestWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        fixtures::useProgramFolder("/p");
        fixtures::loadNumberedCaptions();
    }

    void busyNoticeHidesOK_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("okVisible");
        QTest::newRow("1800") << 1800 << false;
        QTest::newRow("2000") << 2000 << false;
        QTest::newRow("design") << int(frmMsgBox::DesignHeight) << true;
    }

    void busyNoticeHidesOK()
    {
        QFETCH(int, height);
        frmMsgBox::Show_Busy("Busy", "Working", height, 10);
        frmMsgBox* box = frmMsgBox::showing();
        QVERIFY(box);
        QTEST(box->btnOK->isVisible(), "okVisible");
        QCOMPARE(box->lblMsg->text(), QStringLiteral("Working"));
        frmMsgBox::Unload();
        QVERIFY(!frmMsgBox::isLoaded());
    }

    void sharedInstanceIsRecreatedWithDesignValues()
    {
        frmMsgBox::Show_Busy("First", "One", 2000, 22);
        frmMsgBox* first = frmMsgBox::instance();
        // A second caller while it shows replaces caption and text of the same window.
        frmMsgBox::Show_Busy("Second", "Two", 2000);
        QCOMPARE(frmMsgBox::instance(), first);
        QCOMPARE(first->windowTitle(), QStringLiteral("Second"));
        QCOMPARE(first->lblMsg->text(), QStringLiteral("Two"));
        frmMsgBox::Unload();
        frmMsgBox* fresh = frmMsgBox::instance();
        QCOMPARE(fresh->height(), twips(frmMsgBox::DesignHeight));
        QCOMPARE(fresh->lblMsg->font().pointSize(), 11);
        QVERIFY(fresh->windowTitle().isEmpty());
        QVERIFY(!fresh->btnOK->isHidden());
        frmMsgBox::Unload();
    }

    void noticeBlocksUntilOK()
    {
        bool returned = false;
        bool clickedWhileBlocked = false;
        QTimer::singleShot(50, [&] {
            frmMsgBox* box = frmMsgBox::showing();
            QVERIFY(box);
            clickedWhileBlocked = !returned && box->isModal() && box->btnOK->isVisible();
            QTest::mouseClick(box->btnOK, Qt::LeftButton);
        });
        frmMsgBox::Show_Notice("Caption", "Read me", 14);
        returned = true;
        QVERIFY(clickedWhileBlocked);
        QVERIFY(!frmMsgBox::isLoaded());
    }

    void splashShowsVersionCatchyLineAndNewestLineFirst()
    {
        frmSplash splash { QPixmap() };
        QCOMPARE(splash.lblVersion->text(), QStringLiteral("v.3.0.7"));
        QCOMPARE(splash.lblCatchyWord[0]->text(), QStringLiteral("T25 Alemán!"));
        QCOMPARE(splash.lblCatchyWord[1]->text(), QStringLiteral("T25 Alemán!"));
        // Element 0 is the shadow, 15 twips to the right and below.
        QCOMPARE(splash.lblCatchyWord[0]->pos() - splash.lblCatchyWord[1]->pos(), QPoint(twips(15), twips(15)));
        QCOMPARE(splash.lblLoading->text(), QStringLiteral("T53"));
        QVERIFY(!splash.lblCopyRight->text().isEmpty());
        splash.show();
        QCOMPARE(frmSplash::current(), &splash);
        Put_Status_Line("first");
        // The first line after a quiet spell is in the box at once; quick followers gather for the next frame.
        QCOMPARE(splash.txtStatus->toPlainText(), QStringLiteral("first\n"));
        Put_Status_Line("second");
        Put_Status_Line("third");
        QCOMPARE(splash.statusLogText(), QStringLiteral("third\nsecond\nfirst\n"));
        QTRY_COMPARE(splash.txtStatus->toPlainText(), QStringLiteral("third\nsecond\nfirst\n"));
        Put_Status_Line("dropped");
        Set_Status_Log("T12.  T13");
        QCOMPARE(splash.txtStatus->toPlainText(), QStringLiteral("T12.  T13"));
        QCOMPARE(splash.statusLogText(), QStringLiteral("T12.  T13"));
    }

    void anyKeyClosesTheSplash()
    {
        auto* splash = new frmSplash(QPixmap());
        QPointer<frmSplash> guard(splash);
        splash->show();
        QTest::keyClick(splash->txtStatus, Qt::Key_Space);
        QTRY_VERIFY(!guard);
        QVERIFY(!Status_Log_Showing());
        Put_Status_Line("nobody listens"); // and nothing fails
    }

    void tilesOverlapWithoutGaps()
    {
        // 0.01 mm halved and read as twips: about 0.88 of the picture at 96 dpi.
        QCOMPARE(Tile_Step(256), 225);
        QCOMPARE(Tile_Step(1), 1);
        QVERIFY(Tile_Step(100) < 100);
        QVERIFY(!Background_Picture().isNull());
    }

    void screenSizeThreshold()
    {
        QVERIFY(Resolution_Too_Small(640, 480));
        QVERIFY(!Resolution_Too_Small(800, 600));
        QVERIFY(!Resolution_Too_Small(800, 576));
        QVERIFY(Resolution_Too_Small(799, 575));
    }

    // Names, subjects, activities and phrases are shown as written, even when they look like markup.
    void textsThatLookLikeMarkupShowAsWritten()
    {
        const QString markup = QStringLiteral("<b>x</b>");
        fakes::Environment env;
        fixtures::ProgramFolder program;
        const scoredata::NewUsers users(program);
        QVERIFY(users.made);
        modMain = users.session;
        scoredata::addScore(users.file(), markup, markup, markup, "9 / 10", 9);
        frmMain main;
        main.Student_Logged_In(markup, false);
        const frmProgress progress(modMain, Phrase_Text_Of(modMain));
        frmAdmin admin(modMain, Phrase_Text_Of(modMain));
        admin.cboView->setCurrentIndex(ActivityView);
        admin.cboView_Click();
        admin.TreeView1_NodeClick(scoredata::child(admin.TreeView1, markup, markup));
        admin.tabResults->setCurrentIndex(1);
        const QChart* means = admin.chartView->chart();
        auto* names = qobject_cast<QBarCategoryAxis*>(means->axes(Qt::Horizontal).value(0));
        const std::unique_ptr<QTreeWidgetItem> phrase(
            Virtual_Phrase_Node(Phrase_Tag("a.ale", 1, markup, markup, QString()), 1));
        QString box;
        const platform::Services fakeServices = platform::services();
        platform::installQtServices();
        {
            ModalScript script;
            script.onDialog([&](QWidget* window) {
                const auto* message = qobject_cast<QMessageBox*>(window);
                box = renderedText(message->text(), message->textFormat());
                window->close();
            });
            platform::services().dialogs->message(markup, QString(), platform::Icon::None);
        }
        platform::installServices(fakeServices);
        // Qt Charts reads every title, legend entry and axis label as markup.
        const std::pair<const char*, QString> shown[] = {
            { "welcome line", renderedText(main.findChild<QLabel*>("lblMsg")) },
            { "progress header", renderedText(progress.lblStudent) },
            { "progress subject tip", renderedText(progress.lstLatest->topLevelItem(0)->toolTip(0)) },
            { "progress legend", renderedText(progress.chartView->chart()->series().value(0)->name(), Qt::RichText) },
            { "tracked scores header", renderedText(admin.lblList) },
            { "means title", renderedText(means->title(), Qt::RichText) },
            { "means names", renderedText(names ? names->categories().value(0) : QString(), Qt::RichText) },
            { "phrase tip", renderedText(phrase->toolTip(0)) },
            { "message box", box },
        };
        QStringList changed;
        for (const auto& [where, text] : shown)
            if (!text.contains(markup))
                changed << QStringLiteral("%1: %2").arg(where, text);
        QVERIFY2(changed.isEmpty(), qPrintable(changed.join("; ")));
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
