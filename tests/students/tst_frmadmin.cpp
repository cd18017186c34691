#include <numeric>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QLineSeries>
#include <QValueAxis>
#include <QtTest>

#include "common/apppath.h"
#include "common/files.h"
#include "common/frmmsgbox.h"
#include "common/interfacelocale.h"
#include "common/session.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "resources/resourcepaths.h"
#include "students/classphrases.h"
#include "students/frmadmin.h"
#include "students/frmschoolserver.h"
#include "students/scorechartview.h"
#include "students/scores.h"
#include "students/userdatabase.h"
#include "tests/students/scoredata.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/modal.h"

using platform::twips;
using namespace scoredata;

namespace {
// What the main window hands in: the text of a phrase, here made from its identity.
const PhraseText Named = [](const QString& identity) { return QStringLiteral("Text of ") + identity; };

QStringList topTexts(const QTreeWidget* tree)
{
    QStringList result;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        result << tree->topLevelItem(i)->text(0);
    return result;
}

QStringList childTexts(const QTreeWidgetItem* node)
{
    QStringList result;
    for (int i = 0; i < node->childCount(); ++i)
        result << node->child(i)->text(0);
    return result;
}

QStringList listRows(const QTreeWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        QStringList texts;
        for (int c = 0; c < list->columnCount(); ++c)
            texts << item->text(c);
        result << texts.join('|');
    }
    return result;
}

// "name|score" for each point or bar the chart draws, sorted; a line is named by its activity, a bar by its student.
QStringList chartPoints(const ScoreChartView* view)
{
    QStringList result;
    for (QAbstractSeries* series : view->chart()->series()) {
        if (auto* line = qobject_cast<QLineSeries*>(series)) {
            for (const QPointF& point : line->points())
                result << line->name() + '|' + QString::number(point.y());
        } else if (auto* bars = qobject_cast<QBarSeries*>(series)) {
            const auto* names = qobject_cast<QBarCategoryAxis*>(view->chart()->axes(Qt::Horizontal).value(0));
            for (QBarSet* set : bars->barSets())
                for (int i = 0; i < set->count(); ++i)
                    result << names->at(i) + '|' + QString::number(set->at(i));
        }
    }
    result.sort();
    return result;
}

// The same from the rows listed: every score that is a number, on a time chart only with a time to stand at.
QStringList listedPoints(const QTreeWidget* list, int view, const QString& nodeText)
{
    // The numbers the school stores behind its text scores.
    const QHash<QString, double> behindText { { "Perfect", 100 }, { "9/10", 90 }, { "6 / 8", 75 } };
    QMap<QString, QList<double>> byName;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = list->topLevelItem(i);
        if (row->text(1).isEmpty() || (view != ActivityView && !QTime::fromString(row->text(3), Qt::ISODate).isValid()))
            continue;
        const double score = behindText.value(row->text(1), row->text(1).toDouble());
        byName[view == StudentView ? nodeText : row->text(0)] << score;
    }
    QStringList result;
    for (auto it = byName.cbegin(); it != byName.cend(); ++it) {
        if (view == ActivityView)
            result << it.key() + '|' + QString::number(std::accumulate(it->begin(), it->end(), 0.0) / it->size());
        else
            for (double score : *it)
                result << it.key() + '|' + QString::number(score);
    }
    result.sort();
    return result;
}

QStringList headers(const QTreeWidget* list)
{
    QStringList result;
    for (int c = 0; c < list->columnCount(); ++c)
        result << list->headerItem()->text(c);
    return result;
}

bool samePicture(const QIcon& icon, const QString& resource, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(16, 16, mode).toImage() == QIcon(resource).pixmap(16, 16).toImage();
}
}

class TestFrmAdmin : public QObject
{
    Q_OBJECT
private:
    // Made once: writing a template is slow; each test gets a fresh data folder.
    fixtures::ProgramFolder* m_program = nullptr;
    std::unique_ptr<scoredata::NewUsers> m_users;
    fakes::Environment* m_env = nullptr;

