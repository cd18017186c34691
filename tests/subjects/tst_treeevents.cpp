#include <QtTest>

#include <QMenu>

#include "common/frmmsgbox.h"
#include "common/rnd.h"
#include "platform/database.h"
#include "subjects/subjectchecks.h"
#include "subjects/treenode.h"
#include "tests/support/fakes.h"
#include "tests/support/treewindow.h"
#include "tests/support/subjectfixtures.h"
#include "tests/support/treetest.h"

namespace {
QStringList childTexts(const QTreeWidgetItem* node)
{
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

}

class TestTreeEvents : public fixtures::TreeTest<fixtures::TreeWindow>
{
    Q_OBJECT
private:
    QTreeWidget* m_widget = nullptr;
    QWidget* m_window = nullptr;

    QString virtualFile(const QString& name) const { return m_main->virtualFile(name); }
    QTreeWidgetItem* subjectNamed(const QString& text) const { return m_main->node(text); }
    void build() { m_main->load(); }
    // A click of the real mouse on the node's text.
    void mouseClick(QTreeWidgetItem* node, bool twice = false)
    {
        m_widget->scrollToItem(node);
        // Through the window, so that a double click arrives as the system sends it: press, release, press,
        // double click, release.
        const QPoint at = m_widget->viewport()->mapTo(m_window, m_widget->visualItemRect(node).center());
        if (twice)
            QTest::mouseDClick(m_window->windowHandle(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, at);
    }
    // The check before a launch of a virtual subject, shown on its node.
    SubjectUse checkVirtual(QTreeWidgetItem* subject)
    {
        SubjectChecks checks(m_main->session);
        const SubjectUse use = Check_vSubject(Subject_Ref(subject), checks);
        Show_Subject_Use(subject, use);
        return use;
    }

private Q_SLOTS:
    void init()
    {
        start();
        m_window = &m_main->window;
        m_widget = m_main->tree;
        m_window->resize(400, 600);
        m_widget->setGeometry(0, 0, 400, 600);
        m_widget->setHeaderHidden(true);
    }

    void cleanup() { finish(); }

    void subjectChecks()
    {
        fixtures::writeInstalledSubject(installed("good.ale"), fixtures::numberedPhrases(2));
        fixtures::writeBrokenFile(installed("broken.ale"));
        {
            const auto db = platform::Database::openFile(installed("bare.ale"), true);
            db.executeScript("CREATE TABLE tblPhrases (pkPhraseNo INTEGER PRIMARY KEY);"
                             "CREATE TABLE tblProperties (tProgramCode TEXT);");
        }
        QCOMPARE(Check_Subject(m_main->session, "good.ale"), QStringLiteral("VALID"));
        QVERIFY(Check_Subject(m_main->session, "broken.ale") != "VALID");
        QVERIFY(Check_Subject(m_main->session, "missing.ale").contains("missing.ale"));
        // No properties row is as bad as no file.
        QVERIFY(Check_Subject(m_main->session, "bare.ale") != "VALID");
        QVERIFY(m_env->dialogs.shown.isEmpty());

        m_env->dialogs.answers << false << true;
        Report_Subject_Problem(m_main->session, "gone.ale", "Could not find file");
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QCOMPARE(m_env->dialogs.shown[0].text, QStringLiteral("Could not find file\r\n\r\ngone.aleT6\r\n\r\nT135"));
        QCOMPARE(m_env->dialogs.shown[0].title, QStringLiteral("T103"));
        QVERIFY(m_env->dialogs.shown[0].question);
        QVERIFY(m_env->shell.opened.isEmpty());
        Report_Subject_Problem(m_main->session, "gone.ale", "x");
        QCOMPARE(m_env->shell.opened, QStringList { m_main->session.ProgramDir + "T95" }); // offline: the local page
    }

    void withoutInstalledSubjectsEveryClickSaysSo()
    {
        build();
        click(top(3));
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        const QString folder = QDir::toNativeSeparators(QDir::cleanPath(m_main->session.InstalledSubjectsDir));
        QCOMPARE(m_env->dialogs.shown[0].text, "T131 \r\n\r\n" + folder + QDir::separator() + "\r\n\r\nT132\r\n");
        QCOMPARE(top(3)->childCount(), 0);
        click(top(1)->child(0)); // the placeholder
        QCOMPARE(m_env->dialogs.shown.size(), 2);
        QCOMPARE(m_widget->currentItem(), top(1)->child(0));
    }

    void foldersToggleAndDrawTheRandomSubject()
    {
        for (const char* name : { "animals_at_the_zoo.ale", "colours.ale", "food.ale" })
            fixtures::writeInstalledSubject(installed(name), fixtures::numberedPhrases(3));
        fixtures::writeVirtualSubjectFile(virtualFile("Mine.vale"), { { "Words", {} } });
        build();
        Set_Rnd_Script(fakes::numbers({ 0.1, 0.5, 0.99 }));

        click(top(1));
        QVERIFY(top(1)->isExpanded());
        QCOMPARE(nodeImage(top(1)), int(FolderOpen));
        click(top(1));
        QVERIFY(!top(1)->isExpanded());
        QCOMPARE(nodeImage(top(1)), int(FolderClosed));

        // Random subject: drawn, removed, drawn again; its text keeps the title's leading blank.
        click(top(2));
        QCOMPARE(childTexts(top(2)), QStringList { " Animals At The Zoo" });
        QCOMPARE(nodeTag(top(2)->child(0)), QStringLiteral("SUBJECT*animals_at_the_zoo.ale"));
        QCOMPARE(nodeImage(top(2)->child(0)), int(SubjectImage));
        QCOMPARE(m_widget->currentItem(), top(2)->child(0));
        QCOMPARE(nodeImage(top(2)), int(FolderOpen));
        QVERIFY(top(2)->isExpanded());
        // Selected by the program: its phrases wait for the user's click.
        QCOMPARE(top(2)->child(0)->childCount(), 0);
        click(top(2));
        QCOMPARE(top(2)->childCount(), 0);
        QCOMPARE(nodeImage(top(2)), int(FolderClosed));
        click(top(2));
        QCOMPARE(childTexts(top(2)), QStringList { " Colours" });
        click(top(2)->child(0));
        QCOMPARE(childTexts(top(2)->child(0)), QStringList({ "Tr1", "Tr2", "Tr3" }));

        // A virtual subject file's folder toggles with its own images.
        QTreeWidgetItem* mine = top(5);
        click(mine);
        QVERIFY(mine->isExpanded());
        QCOMPARE(nodeImage(mine), int(VirtualFileOpen));
        click(mine);
        QCOMPARE(nodeImage(mine), int(VirtualFileClosed));
        QVERIFY(m_env->dialogs.shown.isEmpty());
    }

    void randomPhrasesFolderToggles()
    {
        fixtures::writeInstalledSubject(installed("only.ale"), fixtures::numberedPhrases(4));
        build();
        Set_Rnd_Script(fakes::numbers({ 0.3, 0.8 }));
        click(top(3));
        QTreeWidgetItem* set = top(3)->child(0);
        QVERIFY(set);
        QCOMPARE(set->text(0), QStringLiteral("T118"));
        QCOMPARE(nodeTag(set), QStringLiteral("SUBJECT*VIRTUALSUBJECT"));
        QCOMPARE(set->childCount(), 10);
        QCOMPARE(m_widget->currentItem(), set);
        QVERIFY(m_window->isEnabled());
        // Clicking the set again draws nothing new.
        const QStringList first = childTexts(set);
        click(set);
        QCOMPARE(childTexts(set), first);
        click(top(3));
        QCOMPARE(top(3)->childCount(), 0);
        QCOMPARE(nodeImage(top(3)), int(FolderClosed));
        click(top(3));
        QCOMPARE(top(3)->child(0)->childCount(), 10);
    }

    // The review folder lists the first ten due phrases that can still be studied, in the order given.
    void reviewFolderListsWhatIsDue()
    {
        fixtures::writeInstalledSubject(installed("a.ale"), fixtures::numberedPhrases(12));
        m_main->due.phrases = { "a.ale#2", "gone.ale#1", "a.ale#99", "a.ale#1" };
        for (int k = 3; k <= 12; ++k)
            m_main->due.phrases << QStringLiteral("a.ale#%1").arg(k);
        build();
        QTreeWidgetItem* folder = top(4);
        // Phrases of a subject that is gone are not counted; a number the subject lacks is found out on opening.
        QCOMPARE(folder->text(0), QStringLiteral("T192 (13)"));
        QVERIFY(SubjectTree::isVirtualFileFolder(folder) == false);
        click(folder);
        QTreeWidgetItem* set = folder->child(0);
        QCOMPARE(set->text(0), QStringLiteral("T193"));
        QCOMPARE(m_widget->currentItem(), set);
        const SubjectRef ref = Subject_Ref(set);
        QCOMPARE(ref.kind, SubjectRef::Kind::VirtualSubject);
        QCOMPARE(ref.subjectText, QStringLiteral("T193"));
        QStringList listed;
        for (const SubjectRef& phrase : ref.phrases)
            listed << phrase.file + "#" + QString::number(phrase.phraseNo);
        QCOMPARE(listed,
            QStringList({ "a.ale#2", "a.ale#1", "a.ale#3", "a.ale#4", "a.ale#5", "a.ale#6", "a.ale#7", "a.ale#8",
                "a.ale#9", "a.ale#10" }));
        QCOMPARE(set->child(0)->text(0), QStringLiteral("Tr2"));
        QVERIFY(m_env->dialogs.shown.isEmpty());
        click(set);
        QCOMPARE(set->childCount(), 10);
        click(folder);
        QCOMPARE(folder->childCount(), 0);
    }

    void reviewFolderSaysWhenNothingIsDue_data()
    {
        QTest::addColumn<QDateTime>("nextDue");
        QTest::addColumn<QString>("line");
        const QDateTime next(QDate(2026, 12, 24), QTime(12, 0), Qt::UTC);
        QTest::newRow("next due") << next
                                  << "T194 "
                + QLocale(QLocale::English).toString(next.toLocalTime().date(), QLocale::LongFormat);
        QTest::newRow("nothing practised") << QDateTime() << "T195";
    }

    void reviewFolderSaysWhenNothingIsDue()
    {
        QFETCH(QDateTime, nextDue);
        QFETCH(QString, line);
        fixtures::writeInstalledSubject(installed("a.ale"), fixtures::numberedPhrases(2));
        m_main->session.InterfaceLanguage = "English";
        m_main->due.nextDue = nextDue;
        build();
        QCOMPARE(top(4)->text(0), QStringLiteral("T192 (0)"));
        click(top(4));
        QCOMPARE(top(4)->childCount(), 1);
        QCOMPARE(top(4)->child(0)->text(0), line);
        // Still so when the window comes back: the line stays.
        m_main->review.refresh();
        QCOMPARE(top(4)->childCount(), 1);
        // A round made something due: the line goes, and the next opening lists it.
        m_main->due.phrases = { "a.ale#1" };
        m_main->review.refresh();
        QCOMPARE(top(4)->text(0), QStringLiteral("T192 (1)"));
        QCOMPARE(top(4)->childCount(), 0);
    }

    // Back from a round: a set that lists a phrase no longer due closes; one still due stays as it is.
    void reviewFolderFollowsTheRounds()
    {
        fixtures::writeInstalledSubject(installed("a.ale"), fixtures::numberedPhrases(3));
        m_main->due.phrases = { "a.ale#1", "a.ale#2" };
        build();
        click(top(4));
        m_main->due.phrases = { "a.ale#3", "a.ale#2", "a.ale#1" };
        m_main->review.refresh();
        QCOMPARE(top(4)->text(0), QStringLiteral("T192 (3)"));
        QCOMPARE(top(4)->child(0)->childCount(), 2);
        m_main->due.phrases = { "a.ale#2" };
        m_main->review.refresh();
        QCOMPARE(top(4)->text(0), QStringLiteral("T192 (1)"));
        QCOMPARE(top(4)->childCount(), 0);
        QCOMPARE(nodeImage(top(4)), int(FolderClosed));
        click(top(4));
        m_main->review.reset();
        QCOMPARE(top(4)->childCount(), 0);
    }

    void subjectsListTheirPhrasesOnce()
    {
        QVector<fixtures::PhraseFixture> phrases = fixtures::numberedPhrases(3);
        phrases[1].tTranslation = QVariant(); // NULL
        fixtures::writeInstalledSubject(installed("colours.ale"), phrases);
        build();
        QTreeWidgetItem* colours = top(1)->child(0);
        click(colours);
        QCOMPARE(childTexts(colours), QStringList({ "Tr1", "", "Tr3" }));
        QVERIFY(colours->isExpanded());
        QCOMPARE(nodeTag(colours->child(1)), QStringLiteral("colours.ale*2*P2**Tr22"));
        QCOMPARE(nodeImage(colours->child(0)), int(PhraseImage));
        click(colours);
        QCOMPARE(colours->childCount(), 3);
        QVERIFY(m_window->isEnabled());

        // Clicking a phrase checks its subject: still good, nothing to say.
        click(colours->child(2));
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QCOMPARE(m_widget->currentItem(), colours->child(2));
        // Deleted while the program runs: the problem is reported and the subject selected.
        QFile::remove(installed("colours.ale"));
        m_env->dialogs.answers << false;
        click(colours->child(2));
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QVERIFY(m_env->dialogs.shown[0].text.contains("colours.aleT6"));
        QCOMPARE(m_widget->currentItem(), colours);
    }

    void aBrokenSubjectIsMarkedAndItsFolderSelected()
    {
        fixtures::writeBrokenFile(installed("broken.ale"));
        build();
        QTreeWidgetItem* broken = top(1)->child(0);
        click(broken);
        QCOMPARE(broken->childCount(), 0);
        QCOMPARE(nodeImage(broken), int(UnusableSubject));
        QCOMPARE(nodeSelectedImage(broken), int(UnusableSubject));
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QVERIFY(m_env->dialogs.shown[0].text.startsWith("BROKEN.ALET6\r\n\r\n"));
        QCOMPARE(m_env->dialogs.shown[0].title, QStringLiteral("T103"));
        QCOMPARE(m_env->dialogs.shown[0].icon, platform::Icon::Warning);
        QCOMPARE(m_widget->currentItem(), top(1));
        QVERIFY(m_window->isEnabled());
    }

    void virtualSubjectsListTheirPhrasesOrThePlaceholder()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(3));
        fixtures::writeVirtualSubjectFile(virtualFile("Mine.vale"),
            { { "Two", { { "colours.ale", 3, "P3", "Tr3", "Tr23" }, { "gone.ale", 1, "G", "Gone", QVariant() } } },
                { "Empty", {} } });
        build();
        QTreeWidgetItem* two = top(5)->child(0);
        click(two);
        QCOMPARE(childTexts(two), QStringList({ "Tr3", "Gone" }));
        QCOMPARE(nodeTag(two->child(1)), QStringLiteral("gone.ale*1*G*Gone*"));
        QCOMPARE(nodeImage(two->child(0)), int(VirtualPhraseImage));
        click(two);
        QCOMPARE(two->childCount(), 2);
        QTreeWidgetItem* empty = top(5)->child(1);
        click(empty);
        QCOMPARE(childTexts(empty), QStringList { "T127" });
        QCOMPARE(nodeTag(empty->child(0)), QStringLiteral("IGNORE"));
        click(empty->child(0));
        QCOMPARE(m_widget->currentItem(), empty);
        QVERIFY(m_env->dialogs.shown.isEmpty());

