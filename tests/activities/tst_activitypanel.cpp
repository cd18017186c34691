#include <QtTest>

#include "activities/activitylayout.h"
#include "activities/activitypanel.h"
#include "app/frmmain.h"
#include "app/frmsplash.h"
#include "app/modmain.h"
#include "app/util/apppath.h"
#include "platform/database.h"
#include "platform/services.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/subjectfixtures.h"

using platform::twips;

namespace {
void sendMouse(QWidget* widget, QEvent::Type type, QPoint pos = { 2, 2 }, Qt::MouseButton button = Qt::NoButton)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick
        ? Qt::MouseButtons(button)
        : Qt::MouseButtons();
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

QColor colourOf(const QLabel* label)
{
    const QPixmap picture = label->pixmap();
    return picture.isNull() ? QColor() : picture.toImage().pixelColor(0, 0);
}
}

class TestActivityPanel : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<fixtures::ProgramFolder> m_folder;
    std::unique_ptr<QTemporaryDir> m_data;
    std::unique_ptr<fakes::Environment> m_env;
    std::unique_ptr<frmMain> m_window;
    int m_ends = 0;

    ActivityPanel& panel() { return m_window->activityPanel(); }
    QString activities() const { return m_folder->file("Activities/"); }

    void addActivities(int count)
    {
        for (int i = 0; i < count; ++i) {
            const QString stem = QStringLiteral("Act%1").arg(i, 2, 10, QLatin1Char('0'));
            fixtures::writeActivityProgram(activities() + stem + ".exe");
            fixtures::writeActivitySettings(activities() + stem + ".cfg");
        }
    }

    // The start-up steps that come before the panel: the activity list and the settings step.
    void load()
    {
        m_window->FileAct.setPath(m_window->ActivitiesDir);
        m_window->FileAct.setPattern("*.exe");
        m_window->FileAct.refresh();
        panel().Get_Settings();
        panel().Get_Activities();
    }

    int visibleButtons() const
    {
        int n = 0;
        for (QLabel* b : m_window->btnAct)
            n += b->isVisibleTo(m_window.get()) ? 1 : 0;
        return n;
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<fixtures::ProgramFolder>();
        m_data = std::make_unique<QTemporaryDir>();
        fixtures::useProgramFolder(m_folder->path());
        fixtures::loadNumberedCaptions();
        modMain.DataDir = m_data->path() + "/";
        modMain.InstalledSubjectsDir = m_folder->file("T10/");
        modMain.VirtualSubjectsDir = m_folder->file("T11/");
        m_env = std::make_unique<fakes::Environment>();
        m_window = std::make_unique<frmMain>();
        m_window->ActivitiesDir = activities();
        m_ends = 0;
        panel().setEndProgram([this] { ++m_ends; });
    }

    void cleanup()
    {
        m_window.reset();
        m_env.reset();
    }

    void settingsStepSetsTextsListsAndMembers()
    {
        fixtures::writeInstalledSubject(m_folder->file("T10/colours.ale"), fixtures::numberedPhrases(1));
        fixtures::writeInstalledSubject(m_folder->file("T10/zoo.fre"), fixtures::numberedPhrases(1));
        fixtures::writeVirtualSubjectFile(m_folder->file("T11/Mine.vale"), {});
        fixtures::writeVirtualSubjectFile(m_folder->file("T11/Other.vfre"), {});
        fixtures::writeActivityProgram(activities() + "Hangman.exe");
        fixtures::writeActivityProgram(activities() + "Quiz.exe");
        fixtures::writeActivityProgram(activities() + "readme.txt");
        m_window->FileAct.setPath(activities());
        m_window->FileAct.setPattern("*.exe");
        m_window->FileAct.refresh();
        frmSplash splash { QPixmap() };
        splash.show();
        splash.Put_Status_Line("older line");

        panel().Get_Settings();

        frmMain& w = *m_window;
        QCOMPARE(w.File1.path(), modMain.InstalledSubjectsDir);
        QCOMPARE(w.File1.pattern(), QStringLiteral("*.ale"));
        QCOMPARE(w.File1.names(), QStringList { "colours.ale" });
        QCOMPARE(w.File2.path(), modMain.VirtualSubjectsDir);
        QCOMPARE(w.File2.pattern(), QStringLiteral("*.vale"));
        QCOMPARE(w.File2.names(), QStringList { "Mine.vale" });
        QCOMPARE(w.lblSelectSubject->text(), QStringLiteral("1. T14"));
        QCOMPARE(w.lblSelectActivity->text(), QStringLiteral("2. T15"));
        QCOMPARE(w.lblCaption->text(), QStringLiteral("T20"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Parlanta Alemán"));
        QCOMPARE(w.btnChangeUser->text(), QStringLiteral("T99"));
        QCOMPARE(w.btnCreateVirtualSubjects->text(), QStringLiteral("T65"));
        QCOMPARE(w.btnOpenSubjectsFolder->text(), QStringLiteral("T142"));
        QCOMPARE(w.lblMoreActs->text(), QStringLiteral("T114"));
        QCOMPARE(splash.txtStatus->toPlainText(), QStringLiteral("T12.  T13"));
        QCOMPARE(w.PendingMessage, QStringLiteral("T63"));
        QCOMPARE(w.TipPosition, 0); // no tips are loaded yet at start-up
        QCOMPARE(w.picMenu->x() + w.picMenu->width(), twips(100));
        QCOMPARE(w.LastActivityIndex, 1);
        QVERIFY(QFileInfo(modMain.DataDir + "T10").isDir());
        QVERIFY(m_env->dialogs.shown.isEmpty());
        splash.close();
    }

    void settingsStepKeepsAnExistingDataFolderAndDrawsATip()
    {
        QVERIFY(QDir().mkpath(modMain.DataDir + "T10"));
        QFile kept(modMain.DataDir + "T10/kept.vale");
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.close();
        m_window->Tips = QStringList { QString(), "a", "b", "c" };
        m_window->TipPosition = 99;
        panel().Get_Settings();
        QVERIFY(QFile::exists(modMain.DataDir + "T10/kept.vale"));
        QVERIFY(m_window->TipPosition >= 0 && m_window->TipPosition < 3);
        QCOMPARE(m_window->LastActivityIndex, -1);
    }

    void panelLayout_data()
    {
        QTest::addColumn<int>("activities");
        for (int n : { 0, 1, 2, 3, 17, 18 })
            QTest::newRow(qPrintable(QString::number(n))) << n;
    }

    void panelLayout()
    {
        QFETCH(int, activities);
        addActivities(activities);
        const QRect design = m_window->btnAct[0]->geometry();
        const int designHeight = m_window->picActs->height();
        const QPoint designMore = m_window->lblMoreActs->pos();

        load();

        frmMain& w = *m_window;
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QCOMPARE(m_ends, 0);
        QCOMPARE(w.LastActivityIndex, activities - 1);
        if (activities < 2) {
            QCOMPARE(w.btnAct.size(), 1);
            QCOMPARE(visibleButtons(), 0);
            QVERIFY(w.VScroll->isHidden());
            QCOMPARE(w.picActs->height(), designHeight);
            QCOMPARE(w.lblMoreActs->pos(), designMore);
            return;
        }
        const ActivityGrid grid = activityGrid(activities - 1, { platform::toTwips(design.x()), 45 }, { 2415, 630 });
        QCOMPARE(w.btnAct.size(), activities);
        QCOMPARE(visibleButtons(), activities);
        for (int i = 0; i < activities; ++i) {
            QCOMPARE(w.btnAct[i]->parentWidget(), w.picActs);
            QCOMPARE(w.btnAct[i]->size(), design.size());
            QCOMPARE(w.btnAct[i]->pos(), QPoint(twips(grid.positions[i].x()), twips(grid.positions[i].y())));
            QCOMPARE(colourOf(w.btnAct[i]), fixtures::SpanishNormal);
        }
        const QPoint second = w.btnAct[1]->pos() - w.btnAct[0]->pos();
        QCOMPARE(second, activities == 2 ? QPoint(0, twips(640)) : QPoint(twips(2550), 0));
        QCOMPARE(w.picActs->height(), twips(grid.panelHeight));
        QCOMPARE(w.lblMoreActs->y(), twips(grid.moreActsTop));
        QCOMPARE(w.VScroll->isHidden(), activities < 18);
        QCOMPARE(w.VScroll->value(), 0);
        QCOMPARE(w.VScroll->maximum(), activities >= 17 ? 1295 : 0);
    }

    void scrollingMovesThePanel()
    {
        addActivities(18);
        load();
        m_window->VScroll->setValue(1000);
        QCOMPARE(m_window->picActs->y(), -twips(1000));
        m_window->VScroll->setValue(m_window->VScroll->maximum());
        QCOMPARE(m_window->picActs->y(), -twips(1295));
        m_window->VScroll->setValue(0);
        QCOMPARE(m_window->picActs->y(), 0);
    }

    void picturesComeFromTheProductsColumn_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QColor>("normal");
        QTest::addColumn<QColor>("lit");
        QTest::newRow("prlale") << "prlale" << fixtures::SpanishNormal << fixtures::SpanishLit;
        QTest::newRow("prlspa") << "prlspa" << fixtures::EnglishNormal << fixtures::EnglishLit;
    }

    void picturesComeFromTheProductsColumn()
    {
        QFETCH(QString, code);
        Set_Product(code);
        addActivities(2);
        load();
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QCOMPARE(panel().ImgOFF.size(), 3);
        for (int position : { 1, 2 }) {
            QTEST(panel().ImgOFF[position].toImage().pixelColor(0, 0), "normal");
            QTEST(panel().ImgON[position].toImage().pixelColor(0, 0), "lit");
        }
        QTEST(colourOf(m_window->btnAct[1]), "normal");
        // The picture passed through the temporary file, which is gone again.
        QVERIFY(!QFile::exists(Get_Temp_Path() + "0X2341KLZX.dat"));
    }

    void settingsFileNameStopsAtTheFirstDot()
    {
        fixtures::writeActivityProgram(activities() + "a.b.exe");
        fixtures::writeActivitySettings(activities() + "a.cfg");
        fixtures::writeActivityProgram(activities() + "c.exe");
        fixtures::writeActivitySettings(activities() + "c.cfg");
        frmSplash splash { QPixmap() };
        splash.show();
        load();
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QCOMPARE(colourOf(m_window->btnAct[0]), fixtures::SpanishNormal);
        QCOMPARE(splash.txtStatus->toPlainText(), QStringLiteral("T8\nT23 c.exe\nT8\nT23 a.b.exe\nT12.  T13"));
        splash.close();
    }

    void settingsFileFailureEndsTheProgram_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("one row") << "one row";
        QTest::newRow("not a picture") << "not a picture";
        QTest::newRow("null picture") << "null picture";
        QTest::newRow("no such column") << "no such column";
        QTest::newRow("not a database") << "not a database";
    }

    void settingsFileFailureEndsTheProgram()
    {
        QFETCH(QString, kind);
        addActivities(3);
        const QString cfg = activities() + "Act01.cfg";
        const QByteArray red = fixtures::pngBytes(Qt::red);
        if (kind == "missing")
            QFile::remove(cfg);
        else if (kind == "one row")
            fixtures::writeActivitySettings(cfg, { { red, red } });
        else if (kind == "not a picture")
            fixtures::writeActivitySettings(cfg, { { red, red }, { QByteArray("GIF? no"), red } });
        else if (kind == "null picture")
            fixtures::writeActivitySettings(cfg, { { QVariant(), red }, { red, red } });
        else if (kind == "not a database")
            fixtures::writeBrokenFile(cfg);
        else {
            QFile::remove(cfg);
            const auto db = platform::Database::openFile(cfg, true);
            db.executeScript("CREATE TABLE tblImages (bEnglish BLOB);");
            db.execute("INSERT INTO tblImages VALUES (?)", { red });
            db.execute("INSERT INTO tblImages VALUES (?)", { red });
        }

        load();

        const QVector<fakes::Message>& shown = m_env->dialogs.shown;
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, QStringLiteral("T105\r\nAct01.exe\r\n\r\nT106"));
        QCOMPARE(shown[0].title, QStringLiteral("Parlanta Alemán"));
        QCOMPARE(shown[0].icon, platform::Icon::Critical);
        QVERIFY(!shown[0].question);
        QCOMPARE(shown[1].text, QStringLiteral("T107"));
        QCOMPARE(shown[1].title, QStringLiteral("Parlanta Alemán"));
        QCOMPARE(shown[1].icon, platform::Icon::Warning);
        QCOMPARE(m_ends, 1);
        // The end comes at once: nothing after the failing activity is loaded.
        QCOMPARE(colourOf(m_window->btnAct[0]), fixtures::SpanishNormal);
        QVERIFY(m_window->btnAct[2]->pixmap().isNull());
    }

    void pointerHighlightsOneButton()
    {
        addActivities(3);
        load();
        frmMain& w = *m_window;
        w.TimShowMenu->start();
        QFont underlined = w.lblMoreActs->font();
        underlined.setUnderline(true);
        w.lblMoreActs->setFont(underlined);

        sendMouse(w.btnAct[1], QEvent::MouseMove);
        QCOMPARE(colourOf(w.btnAct[0]), fixtures::SpanishNormal);
        QCOMPARE(colourOf(w.btnAct[1]), fixtures::SpanishLit);
        QCOMPARE(colourOf(w.btnAct[2]), fixtures::SpanishNormal);
        QVERIFY(w.TimHideMenu->isActive());
        QVERIFY(!w.TimShowMenu->isActive());
        QVERIFY(!w.lblMoreActs->font().underline());

        sendMouse(w.btnAct[2], QEvent::MouseMove);
        QCOMPARE(colourOf(w.btnAct[1]), fixtures::SpanishNormal);
        QCOMPARE(colourOf(w.btnAct[2]), fixtures::SpanishLit);

        sendMouse(w.lblMoreActs, QEvent::MouseMove);
        QVERIFY(w.lblMoreActs->font().underline());
        QCOMPARE(colourOf(w.btnAct[2]), fixtures::SpanishLit); // the link does not touch the buttons

        sendMouse(w.picActs, QEvent::MouseMove);
        QCOMPARE(colourOf(w.btnAct[2]), fixtures::SpanishNormal);
        QVERIFY(!w.lblMoreActs->font().underline());

        for (QWidget* elsewhere : { w.PicActsHolder, w.TreeFolders->viewport() }) {
            sendMouse(w.btnAct[0], QEvent::MouseMove);
            w.TimHideMenu->stop();
            w.TimShowMenu->start();
            sendMouse(elsewhere, QEvent::MouseMove);
            QCOMPARE(colourOf(w.btnAct[0]), fixtures::SpanishNormal);
            QVERIFY(w.TimHideMenu->isActive());
            QVERIFY(!w.TimShowMenu->isActive());
        }
        // Only the tree takes the underline off the message line.
        QFont link = w.lblMsg->font();
        link.setUnderline(true);
        w.lblMsg->setFont(link);
        sendMouse(w.PicActsHolder, QEvent::MouseMove);
        QVERIFY(w.lblMsg->font().underline());
        sendMouse(w.TreeFolders->viewport(), QEvent::MouseMove);
        QVERIFY(!w.lblMsg->font().underline());
    }

    void pressAndReleaseClickWithSoundAndBorder()
    {
        addActivities(3);
        load();
        QLabel* button = m_window->btnAct[2];
        QSignalSpy clicks(&panel(), &ActivityPanel::activityClicked);

        sendMouse(button, QEvent::MouseButtonPress, { 5, 5 }, Qt::LeftButton);
        QCOMPARE(button->frameShape(), QFrame::Box);
        QCOMPARE(button->lineWidth(), 1);
        QCOMPARE(m_env->sound.memory.size(), 1);
        QCOMPARE(m_env->sound.memory[0].second & platform::SndAsync, int(platform::SndAsync));
        QCOMPARE(clicks.count(), 0);

        sendMouse(button, QEvent::MouseButtonRelease, { 5, 5 }, Qt::LeftButton);
        QCOMPARE(button->frameShape(), QFrame::NoFrame);
        QCOMPARE(m_env->sound.memory.size(), 2);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks[0][0].toInt(), 2);

        // Released outside the button: sound and border as usual, but no click.
        sendMouse(button, QEvent::MouseButtonPress, { 5, 5 }, Qt::LeftButton);
        sendMouse(button, QEvent::MouseButtonRelease, { -40, 5 }, Qt::LeftButton);
        QCOMPARE(m_env->sound.memory.size(), 4);
        QCOMPARE(clicks.count(), 1);
    }
};

QTEST_MAIN(TestActivityPanel)
#include "tst_activitypanel.moc"