    void choose(frmAdmin& form, int view)
    {
        form.cboView->setCurrentIndex(view);
        form.cboView_Click();
    }

private Q_SLOTS:
    void initTestCase() { m_program = new fixtures::ProgramFolder; }
    void cleanupTestCase() { delete m_program; }
    void init()
    {
        m_env = new fakes::Environment;
        m_users = std::make_unique<scoredata::NewUsers>(*m_program);
        QVERIFY(m_users->made);
        fixtures::loadNumberedCaptions();
        // The dates of the list follow the interface language (Spanish here), not the system's.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void cleanup()
    {
        QLocale::setDefault(QLocale::system());
        m_users.reset();
        delete m_env;
    }

    void opensWithNothingChosen()
    {
        addSchool(m_users->file());
        frmAdmin form(m_users->session, Named);
        QCOMPARE(form.windowTitle(), QStringLiteral("T54"));
        QCOMPARE(form.lblView->text(), QStringLiteral("T52"));
        QCOMPARE(form.btnClearDatabase->text(), QStringLiteral("T56"));
        QCOMPARE(form.cboView->count(), 4);
        QCOMPARE(form.cboView->itemText(0), QStringLiteral("T50"));
        QCOMPARE(form.cboView->itemText(1), QStringLiteral("T46"));
        QCOMPARE(form.cboView->itemText(2), QStringLiteral("T10"));
        QCOMPARE(form.cboView->itemText(3), QStringLiteral("T203"));
        QCOMPARE(form.cboView->currentIndex(), -1);
        QCOMPARE(form.TreeView1->topLevelItemCount(), 0);
        QCOMPARE(form.ListView1->topLevelItemCount(), 0);
        QCOMPARE(form.shownView(), -1);
        QCOMPARE(headers(form.ListView1), QStringList({ "", "T47", "T48", "T49" }));
        const int widths[] = { 2000, 1000, 1000, 1300 };
        for (int c = 0; c < 4; ++c)
            QVERIFY(form.ListView1->columnWidth(c) >= twips(widths[c]));
        QCOMPARE(form.ImageList2.size(), 44);
        for (int i = 1; i <= 43; ++i)
            QVERIFY(!form.ImageList2[i].isNull());
        // A click on nothing chosen does nothing.
        form.cboView_Click();
        QCOMPARE(form.TreeView1->topLevelItemCount(), 0);
    }

    void showAdminWindowIsModalAndReturnsWhenClosed()
    {
        addSchool(m_users->file());
        QWidget owner;
        owner.show();
        ModalScript script;
        bool seen = false;
        script.onDialog([&](QWidget* w) {
            auto* form = qobject_cast<frmAdmin*>(w);
            QVERIFY(form);
            seen = form->isModal() && form->parentWidget() == &owner && form->TreeView1->topLevelItemCount() == 0;
            form->close();
        });
        QVERIFY(!Show_Admin_Window(&owner, m_users->session, Named));
        QVERIFY(seen);
    }

    void theSchoolServerWindowOpensOnTheDataFolder()
    {
        fixtures::loadNumberedCaptions(239);
        QFile settings(m_users->session.DataDir + "SchoolServer.ini");
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("host = school.example\ndatabase = class\n");
        settings.close();
        frmAdmin form(m_users->session, Named);
        QCOMPARE(form.btnSchoolServer->text(), QStringLiteral("T212"));
        ModalScript script;
        QString host;
        script.onDialog([&](QWidget* w) {
            if (auto* window = qobject_cast<frmSchoolServer*>(w); window && window->parentWidget() == &form)
                host = window->txtHost->text();
            w->close();
        });
        form.btnSchoolServer->click();
        QCOMPARE(host, QStringLiteral("school.example"));
    }

    void studentViewMarksTheAdministratorAndListsSubjects()
    {
        addSchool(m_users->file());
        frmAdmin form(m_users->session, Named);
        choose(form, StudentView);
        QCOMPARE(form.shownView(), 0);
        QCOMPARE(form.TreeView1->property("tag").toString(), QStringLiteral("0"));
        QCOMPARE(form.ListView1->headerItem()->text(0), QStringLiteral("T10"));
        QCOMPARE(topTexts(form.TreeView1), QStringList({ "Zoe Adams", "Dan O'Brien", "Tom Star*" }));
        for (int i = 0; i < 3; ++i) {
            QTreeWidgetItem* node = form.TreeView1->topLevelItem(i);
            QVERIFY(node->font(0).bold());
            QCOMPARE(childTexts(node), QStringList({ "Dictation", "Flashcards", "Pairs" }));
            QVERIFY(!node->child(0)->font(0).bold());
            // Blue for the first row only.
            QCOMPARE(node->foreground(0).color() == QColor(0, 0, 255), i == 0);
        }
        QTreeWidgetItem* dan = form.TreeView1->topLevelItem(1);
        QVERIFY(samePicture(dan->icon(0), resources::facePicture(20)));
        QVERIFY(samePicture(dan->icon(0), resources::facePicture(20), QIcon::Selected));
        QVERIFY(samePicture(dan->child(0)->icon(0), resources::scoresActivityPicture(false)));
        QVERIFY(samePicture(dan->child(0)->icon(0), resources::scoresActivityPicture(true), QIcon::Selected));

        form.TreeView1_NodeClick(child(form.TreeView1, "Zoe Adams", "Flashcards"));
        QCOMPARE(listRows(form.ListView1),
            QStringList(
                { "Animals|90|1/12/26|10:15:02", "Animals|70|3/12/26|09:01:44", "Numbers|9/10|8/12/26|10:00:00" }));
        // The quote in the parent's name is just a letter.
        form.TreeView1_NodeClick(child(form.TreeView1, "Dan O'Brien", "Pairs"));
        QCOMPARE(listRows(form.ListView1),
            QStringList({ "Rock 'n' Roll *live*|Perfect|7/12/26|12:00:00", "Numbers|||",
                "Numbers|12.5|8 Dec 2026|half past two" }));
        // A pair without results empties the list.
        form.TreeView1_NodeClick(child(form.TreeView1, "Dan O'Brien", "Dictation"));
        QCOMPARE(form.ListView1->topLevelItemCount(), 0);
        QVERIFY(m_env->dialogs.shown.isEmpty());
    }

    void activityAndSubjectViews()
    {
        addSchool(m_users->file());
        frmAdmin form(m_users->session, Named);
        choose(form, ActivityView);
        QCOMPARE(form.ListView1->headerItem()->text(0), QStringLiteral("T50"));
        QCOMPARE(topTexts(form.TreeView1), QStringList({ "Dictation", "Flashcards", "Pairs" }));
        QTreeWidgetItem* pairs = form.TreeView1->topLevelItem(2);
        QCOMPARE(childTexts(pairs), QStringList({ "Animals", "Numbers", "Rock 'n' Roll *live*" }));
        QVERIFY(samePicture(pairs->icon(0), resources::scoresActivityPicture(true), QIcon::Selected));
        QVERIFY(samePicture(pairs->child(2)->icon(0), resources::scoresSubjectPicture()));
        // No student is blue in the other views.
        QVERIFY(form.TreeView1->topLevelItem(0)->foreground(0).color() != QColor(0, 0, 255));
        form.TreeView1_NodeClick(pairs->child(2));
        QCOMPARE(listRows(form.ListView1), QStringList({ "Dan O'Brien|Perfect|7/12/26|12:00:00" }));

        choose(form, SubjectView);
        QCOMPARE(form.shownView(), 2);
        // A new view starts with an empty list.
        QCOMPARE(form.ListView1->topLevelItemCount(), 0);
        QCOMPARE(form.ListView1->headerItem()->text(0), QStringLiteral("T46"));
        QCOMPARE(topTexts(form.TreeView1), QStringList({ "Animals", "Numbers", "Rock 'n' Roll *live*" }));
        QTreeWidgetItem* rock = form.TreeView1->topLevelItem(2);
        QCOMPARE(childTexts(rock), QStringList({ "Zoe Adams", "Dan O'Brien", "Tom Star*" }));
        QVERIFY(samePicture(rock->child(2)->icon(0), resources::facePicture(40)));
        QVERIFY(rock->child(0)->foreground(0).color() != QColor(0, 0, 255));
        form.TreeView1_NodeClick(rock->child(2));
        QCOMPARE(listRows(form.ListView1), QStringList({ "Dictation|61|8/12/26|10:00:00" }));
    }

    void placeholdersWhenNothingIsTracked()
    {
        Insert_Student(m_users->file(), "Zoe", "Adams", QVariant(), 5);
        Insert_Student(m_users->file(), "Ana", "Ruiz", QVariant(), 6);
        frmAdmin form(m_users->session, Named);
        choose(form, StudentView);
        QCOMPARE(topTexts(form.TreeView1), QStringList({ "Zoe Adams", "Ana Ruiz", "T55" }));
        QTreeWidgetItem* placeholder = form.TreeView1->topLevelItem(2);
        QVERIFY(placeholder->icon(0).isNull());
        QCOMPARE(placeholder->childCount(), 0);
        for (int view : { ActivityView, SubjectView }) {
            choose(form, view);
            QCOMPARE(topTexts(form.TreeView1), QStringList({ "T55" }));
            QVERIFY(form.TreeView1->topLevelItem(0)->icon(0).isNull());
            form.TreeView1_NodeClick(form.TreeView1->topLevelItem(0));
            QVERIFY(!form.TreeView1->topLevelItem(0)->isExpanded());
        }
        QVERIFY(m_env->dialogs.shown.isEmpty());
    }

    void activityNamedLikeThePlaceholderIsStillAnActivity()
    {
        Insert_Student(m_users->file(), "Zoe", "Adams", QVariant(), 5);
        addScore(m_users->file(), "Zoe Adams", "Animals", "T55", QVariant(), 3);
        frmAdmin form(m_users->session, Named);
        choose(form, ActivityView);
        QCOMPARE(topTexts(form.TreeView1), QStringList({ "T55" }));
        form.TreeView1_NodeClick(form.TreeView1->topLevelItem(0));
        QVERIFY(form.TreeView1->topLevelItem(0)->isExpanded());
        form.TreeView1_NodeClick(form.TreeView1->topLevelItem(0)->child(0));
        QCOMPARE(listRows(form.ListView1), QStringList({ "Zoe Adams|3|8/12/26|10:00:00" }));
    }

    void aClickTogglesATopNodeOnceWhereverItLands()
    {
        addSchool(m_users->file());
        frmAdmin form(m_users->session, Named);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        choose(form, StudentView);
        QTreeWidgetItem* zoe = form.TreeView1->topLevelItem(0);
        const QRect text = form.TreeView1->visualItemRect(zoe);
        const QPoint arrow(text.left() - form.TreeView1->indentation() / 2, text.center().y());
        QWidget* viewport = form.TreeView1->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, text.center());
        QVERIFY(zoe->isExpanded());
        QTest::mouseClick(viewport, Qt::LeftButton, {}, text.center());
        QVERIFY(!zoe->isExpanded());
        QTest::mouseClick(viewport, Qt::LeftButton, {}, arrow);
        QVERIFY(zoe->isExpanded());
        QTest::mouseClick(viewport, Qt::LeftButton, {}, arrow);
        QVERIFY(!zoe->isExpanded());
        // A click on a child lists its results and leaves the tree as it is.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, text.center());
        QTest::mouseClick(viewport, Qt::LeftButton, {}, form.TreeView1->visualItemRect(zoe->child(1)).center());
        QVERIFY(zoe->isExpanded());
        QCOMPARE(form.ListView1->topLevelItemCount(), 3);
    }

