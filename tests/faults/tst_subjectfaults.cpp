#include <QtTest>

#include <QMenu>
#include <QTreeWidget>

#include "activities/activitylaunch.h"
#include "activities/listening.h"
#include "common/apppath.h"
#include "common/captions.h"
#include "common/filelist.h"
#include "common/files.h"
#include "common/frmmsgbox.h"
#include "common/session.h"
#include "platform/exchangefile.h"
#include "subjects/subjecttree.h"
#include "subjects/treeevents.h"
#include "subjects/treenode.h"
#include "tests/support/fakes.h"
#include "tests/support/maintree.h"
#include "tests/support/privatetemp.h"
#include "tests/support/subjectfixtures.h"
#include "tests/support/subjectsession.h"

// An installed subject whose file is replaced or deleted while its phrases are listed in the main tree: every
// click and launch afterwards either works with the file as it now is or tells the user why not.
class TestSubjectFaults : public QObject
{
    Q_OBJECT
private:
    fixtures::PrivateTempFolder m_temp;
    std::unique_ptr<fakes::Environment> m_env;
    std::unique_ptr<fixtures::MainTree> m_main;
    QTreeWidgetItem* m_colours = nullptr;

    QString installed(const QString& name) const { return m_main->installed(name); }
    QString exchangePath() const { return m_main->exchangePath(); }
    QTreeWidgetItem* top(int n) const { return m_main->top(n); }
    void click(QTreeWidgetItem* n) { m_main->click(n); }
    void launch() { m_main->launch(); }
    QStringList errorReports() const { return fakes::errorReports(m_env->dialogs); }
    // Colours listed with its four phrases, and Food beside it.
    void listColours()
    {
        fixtures::writeInstalledSubject(installed("colours.ale"), fixtures::numberedPhrases(4));
        fixtures::writeInstalledSubject(installed("food.ale"), fixtures::numberedPhrases(2));
        fixtures::writeActivityProgram(m_main->activities() + "Pairs.exe");
        m_main->load();
        m_colours = top(1)->child(0);
        QCOMPARE(m_colours->text(0), QStringLiteral("Colours"));
        click(m_colours);
        QCOMPARE(m_colours->childCount(), 4);
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<fakes::Environment>();
        m_main = std::make_unique<fixtures::MainTree>();
    }

    void cleanup()
    {
        m_main.reset();
        frmMsgBox::Unload();
        m_env.reset();
    }

    void replacedByAnotherSubjectFile()
    {
        listColours();
        QVector<fixtures::PhraseFixture> other = fixtures::numberedPhrases(2);
        other[0].tPhrase = QStringLiteral("Rot");
        fixtures::writeInstalledSubject(installed("colours.ale"), other);

        // The file is a good subject still: its listed phrases stay as they were read, and nothing is said.
        click(m_colours);
        click(m_colours->child(3));
        click(top(1)->child(1));
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QCOMPARE(m_colours->childCount(), 4);

        // A listed phrase whose row is gone cannot be heard: the user is told, nothing is played.
        Listen_to_Phrase(Subject_Ref(m_colours->child(3)), m_main->session);
        QCOMPARE(errorReports().size(), 1);
        QVERIFY(errorReports()[0].contains("Listen_to_Phrase"));
        QVERIFY(m_env->sound.files.isEmpty());
        QVERIFY(!frmMsgBox::showing());

        // The launch studies the file as it now is.
        m_env->dialogs.shown.clear();
        m_main->tree->setCurrentItem(m_colours->child(3));
        launch();
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QCOMPARE(m_env->processes.started.size(), 1);
        const platform::exchange::Reading r = platform::exchange::read(exchangePath());
        QVERIFY2(r.ok(), qPrintable(r.detail));
        QCOMPARE(r.contents.phrases.size(), 2);
        QCOMPARE(r.contents.phrases[0].tPhrase, QStringLiteral("Rot"));
        QCOMPARE(r.contents.subject, QStringLiteral("Colours"));
        QVERIFY(m_main->window.isEnabled());
    }

    void replacedByABrokenFileOrDeleted_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("broken") << false;
        QTest::newRow("deleted") << true;
    }
    void replacedByABrokenFileOrDeleted()
    {
        QFETCH(bool, deleted);
        listColours();
        if (deleted)
            QVERIFY(QFile::remove(installed("colours.ale")));
        else
            fixtures::writeBrokenFile(installed("colours.ale"));
        m_env->dialogs.answers = { false, false, false };

        // Another subject and the same subject's node: nothing to check there.
        click(top(1)->child(1));
        click(m_colours);
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QCOMPARE(m_colours->childCount(), 4);

        // A phrase: the check's reason, and its subject selected.
        click(m_colours->child(1));
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        const fakes::Message problem = m_env->dialogs.shown[0];
        QCOMPARE(problem.title, QStringLiteral("T103"));
        QVERIFY(problem.text.contains("colours.aleT6"));
        QVERIFY(!problem.text.startsWith("\r\n")); // the reason comes first
        QCOMPARE(m_main->tree->currentItem(), m_colours);

        // Hearing it: a deleted subject plays nothing and says nothing; a broken one is reported.
        Listen_to_Phrase(Subject_Ref(m_colours->child(1)), m_main->session);
        QCOMPARE(errorReports().size(), deleted ? 0 : 1);
        QVERIFY(m_env->sound.files.isEmpty());

        // The launch: the same reason, the subject marked unusable, nothing started.
        m_env->dialogs.shown.clear();
        launch();
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QCOMPARE(m_env->dialogs.shown[0].text, problem.text);
        QVERIFY(m_env->processes.started.isEmpty());
        QVERIFY(!QFile::exists(exchangePath()));
        QCOMPARE(nodeImage(m_colours), int(UnusableSubject));
        QVERIFY(m_main->window.isEnabled());
    }
};

QTEST_MAIN(TestSubjectFaults)
#include "tst_subjectfaults.moc"