        // The file is corrupted while the program runs: the error report, and no child.
        QTreeWidgetItem* fresh
            = makeNode("Later", SubjectRef::virtualSubject("Mine.vale", 1, "Later", "Mine"), VirtualSubjectImage);
        top(5)->addChild(fresh);
        fixtures::writeBrokenFile(virtualFile("Mine.vale"));
        click(fresh);
        QCOMPARE(fresh->childCount(), 0);
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QVERIFY(m_env->dialogs.shown[0].text.startsWith("T149\r\n\r\nShow_vSubject_Phrases: "));
    }

    void checkOfAVirtualSubject()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(3));
        fixtures::writeBrokenFile(installed("broken.ale"));
        fixtures::writeVirtualSubjectFile(virtualFile("Mine.vale"),
            { { "Four",
                  { { "colours.ale", 1, "P1", "Tr1", "" }, { "gone.ale", 1, "G1", "Gone one", "" },
                      { "colours.ale", 2, "P2", "Tr2", "" }, { "gone.ale", 2, "G2", "Gone one", "" },
                      { "broken.ale", 1, "B", "Broken", "" }, { "one.ale", 2, "O", "Gone", "" } } },
                { "Lost", { { "gone.ale", 1, "G1", "Gone", "" } } }, { "Empty", {} } });
        build();
        QTreeWidgetItem* four = top(5)->child(0);
        click(four);
        four->setExpanded(true);
        m_widget->setCurrentItem(four);
        m_env->dialogs.answers << true;
        QCOMPARE(checkVirtual(four), SubjectUse::Usable);
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        // Each missing phrase and file once; "Gone" is no repeat of "Gone one", nor ONE.ALE of GONE.ALE.
        QCOMPARE(m_env->dialogs.shown[0].text,
            QStringLiteral("T133\r\n\r\nGone one\r\nGone\r\n\r\nT134\r\n\r\nGONE.ALE\r\nONE.ALE\r\n\r\nT135"));
        QCOMPARE(m_env->dialogs.shown[0].title, QStringLiteral("T144"));
        QCOMPARE(m_env->shell.opened.size(), 1);
        QVERIFY(!four->isExpanded());
        QCOMPARE(nodeImage(four), int(VirtualSubjectImage));

        QTreeWidgetItem* lost = top(5)->child(1);
        click(lost);
        m_env->dialogs.answers << false;
        QCOMPARE(checkVirtual(lost), SubjectUse::Unusable);
        QCOMPARE(nodeImage(lost), int(UnusableSubject));
        QCOMPARE(nodeSelectedImage(lost), int(UnusableSubject));

        QTreeWidgetItem* empty = top(5)->child(2);
        click(empty);
        m_env->dialogs.shown.clear();
        QCOMPARE(checkVirtual(empty), SubjectUse::Unusable);
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QCOMPARE(nodeImage(empty), int(UnusableSubject));

        // Never listed: a warning with the subject's tag field, and no launch.
        QTreeWidgetItem* unlisted
            = makeNode("New", SubjectRef::virtualSubject("Mine.vale", 77, "New", "Mine"), VirtualSubjectImage);
        top(5)->addChild(unlisted);
        QCOMPARE(checkVirtual(unlisted), SubjectUse::NotChecked);
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QVERIFY(m_env->dialogs.shown[0].text.startsWith("VIRTUALSUBJECT T6\r\n\r\n"));
        QCOMPARE(m_env->dialogs.shown[0].icon, platform::Icon::Warning);
    }

    void theRealMouseRunsTheClickStepsOnce()
    {
        for (const char* name : { "a.ale", "b.ale" })
            fixtures::writeInstalledSubject(installed(name), fixtures::numberedPhrases(2));
        build();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        Set_Rnd_Script(fakes::numbers({ 0.7 }));
        mouseClick(top(2));
        QCOMPARE(childTexts(top(2)), QStringList { " B" });
        // Selecting from the program runs no click steps: the random subject stays as drawn.
        m_widget->setCurrentItem(top(2));
        m_widget->setCurrentItem(top(1));
        QCOMPARE(top(2)->childCount(), 1);
        // A double click is one click: the random subject is not drawn and removed in one go.
        QSignalSpy clicks(m_widget, &QTreeWidget::itemClicked);
        QSignalSpy doubles(m_widget, &QTreeWidget::itemDoubleClicked);
        mouseClick(top(2), true);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(doubles.count(), 1);
        QCOMPARE(top(2)->childCount(), 0);
        QVERIFY(m_env->sound.files.isEmpty());
    }

    void keysSelectAsAClickDoesAndSpaceMovesNothing()
    {
        for (const char* name : { "a.ale", "b.ale" })
            fixtures::writeInstalledSubject(installed(name), fixtures::numberedPhrases(2));
        build();
        Set_Rnd_Script(fakes::numbers({ 0.7 }));
        // Run twice, the random folder's steps would draw its subject and take it away again.
        QTest::keyClick(m_widget, Qt::Key_Down);
        QCOMPARE(childTexts(top(2)), QStringList { " B" });
        QCOMPARE(m_widget->currentItem(), top(2)->child(0));
        // The view's search would take the blank for the start of " B".
        m_widget->setCurrentItem(top(1));
        QTest::keyClick(m_widget, Qt::Key_Space);
        QCOMPARE(m_widget->currentItem(), top(1));
        QTest::keyClick(m_widget, Qt::Key_Right);
        QTest::keyClick(m_widget, Qt::Key_Down);
        QCOMPARE(m_widget->currentItem(), subjectNamed("A"));
        QCOMPARE(childTexts(subjectNamed("A")), QStringList({ "Tr1", "Tr2" }));
        QTest::keyClick(m_widget, Qt::Key_End);
        QCOMPARE(m_widget->currentItem()->parent(), top(4));
        QTest::keyClick(m_widget, Qt::Key_Home);
        QVERIFY(!top(1)->isExpanded());
    }

    void enterAndRightOpenASubject_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("return") << int(Qt::Key_Return);
        QTest::newRow("enter") << int(Qt::Key_Enter);
        QTest::newRow("right") << int(Qt::Key_Right);
    }

    void enterAndRightOpenASubject()
    {
        QFETCH(int, key);
        fixtures::writeInstalledSubject(installed("a.ale"), fixtures::numberedPhrases(2));
        build();
        QTreeWidgetItem* subject = top(1)->child(0);
        m_widget->setCurrentItem(subject);
        QTest::keyClick(m_widget, Qt::Key(key));
        QCOMPARE(m_widget->currentItem(), subject);
        QCOMPARE(subject->childCount(), 2);
        QVERIFY(subject->isExpanded());
    }

    void doubleClickAndTheListenCommandAskToHearTheSelectedNode()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(2));
        build();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        QList<QTreeWidgetItem*> heard;
        connect(&m_main->events, &TreeEvents::phraseToHear, this, [&](QTreeWidgetItem* node) { heard << node; });
        QTreeWidgetItem* colours = top(1)->child(0);
        click(colours);
        top(1)->setExpanded(true);
        colours->setExpanded(true);
        mouseClick(colours->child(1), true);
        QCOMPARE(heard.size(), 1);
        QCOMPARE(heard[0], colours->child(1));
        m_widget->setCurrentItem(colours->child(0));
        m_main->menu->actions().constFirst()->trigger();
        QCOMPARE(heard.size(), 2);
        QCOMPARE(heard[1], colours->child(0));
        // The tree plays nothing itself: the listener decides what a phrase is.
        QVERIFY(m_env->sound.files.isEmpty());
    }

    void popupMenuOnlyForPhrasesOfInstalledAndRandomSubjects()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(2));
        fixtures::writeVirtualSubjectFile(
            virtualFile("Mine.vale"), { { "Words", { { "colours.ale", 1, "P1", "Tr1", "" } } } });
        build();
        Set_Rnd_Script(fakes::numbers({ 0.0 }));
        QTreeWidgetItem* colours = top(1)->child(0);
        click(colours);
        click(top(2));
        click(top(2)->child(0));
        click(top(3));
        click(top(5)->child(0));
        const QPoint where(10, 10);
        bool shownAsSaid = true;
        auto opens = [&](QTreeWidgetItem* node, Qt::MouseButton button = Qt::RightButton) {
            m_widget->setCurrentItem(node);
            const bool opened = m_main->events.TreeFolders_MouseDown(button, where);
            shownAsSaid = shownAsSaid && m_main->menu->isVisible() == opened;
            m_main->menu->hide();
            return opened;
        };
        QVERIFY(opens(colours->child(0)));
        QVERIFY(opens(top(2)->child(0)->child(1)));
        QVERIFY(!opens(colours->child(0), Qt::LeftButton));
        QVERIFY(!opens(colours));
        QVERIFY(!opens(top(1)));
        QVERIFY(!opens(top(3)->child(0)->child(0))); // the random phrase set
        QVERIFY(!opens(top(5)->child(0)->child(0))); // a virtual subject
        QVERIFY(shownAsSaid);
    }
};

QTEST_MAIN(TestTreeEvents)
#include "tst_treeevents.moc"