    void failedListingKeepsTheOldResults()
    {
        addSchool(m_users->file());
        frmAdmin form(m_users->session, Named);
        choose(form, StudentView);
        form.TreeView1_NodeClick(child(form.TreeView1, "Zoe Adams", "Flashcards"));
        const QStringList before = listRows(form.ListView1);
        QCOMPARE(before.size(), 3);
        platform::Database::openFile(m_users->file().path).execute("ALTER TABLE tblscores RENAME COLUMN nTime TO nHour");
        ModalScript script;
        form.TreeView1_NodeClick(child(form.TreeView1, "Dan O'Brien", "Pairs"));
        QCOMPARE(script.notices.size(), 1);
        QVERIFY2(script.notices[0].contains("nTime"), qPrintable(script.notices[0]));
        QCOMPARE(listRows(form.ListView1), before);
        QVERIFY(QFile::remove(m_users->file().path));
        form.TreeView1_NodeClick(child(form.TreeView1, "Tom Star*", "Dictation"));
        QCOMPARE(script.notices.size(), 2);
        QCOMPARE(script.notices[1], "T169 " + m_users->file().path);
        QCOMPARE(listRows(form.ListView1), before);
    }

    void failedViewShowsTheTopNodesAndSaysWhy()
    {
        addSchool(m_users->file());
        platform::Database::openFile(m_users->file().path).execute("DROP VIEW qrySubjects");
        frmAdmin form(m_users->session, Named);
        ModalScript script;
        choose(form, ActivityView);
        QCOMPARE(topTexts(form.TreeView1), QStringList({ "Dictation", "Flashcards", "Pairs" }));
        QCOMPARE(form.TreeView1->topLevelItem(0)->childCount(), 0);
        QCOMPARE(script.notices.size(), 1);
        QVERIFY(script.notices[0].contains("qrySubjects"));
        choose(form, SubjectView);
        QCOMPARE(form.TreeView1->topLevelItemCount(), 0);
        QCOMPARE(script.notices.size(), 2);
    }

