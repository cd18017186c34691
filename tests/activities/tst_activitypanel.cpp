#include <QtTest>

#include <QAccessible>

#include <QLabel>
#include <QScrollBar>
#include <QTreeWidget>

#include "activities/activitylayout.h"
#include "activities/activitypanel.h"
#include "common/filelist.h"
#include "common/frmmsgbox.h"
#include "common/statuslog.h"
#include "platform/database.h"
#include "platform/services.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/subjectfixtures.h"
#include "tests/support/subjectfolders.h"

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

// The start-up log as the start-up window would show it, oldest line first.
class StatusLines : public StatusLog
{
public:
    StatusLines() { Set_Status_Log_Window(this); }
    ~StatusLines() override { Unset_Status_Log_Window(this); }
    void Put_Status_Line(const QString& text) override { lines << text; }
    void Set_Status_Log(const QString& text) override { lines = QStringList { text }; }
    bool Status_Log_Visible() const override { return true; }
    QStringList lines;
};
}

class TestActivityPanel : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<fixtures::SubjectFolders> m_folder;
    std::unique_ptr<fakes::Environment> m_env;
    // The panel's surroundings in the main window: the holder it fills and the tree beside it.
    std::unique_ptr<QWidget> m_window;
    QWidget* m_holder = nullptr;
    Session m_session;
    QTreeWidget* m_tree = nullptr;
    std::unique_ptr<ActivityPanel> m_panel;
    FileList m_fileAct;
    QList<int> m_quitCodes;

    ActivityPanel& panel() { return *m_panel; }
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
    void load(const QString& programCode = QStringLiteral("prlale"))
    {
        m_fileAct.refresh();
        panel().Get_Settings(m_fileAct);
        panel().Get_Activities(m_fileAct, activities(), programCode);
    }

    int visibleButtons() const
    {
        int n = 0;
        for (QLabel* b : m_panel->btnAct)
            n += b->isVisibleTo(m_window.get()) ? 1 : 0;
        return n;
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<fixtures::SubjectFolders>();
        fixtures::loadNumberedCaptions();
        m_env = std::make_unique<fakes::Environment>();
        m_window = std::make_unique<QWidget>();
        m_window->resize(twips(11600), twips(8000));
        m_tree = new QTreeWidget(m_window.get());
        m_tree->setGeometry(twips(360), twips(2340), twips(5400), twips(5400));
        m_holder = new QWidget(m_window.get());
        m_holder->setGeometry(twips(6000), twips(2340), twips(5280), twips(5100));
        m_session = fixtures::programSession(m_folder->path());
        m_panel = std::make_unique<ActivityPanel>(m_holder, m_session);
        m_panel->watchArea(m_tree->viewport());
        m_fileAct = FileList();
        m_fileAct.setPath(activities());
        m_fileAct.setPattern("*.exe");
        m_quitCodes.clear();
        connect(m_panel.get(), &ActivityPanel::quitRequested, this, [this](int code) { m_quitCodes << code; });
    }

    void cleanup()
    {
        m_panel.reset();
        m_window.reset();
        frmMsgBox::Unload();
        m_env.reset();
    }

    void settingsStepSetsTheCaptionAndTheLastActivity()
    {
        fixtures::writeActivityProgram(activities() + "Hangman.exe");
        fixtures::writeActivityProgram(activities() + "Quiz.exe");
        fixtures::writeActivityProgram(activities() + "readme.txt");
        m_fileAct.refresh();

        panel().Get_Settings(m_fileAct);

        QCOMPARE(panel().lblMoreActs->text(), QStringLiteral("T114"));
        QCOMPARE(panel().LastActivityIndex, 1);
        QVERIFY(m_env->dialogs.shown.isEmpty());

        // Without activity programs there is no last activity.
        QVERIFY(QFile::remove(activities() + "Hangman.exe"));
        QVERIFY(QFile::remove(activities() + "Quiz.exe"));
        m_fileAct.refresh();
        panel().Get_Settings(m_fileAct);
        QCOMPARE(panel().LastActivityIndex, -1);
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
        ActivityPanel& p = panel();
        const QRect design = p.btnAct[0]->geometry();
        const int designHeight = p.picActs->height();
        const QPoint designMore = p.lblMoreActs->pos();

        load();

        QVERIFY(m_env->dialogs.shown.isEmpty());
        QVERIFY(m_quitCodes.isEmpty());
        QCOMPARE(p.LastActivityIndex, activities - 1);
        if (activities < 2) {
            QCOMPARE(p.btnAct.size(), 1);
            QCOMPARE(visibleButtons(), 0);
            QVERIFY(p.VScroll->isHidden());
            QCOMPARE(p.picActs->height(), designHeight);
            QCOMPARE(p.lblMoreActs->pos(), designMore);
            return;
        }
        const ActivityGrid grid = activityGrid(activities - 1, { platform::toTwips(design.x()), 45 }, { 2415, 630 });
        QCOMPARE(p.btnAct.size(), activities);
        QCOMPARE(visibleButtons(), activities);
        for (int i = 0; i < activities; ++i) {
            QCOMPARE(p.btnAct[i]->parentWidget(), p.picActs);
            QCOMPARE(p.btnAct[i]->size(), design.size());
            QCOMPARE(p.btnAct[i]->pos(), QPoint(twips(grid.positions[i].x()), twips(grid.positions[i].y())));
            QCOMPARE(colourOf(p.btnAct[i]), fixtures::SpanishNormal);
        }
        const QPoint second = p.btnAct[1]->pos() - p.btnAct[0]->pos();
        QCOMPARE(second, activities == 2 ? QPoint(0, twips(640)) : QPoint(twips(2550), 0));
        QCOMPARE(p.picActs->height(), twips(grid.panelHeight));
        QCOMPARE(p.lblMoreActs->y(), twips(grid.moreActsTop));
        QCOMPARE(p.VScroll->isHidden(), activities < 18);
        QCOMPARE(p.VScroll->value(), 0);
        QCOMPARE(p.VScroll->maximum(), activities >= 17 ? 1295 : 0);
    }

    void theWidgetsLiveInTheHolder()
    {
        ActivityPanel& p = panel();
        QCOMPARE(p.PicActsHolder, m_holder);
        QCOMPARE(p.picActs->parentWidget(), m_holder);
        QCOMPARE(p.VScroll->parentWidget(), m_holder);
        QCOMPARE(p.lblMoreActs->parentWidget(), p.picActs);
        // The bar at the holder's right edge, the panel beside it, nothing outside the holder.
        QVERIFY(m_holder->rect().contains(p.VScroll->geometry()));
        QVERIFY(p.VScroll->x() >= p.picActs->width());
        QVERIFY(p.picActs->rect().contains(p.btnAct[0]->geometry()));
        QVERIFY(p.picActs->rect().contains(p.lblMoreActs->geometry()));
    }

    void scrollingMovesThePanel()
    {
        addActivities(18);
        load();
        ActivityPanel& p = panel();
        p.VScroll->setValue(1000);
        QCOMPARE(p.picActs->y(), -twips(1000));
        p.VScroll->setValue(p.VScroll->maximum());
        QCOMPARE(p.picActs->y(), -twips(1295));
        p.VScroll->setValue(0);
        QCOMPARE(p.picActs->y(), 0);
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
        addActivities(2);
        load(code);
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QCOMPARE(panel().ImgOFF.size(), 3);
        for (int position : { 1, 2 }) {
            QTEST(panel().ImgOFF[position].toImage().pixelColor(0, 0), "normal");
            QTEST(panel().ImgON[position].toImage().pixelColor(0, 0), "lit");
        }
        QTEST(colourOf(panel().btnAct[1]), "normal");
    }

    void settingsFileNameStopsAtTheFirstDot()
    {
        fixtures::writeActivityProgram(activities() + "a.b.exe");
        fixtures::writeActivitySettings(activities() + "a.cfg");
        fixtures::writeActivityProgram(activities() + "c.exe");
        fixtures::writeActivitySettings(activities() + "c.cfg");
        StatusLines log;
        load();
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QCOMPARE(colourOf(panel().btnAct[0]), fixtures::SpanishNormal);
        QCOMPARE(log.lines, QStringList({ "T23 a.b.exe", "T8", "T23 c.exe", "T8" }));
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
        QCOMPARE(m_quitCodes, QList<int>({ 1 }));
        // The end comes at once: nothing after the failing activity is loaded.
        QCOMPARE(colourOf(panel().btnAct[0]), fixtures::SpanishNormal);
        QVERIFY(panel().btnAct[2]->pixmap().isNull());
    }

    void pointerHighlightsOneButton()
    {
        addActivities(3);
        load();
        ActivityPanel& p = panel();
        QSignalSpy moves(&p, &ActivityPanel::pointerMoved);
        QFont underlined = p.lblMoreActs->font();
        underlined.setUnderline(true);
        p.lblMoreActs->setFont(underlined);

        sendMouse(p.btnAct[1], QEvent::MouseMove);
        QCOMPARE(colourOf(p.btnAct[0]), fixtures::SpanishNormal);
        QCOMPARE(colourOf(p.btnAct[1]), fixtures::SpanishLit);
        QCOMPARE(colourOf(p.btnAct[2]), fixtures::SpanishNormal);
        QCOMPARE(moves.count(), 1);
        QVERIFY(!p.lblMoreActs->font().underline());

        sendMouse(p.btnAct[2], QEvent::MouseMove);
        QCOMPARE(colourOf(p.btnAct[1]), fixtures::SpanishNormal);
        QCOMPARE(colourOf(p.btnAct[2]), fixtures::SpanishLit);
        QCOMPARE(moves.count(), 2);

        sendMouse(p.lblMoreActs, QEvent::MouseMove);
        QVERIFY(p.lblMoreActs->font().underline());
        QCOMPARE(colourOf(p.btnAct[2]), fixtures::SpanishLit); // the link does not touch the buttons
        QCOMPARE(moves.count(), 2);

        sendMouse(p.picActs, QEvent::MouseMove);
        QCOMPARE(colourOf(p.btnAct[2]), fixtures::SpanishNormal);
        QVERIFY(!p.lblMoreActs->font().underline());
        QCOMPARE(moves.count(), 3);

        for (QWidget* elsewhere : { m_holder, m_tree->viewport() }) {
            sendMouse(p.btnAct[0], QEvent::MouseMove);
            moves.clear();
            sendMouse(elsewhere, QEvent::MouseMove);
            QCOMPARE(colourOf(p.btnAct[0]), fixtures::SpanishNormal);
            QCOMPARE(moves.count(), 1);
        }
    }

    void aLitButtonGoesDarkWhenThePointerLeavesIt()
    {
        addActivities(3);
        load();
        ActivityPanel& p = panel();
        sendMouse(p.btnAct[1], QEvent::MouseMove);
        QEvent leave(QEvent::Leave);
        // Leaving a button that is not lit keeps the lit one as it is.
        QCoreApplication::sendEvent(p.btnAct[0], &leave);
        QCOMPARE(colourOf(p.btnAct[1]), fixtures::SpanishLit);
        QCoreApplication::sendEvent(p.btnAct[1], &leave);
        QCOMPARE(colourOf(p.btnAct[1]), fixtures::SpanishNormal);
        sendMouse(p.btnAct[1], QEvent::MouseMove);
        QCOMPARE(colourOf(p.btnAct[1]), fixtures::SpanishLit);
    }

    void pressAndReleaseClickWithSoundAndBorder()
    {
        addActivities(3);
        load();
        QLabel* button = panel().btnAct[2];
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

    void theKeyboardReachesAndStartsTheButtonsAfterTheTree()
    {
        for (const char* stem : { "Flashcards", "ListenAndChoose" }) {
            fixtures::writeActivityProgram(activities() + stem + ".exe");
            fixtures::writeActivitySettings(activities() + stem + ".cfg");
        }
        // A settings file that tells the button's name in each language; the other is an older one that does not.
        platform::Database::openFile(activities() + "Flashcards.cfg")
            .executeScript("ALTER TABLE tblImages ADD COLUMN tSpanish TEXT; ALTER TABLE tblImages ADD COLUMN tEnglish "
                           "TEXT; UPDATE tblImages SET tSpanish = 'Tarjetas', tEnglish = 'Cards';");
        load();
        panel().Set_Tab_Order(m_tree);
        QLabel* first = panel().btnAct[0];
        QLabel* second = panel().btnAct[1];
        QCOMPARE(first->accessibleName(), QStringLiteral("Tarjetas"));
        QCOMPARE(second->accessibleName(), QStringLiteral("Listen And Choose"));
        QCOMPARE(QAccessible::queryAccessibleInterface(first)->role(), QAccessible::Button);
        QCOMPARE(QAccessible::queryAccessibleInterface(panel().lblMoreActs)->role(), QAccessible::Link);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_tree->setFocus();

        QTest::keyClick(m_tree, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), first);
        QCOMPARE(first->frameShape(), QFrame::Box);
        QTest::keyClick(first, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), second);
        QCOMPARE(first->frameShape(), QFrame::NoFrame);
        QSignalSpy clicks(&panel(), &ActivityPanel::activityClicked);
        for (Qt::Key key : { Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter })
            QTest::keyClick(second, key);
        // A screen reader's press runs the keyboard's steps.
        QAccessible::queryAccessibleInterface(second)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.count(), 4);
        QVERIFY(std::all_of(clicks.cbegin(), clicks.cend(), [](const QList<QVariant>& c) { return c[0] == 1; }));

        QTest::keyClick(second, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), panel().lblMoreActs);
        QCOMPARE(QAccessible::queryAccessibleInterface(panel().lblMoreActs)->text(QAccessible::Name),
            QStringLiteral("T114"));
        QTest::keyClick(panel().lblMoreActs, Qt::Key_Space);
        QCOMPARE(m_env->shell.opened, QStringList { m_session.ProgramDir + "T95" });
    }

    void moreActivitiesOpensItsPage()
    {
        QLabel* more = panel().lblMoreActs;
        auto release = [more] {
            QMouseEvent event(QEvent::MouseButtonRelease, QPointF(3, 3), QPointF(more->mapToGlobal(QPoint(3, 3))),
                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(more, &event);
        };
        release();
        m_env->network.online = true;
        release();
        QCOMPARE(m_env->shell.opened, QStringList({ m_session.ProgramDir + "T95", "T94activities.htm" }));
        QVERIFY(!frmMsgBox::isLoaded());
    }
};

QTEST_MAIN(TestActivityPanel)
#include "tst_activitypanel.moc"