    void removingAStudentTakesHisOrHerResultsOnly_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void removingAStudentTakesHisOrHerResultsOnly()
    {
        QFETCH(bool, yes);
        addSchool(m_users->file());
        const auto scores = [this](const QString& name) {
            return platform::Database::openFile(m_users->file().path)
                .query("SELECT COUNT(*) FROM tblscores WHERE tName LIKE ?", { name })
                .value(0, 0)
                .toInt();
        };
        const int all = scores("%");
        const int dans = scores("Dan O'Brien");
        QVERIFY(dans > 0);
        frmAdmin form(m_users->session, Named);
        choose(form, ActivityView);
        QVERIFY(!form.Is_Removable(form.TreeView1->topLevelItem(1)));
        choose(form, StudentView);
        QVERIFY(!form.Is_Removable(form.TreeView1->topLevelItem(1)->child(0)));
        m_env->dialogs.answers = { true };
        form.mnuRemoveStudent_Click(form.TreeView1->topLevelItem(0));
        QVERIFY(m_env->dialogs.shown.isEmpty());

        m_env->dialogs.answers = { yes };
        form.mnuRemoveStudent_Click(form.TreeView1->topLevelItem(1));
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QCOMPARE(m_env->dialogs.shown[0].title, QStringLiteral("T174"));
        QCOMPARE(m_env->dialogs.shown[0].text, QStringLiteral("T175\r\n\r\nDan O'Brien"));
        QCOMPARE(m_env->dialogs.shown[0].defaultAnswer, platform::Answer::No);
        const QStringList left = yes ? QStringList({ "Zoe Adams", "Tom Star*" })
                                     : QStringList({ "Zoe Adams", "Dan O'Brien", "Tom Star*" });
        QCOMPARE(topTexts(form.TreeView1), left);
        QStringList stored;
        for (const Student& s : Read_Students(m_users->file()))
            stored << s.displayName();
        QCOMPARE(stored, left);
        QCOMPARE(scores("Dan O'Brien"), yes ? 0 : dans);
        QCOMPARE(scores("%"), yes ? all - dans : all);
    }

    void answeringNoKeepsEverything_data()
    {
        QTest::addColumn<QList<bool>>("answers");
        QTest::newRow("no to the first question") << QList<bool> { false };
        QTest::newRow("no to the second question") << QList<bool> { true, false };
    }

    void answeringNoKeepsEverything()
    {
        QFETCH(QList<bool>, answers);
        addSchool(m_users->file());
        m_users->session.ExchangeNumber = 4242;
        const QString exchange = Get_Temp_Path() + Exchange_File_Name(m_users->session.ExchangeNumber);
        QFile file(exchange);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        frmAdmin form(m_users->session, Named);
        QSignalSpy quit(&form, &frmAdmin::quitRequested);
        m_env->dialogs.answers = answers;
        m_env->dialogs.defaultAnswer = true;
        form.btnClearDatabase_Click();
        QCOMPARE(m_env->dialogs.shown.size(), answers.size());
        QVERIFY(m_env->dialogs.shown[0].question);
        QCOMPARE(m_env->dialogs.shown[0].title, QStringLiteral("T56"));
        QCOMPARE(m_env->dialogs.shown[0].text, QStringLiteral("T57 Parlanta Alemán\r\n\r\nT58"));
        // Two presses of Enter must not erase every student.
        for (const fakes::Message& question : m_env->dialogs.shown)
            QCOMPARE(question.defaultAnswer, platform::Answer::No);
        if (answers.size() == 2) {
            QCOMPARE(m_env->dialogs.shown[1].title, QStringLiteral("T56"));
            QCOMPARE(m_env->dialogs.shown[1].text, QStringLiteral("Parlanta Alemán T59\r\n\r\nT60"));
        }
        QVERIFY(quit.isEmpty());
        QCOMPARE(Read_Students(m_users->file()).size(), 3);
        QVERIFY(QFile::exists(exchange));
        QFile::remove(exchange);
    }

    // The chart beside the list draws the same choice: the student's progress per activity, or a subject's
    // mean per student. It is drawn only once its tab is shown, with the latest choice.
    void theChartDrawsWhatTheListShows()
    {
        addSchool(m_users->file());
        frmAdmin form(m_users->session, Named);
        QCOMPARE(form.tabResults->tabText(0), QStringLiteral("T154"));
        QCOMPARE(form.tabResults->tabText(1), QStringLiteral("T155"));
        choose(form, StudentView);
        form.TreeView1_NodeClick(child(form.TreeView1, "Dan O'Brien", "Pairs"));
        form.TreeView1_NodeClick(child(form.TreeView1, "Zoe Adams", "Flashcards"));
        QCOMPARE(form.ListView1->topLevelItemCount(), 3);
        QCOMPARE(form.chartView->seriesCount(), 0);
        QVERIFY(form.chartView->chart()->title().isEmpty());
        form.tabResults->setCurrentIndex(1);
        QCOMPARE(form.chartView->chart()->title(), QStringLiteral("Zoe Adams  ›  Flashcards"));
        QCOMPARE(form.chartView->pointCount(), 3);
        QCOMPARE(form.cboChartSubject->count(), 3);
        QCOMPARE(form.cboChartSubject->itemText(0), QStringLiteral("T156"));
        form.cboChartSubject->setCurrentIndex(form.cboChartSubject->findText("Animals"));
        Q_EMIT form.cboChartSubject->activated(form.cboChartSubject->currentIndex());
        QCOMPARE(form.chartView->pointCount(), 2);
    }

    // Every child node of every view charts exactly the results it lists, each as the per cent of its maximum on an
    // axis of per cents.
    void everyNodesChartDrawsItsListedResults()
    {
        addSchool(m_users->file());
        addScore(m_users->file(), "Zoe Adams", "Numbers", "Listen and choose", "6 / 8", 6);
        frmAdmin form(m_users->session, Named);
        form.tabResults->setCurrentIndex(1);
        int charted = 0;
        for (int view : { StudentView, ActivityView, SubjectView }) {
            choose(form, view);
            for (int t = 0; t < form.TreeView1->topLevelItemCount(); ++t) {
                QTreeWidgetItem* top = form.TreeView1->topLevelItem(t);
                for (int c = 0; c < top->childCount(); ++c) {
                    form.TreeView1_NodeClick(top->child(c));
                    const QStringList points = chartPoints(form.chartView);
                    QCOMPARE(points, listedPoints(form.ListView1, view, top->child(c)->text(0)));
                    charted += int(points.size());
                    const auto* axis = qobject_cast<QValueAxis*>(form.chartView->chart()->axes(Qt::Vertical).value(0));
                    QVERIFY(axis && axis->min() == 0 && axis->max() == 100);
                }
            }
        }
        QCOMPARE(charted, 6 + 6 + 6);
    }

    // The file chosen gets every result under headings in the interface language; Cancel writes nothing.
    void exportWritesEveryResultToTheFileChosen()
    {
        addSchool(m_users->file());
        frmAdmin form(m_users->session, Named);
        QCOMPARE(form.btnExport->text(), QStringLiteral("T150"));
        QCOMPARE(form.btnExport->menu(), form.mnuExport);
        QCOMPARE(form.mnuExportAll->text(), QStringLiteral("T158"));
        QVERIFY(form.mnuExportAll->isEnabled());
        QTemporaryDir folder;
        m_env->dialogs.savePath = folder.filePath("results"); // typed without its type
        form.mnuExportAll->trigger();
        QCOMPARE(m_env->dialogs.saveRequests.size(), 1);
        const QStringList request = m_env->dialogs.saveRequests[0];
        QCOMPARE(request[0], QStringLiteral("T150"));
        QVERIFY(request[1].endsWith("/Parlanta Alemán 2026-12-08.csv"));
        QCOMPARE(request[2], QStringLiteral("T151"));
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QFile csv(folder.filePath("results.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QByteArray bytes = csv.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF")); // the mark that tells a spreadsheet the file is UTF-8
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
        QCOMPARE(lines.size(), 1 + 7 + 1); // the headings, the school's seven results, the end of the last line
        QCOMPARE(lines[0], QStringLiteral("T50,T10,T46,T47,T153,T48,T49"));
        QCOMPARE(lines[4], QStringLiteral("Dan O'Brien,Rock 'n' Roll *live*,Pairs,Perfect,100,2026-12-07,12:00:00"));

        // The next window proposes the folder last chosen.
        m_env->dialogs.savePath.clear();
        QVERIFY(csv.remove());
        frmAdmin again(m_users->session, Named);
        again.mnuExportAll->trigger();
        QCOMPARE(m_env->dialogs.saveRequests[1][1], folder.filePath("Parlanta Alemán 2026-12-08.csv"));
        QVERIFY(!csv.exists());
        QVERIFY(m_env->dialogs.shown.isEmpty());
    }

    // The class's phrases, the most forgotten first, then the least recalled; a click lists each student's hold on
    // the phrase; the list export writes whichever of the two is shown, headed as on screen.
    void phrasesViewListsTheHardestAndEachStudentOfOne()
    {
        addSchool(m_users->file());
        scoredata::addPhraseResults(m_users->file(),
            { { "Zoe Adams", "zoo.ale#1", 3, "2026-11-01T09:00:00Z" },
                { "Zoe Adams", "zoo.ale#1", 1, "2026-11-05T09:00:00Z" },
                { "Dan O'Brien", "zoo.ale#1", 3, "2026-11-02T09:00:00Z" },
                { "Dan O'Brien", "zoo.ale#1", 1, "2026-11-09T09:00:00Z" },
                { "Dan O'Brien", "zoo.ale#1", 3, "2026-11-10T09:00:00Z" },
                { "Zoe Adams", "zoo.ale#2", 4, "2026-12-01T09:00:00Z" },
                { "Tom Star*", "num.ale#4", 3, "2026-06-01T09:00:00Z" } });
        frmAdmin form(m_users->session, Named);
        choose(form, frmAdmin::PhraseView);
        const QVector<ClassPhrase> figures = Class_Hardest_Phrases(m_users->file(), platform::currentUtc());
        const auto percent = [](double recall) { return QString::number(qRound(recall * 100)) + " %"; };
        QCOMPARE(headers(form.TreeView1), QStringList({ "T204", "T50", "T207", "T208" }));
        QCOMPARE(listRows(form.TreeView1),
            QStringList({ "Text of zoo.ale#1|2|2|" + percent(figures[0].meanRecall),
                "Text of num.ale#4|1|0|" + percent(figures[1].meanRecall),
                "Text of zoo.ale#2|1|0|" + percent(figures[2].meanRecall) }));
        QCOMPARE(form.lblList->text(), QStringLiteral("T210"));
        QVERIFY(!form.tabResults->isTabEnabled(1));
        QVERIFY(!form.mnuExportChart->isEnabled());

        QTemporaryDir folder;
        const auto exported = [&](const QString& name) {
            m_env->dialogs.savePath = folder.filePath(name);
            form.mnuExportList->trigger();
            QFile csv(m_env->dialogs.savePath);
            return csv.open(QIODevice::ReadOnly)
                ? QString::fromUtf8(csv.readAll().mid(3)).split("\r\n", Qt::SkipEmptyParts)
                : QStringList();
        };
        const QStringList phrases = exported("phrases.csv");
        QCOMPARE(phrases.size(), 1 + 3);
        QCOMPARE(phrases[0], QStringLiteral("T204,T50,T207,T208"));
        QVERIFY(phrases[1].startsWith("Text of zoo.ale#1,2,2,"));

        form.TreeView1_NodeClick(form.TreeView1->topLevelItem(0));
        const QVector<StudentPhrase> students = Phrase_Students(m_users->file(), "zoo.ale#1", platform::currentUtc());
        const QLocale locale = Interface_Locale(m_users->session.InterfaceLanguage);
        QCOMPARE(headers(form.ListView1), QStringList({ "T205", "T206", "T207", "T208", "T209" }));
        QCOMPARE(listRows(form.ListView1),
            QStringList({ "Dan O'Brien|3|1|" + percent(students[0].memory.recall) + '|'
                    + locale.toString(students[0].memory.state.due.toLocalTime().date(), QLocale::ShortFormat),
                "Zoe Adams|2|1|" + percent(students[1].memory.recall) + '|'
                    + locale.toString(students[1].memory.state.due.toLocalTime().date(), QLocale::ShortFormat) }));
        QCOMPARE(form.lblList->text(), QStringLiteral("Text of zoo.ale#1"));
        const QStringList held = exported("zoo 1.csv");
        QCOMPARE(held.size(), 1 + 2);
        QCOMPARE(held[0], QStringLiteral("T205,T206,T207,T208,T209"));
        QVERIFY(held[1].startsWith("Dan O'Brien,3,1,"));
        QVERIFY(m_env->dialogs.shown.isEmpty());
    }

    // Without phrase results the view says so; the score views that follow have their own columns back.
    void phrasesViewWithoutPhraseResults()
    {
        addSchool(m_users->file());
        frmAdmin form(m_users->session, Named);
        choose(form, frmAdmin::PhraseView);
        QCOMPARE(topTexts(form.TreeView1), QStringList({ "T211" }));
        form.TreeView1_NodeClick(form.TreeView1->topLevelItem(0));
        QCOMPARE(form.ListView1->topLevelItemCount(), 0);
        QCOMPARE(form.lblList->text(), QString());
        QVERIFY(!form.mnuExportList->isEnabled());

        choose(form, StudentView);
        QVERIFY(form.TreeView1->isHeaderHidden());
        QCOMPARE(form.TreeView1->columnCount(), 1);
        QVERIFY(form.tabResults->isTabEnabled(1));
        QCOMPARE(headers(form.ListView1), QStringList({ "T10", "T47", "T48", "T49" }));
    }

    // The list shown goes out as it is listed, and the chart as the picture drawn; neither before a child is
    // clicked, and neither again once another view has cleared them.
    void theListAndTheChartShownAreExported()
    {
        addSchool(m_users->file());
        frmAdmin form(m_users->session, Named);
        form.show();
        QVERIFY(!form.mnuExportList->isEnabled());
        QVERIFY(!form.mnuExportChart->isEnabled());
        choose(form, SubjectView);
        form.TreeView1_NodeClick(child(form.TreeView1, "Rock 'n' Roll *live*", "Dan O'Brien"));
        QVERIFY(form.mnuExportList->isEnabled());
        QTemporaryDir folder;
        m_env->dialogs.savePath = folder.filePath("dan.csv");
        form.mnuExportList->trigger();
        QFile csv(m_env->dialogs.savePath);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll().mid(3)).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + form.ListView1->topLevelItemCount());
        QCOMPARE(lines[1], QStringLiteral("Dan O'Brien,Rock 'n' Roll *live*,Pairs,Perfect,100,2026-12-07,12:00:00"));

        // The list's tab is current: the export draws the chart first.
        QCOMPARE(form.mnuExportChart->text(), QStringLiteral("T159"));
        m_env->dialogs.savePath = folder.filePath("chart");
        const QSizeF onScreen = form.chartView->chart()->size();
        form.mnuExportChart->trigger();
        QCOMPARE(form.chartView->chart()->size(), onScreen);
        QCOMPARE(m_env->dialogs.saveRequests.last()[2], QStringLiteral("T160"));
        QVERIFY(m_env->dialogs.saveRequests.last()[1].endsWith(".png"));
        const QImage picture(folder.filePath("chart.png"), "PNG");
        QVERIFY2(picture.width() >= 1600, qPrintable(QString::number(picture.width())));
        // The bars are drawn in it, not an empty frame: the picture has more than the background's colours.
        QSet<QRgb> colours;
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4)
                colours.insert(picture.pixel(x, y));
        QVERIFY2(colours.size() > 8, qPrintable(QString::number(colours.size())));

        choose(form, StudentView);
        QVERIFY(!form.mnuExportList->isEnabled());
        QVERIFY(!form.mnuExportChart->isEnabled());
        QCOMPARE(form.chartView->seriesCount(), 0);
        QVERIFY(m_env->dialogs.shown.isEmpty());
    }

    void anExportThatCannotBeWrittenSaysWhy()
    {
        addSchool(m_users->file());
        frmAdmin form(m_users->session, Named);
        QTemporaryDir folder;
        const QString path = folder.filePath("no such folder/results.csv");
        m_env->dialogs.savePath = path;
        form.mnuExportAll->trigger();
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        const fakes::Message& failure = m_env->dialogs.shown[0];
        QVERIFY(failure.text.startsWith("T152\r\n" + QDir::toNativeSeparators(path) + "\r\n\r\n"));
        QCOMPARE(failure.icon, platform::Icon::Warning);
        QVERIFY(!QFile::exists(path));

        form.show();
        choose(form, StudentView);
        form.TreeView1_NodeClick(child(form.TreeView1, "Zoe Adams", "Flashcards"));
        const QString picture = folder.filePath("no such folder/chart.png");
        m_env->dialogs.savePath = picture;
        form.mnuExportChart->trigger();
        QCOMPARE(m_env->dialogs.shown.size(), 2);
        QVERIFY(m_env->dialogs.shown[1].text.startsWith("T161\r\n" + QDir::toNativeSeparators(picture)));
    }

    void clearingDeletesTheDatabaseAndEndsTheProgram()
    {
        addSchool(m_users->file());
        frmAdmin form(m_users->session, Named);
        form.show();
        QSignalSpy quit(&form, &frmAdmin::quitRequested);
        m_env->dialogs.answers = { true, true };
        ModalScript script;
        form.btnClearDatabase_Click();
        QCOMPARE(m_env->dialogs.shown.size(), 2);
        QCOMPARE(script.notices, QStringList({ "T61" }));
        QCOMPARE(quit.size(), 1);
        QVERIFY(!form.isVisible());
        QVERIFY(!QFile::exists(m_users->file().path));
    }

    void clearingThatCannotDeleteSaysWhyAndCarriesOn_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("made read-only") << true;
        QTest::newRow("deleted behind the program's back") << false;
    }

    void clearingThatCannotDeleteSaysWhyAndCarriesOn()
    {
        QFETCH(bool, readOnly);
        addSchool(m_users->file());
        m_users->session.ExchangeNumber = 4244;
        const QString exchange = Get_Temp_Path() + Exchange_File_Name(m_users->session.ExchangeNumber);
        QFile file(exchange);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        if (readOnly)
            QVERIFY(QFile::setPermissions(m_users->file().path, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        else
            QVERIFY(QFile::remove(m_users->file().path));
        frmAdmin form(m_users->session, Named);
        QSignalSpy quit(&form, &frmAdmin::quitRequested);
        m_env->dialogs.answers = { true, true };
        ModalScript script;
        form.btnClearDatabase_Click();
        QVERIFY(quit.isEmpty());
        QVERIFY(script.notices.isEmpty());
        QCOMPARE(m_env->dialogs.shown.size(), 3);
        const fakes::Message& failure = m_env->dialogs.shown[2];
        QVERIFY(!failure.question);
        QCOMPARE(failure.text, (readOnly ? "T168 " : "T169 ") + m_users->file().path);
        QCOMPARE(QFile::exists(m_users->file().path), readOnly);
        // The launch's files stay for an activity that may still be reading them.
        QVERIFY(QFile::exists(exchange));
        QFile::remove(exchange);
        QFile::setPermissions(m_users->file().path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
};

QTEST_MAIN(TestFrmAdmin)
#include "tst_frmadmin.moc"
