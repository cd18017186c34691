// The tracked-scores window with the school's 100,000 results: each view chosen, one child listed in each, and
// an activity storing its result row beside them.

#include <memory>
#include <stdexcept>

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "app/frmmain.h"
#include "app/modmain.h"
#include "bench/figures.h"
#include "bench/measure.h"
#include "bench/raw.h"
#include "bench/school.h"
#include "bench/startedprogram.h"
#include "games/common/scorewriter.h"
#include "platform/database.h"
#include "platform/userschema.h"
#include "students/frmadmin.h"
#include "students/frmprogress.h"
#include "students/scorecharts.h"
#include "students/scorechartview.h"
#include "students/scoreexport.h"
#include "students/scores.h"
#include "students/userdatabase.h"
#include "subjects/phraselookup.h"

namespace bench {

namespace {

    const QString Prefix = QStringLiteral("tracked scores, ");
    const QString RowFigure = QStringLiteral("activity writes its result row");
    const QString ExportFigure = QStringLiteral("tracked scores, export every result as CSV");
    const QString ChartFigure = QStringLiteral("tracked scores, draw one student's chart");
    const QString ProgressFigure = QStringLiteral("my progress, open one student's window");

    struct View
    {
        int index;
        const char* name;
        // The statements the view reads its nodes from, as the user database names them.
        QList<QByteArray> names;
        int tops;
        int children;
        // The result statement of a child, its parent's text bound first.
        QByteArray results;
    };

    const View Views[] = {
        { StudentView, "student", { "Select * from tblUsers", "Select * from qryActivities" }, Students, Activities,
            "Select * from tblscores where tName = ? and tActivity = ?" },
        { ActivityView, "activity", { "Select * from qryActivities", "Select * from qrySubjects" }, Activities,
            ScoredSubjects, "Select * from tblscores where tActivity = ? and tSubject = ?" },
        { SubjectView, "subject", { "Select * from qrySubjects", "Select * from tblUsers" }, ScoredSubjects, Students,
            "Select * from tblscores where tSubject = ? and tName = ?" },
    };

    QString viewFigure(const View& view) { return Prefix + QLatin1String(view.name) + QStringLiteral(" view"); }
    QString childFigure(const View& view)
    {
        return Prefix + QStringLiteral("list one child of the ") + QLatin1String(view.name) + QStringLiteral(" view");
    }

    // The window as btnAdmin shows it, with nothing chosen yet.
    std::unique_ptr<frmAdmin> openWindow(frmMain& main)
    {
        auto form = std::make_unique<frmAdmin>(modMain, Phrase_Text_Of(modMain), &main);
        form->show();
        settle();
        return form;
    }

    void choose(frmAdmin& form, const View& view)
    {
        form.cboView->setCurrentIndex(view.index);
        form.cboView_Click();
        settle();
    }

    void viewFigures(frmMain& main, const QString& users)
    {
        for (const View& view : Views) {
            if (!wanted(viewFigure(view)))
                continue;
            std::unique_ptr<frmAdmin> form;
            int rows = 0;
            compare(viewFigure(view),
                { [&] { choose(*form, view); },
                    [&] {
                        form.reset();
                        form = openWindow(main);
                    } },
                { [&] { rows = raw::select(users, view.names); } });
            need(rows == view.tops + view.children,
                QStringLiteral("the names of the %1 view are missing").arg(view.name));
            QTreeWidget* tree = form->TreeView1;
            need(tree->topLevelItemCount() == view.tops
                    && tree->topLevelItem(view.tops - 1)->childCount() == view.children,
                QStringLiteral("the %1 view does not show every node").arg(view.name));
        }
    }

    void childFigures(frmMain& main, const QString& users)
    {
        const std::unique_ptr<frmAdmin> form = openWindow(main);
        for (const View& view : Views) {
            if (!wanted(childFigure(view)))
                continue;
            choose(*form, view);
            // A pair in the middle of the tree, reached as the user reaches it: its parent opened, scrolled to.
            QTreeWidgetItem* parent = form->TreeView1->topLevelItem(view.tops / 2);
            QTreeWidgetItem* child = parent->child(view.children / 2);
            parent->setExpanded(true);
            form->TreeView1->scrollToItem(child);
            settle();
            QWidget* viewport = form->TreeView1->viewport();
            const QPoint point = form->TreeView1->visualItemRect(child).center();
            const QVariantList pair { parent->text(0), child->text(0) };
            int rows = -1;
            compare(childFigure(view),
                { [&] {
                     QTest::mouseClick(viewport, Qt::LeftButton, {}, point);
                     settle();
                 },
                    [&] {
                        form->ListView1->clear();
                        // Not another current node: the tree would scroll to it.
                        form->TreeView1->selectionModel()->clear();
                        settle();
                    } },
                { [&] { rows = raw::select(users, { view.results }, pair); } });
            need(rows > 0 && form->ListView1->topLevelItemCount() == rows,
                QStringLiteral("the child of the %1 view did not list its results").arg(view.name));
        }
    }

    // One activity's row among the school's results; every run adds it to the same table, so the rows that
    // follow the school's are taken away before the next. The activity's own writer (games/common) is not linked
    // into the benchmark, so the row goes the way that writer sends it: a connection of the database layer, one
    // INSERT with its values bound.
    void rowFigure(const QString& users)
    {
        using namespace platform::users;
        const platform::Database db = platform::Database::openFile(users);
        const qint64 last
            = db.query(QStringLiteral("SELECT max(%1) FROM %2").arg(ScoreId, ScoresTable)).value(0, 0).toLongLong();
        const QVariant sequence
            = db.query(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"), { ScoresTable }).value(0, 0);
        const auto putBack
            = [&] { db.execute(QStringLiteral("DELETE FROM %1 WHERE %2 > ?").arg(ScoresTable, ScoreId), { last }); };

        const QDateTime when = QDateTime::currentDateTime();
        const QVariantList values { studentName(0), subjectName(0), activityName(0), QStringLiteral("7/10"), 70.0,
            when.toString(QStringLiteral("yyyy-MM-dd")), when.toString(QStringLiteral("HH:mm:ss")) };
        const games::ScoreWriter writer(users);
        const games::ScoreRow row { studentName(0), subjectName(0), activityName(0), QStringLiteral("7/10"), 70.0, when,
            {} };
        const QByteArray insert = "INSERT INTO tblscores (tName, tSubject, tActivity, textScore, numberScore, nDate, "
                                  "nTime) VALUES (?, ?, ?, ?, ?, ?, ?)";
        qint64 stored = 0;
        compare(RowFigure, { [&] { stored += writer.write(row).saved() ? 1 : 0; }, putBack },
            { [&] { raw::execute(users, { insert }, { values }, false); }, putBack });
        putBack();
        db.execute(QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ?"), { sequence, ScoresTable });
        need(stored > 0, QStringLiteral("the activity's row was not stored"));
    }

    // Every result into a file, against reading the same columns of every row.
    void exportFigure(const QString& users)
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("results.csv"));
        QString error;
        int rows = 0;
        compare(ExportFigure, { [&] { error = Export_Results(Users_Of(modMain), path); } }, { [&] {
            rows = raw::select(users,
                { "SELECT tName, tSubject, tActivity, textScore, numberScore, nDate, nTime FROM tblscores "
                  "ORDER BY pkScoreID" });
        } });
        need(error.isEmpty(), QStringLiteral("the export failed: ") + error);
        QFile file(path);
        need(file.open(QIODevice::ReadOnly) && file.readAll().count('\n') == rows + 1 && rows == Results,
            QStringLiteral("the export does not hold every result"));
        value(QStringLiteral("tracked scores, size of the export"), QStringLiteral("%1 KB").arg(file.size() / 1024));
    }

    // One student's results read and drawn into a picture of the chart's size, against reading the same rows.
    void chartFigure(const QString& users)
    {
        const QString student = studentName(0);
        ScoreChartView view(Interface_Locale(modMain.InterfaceLanguage));
        view.resize(640, 420);
        int points = 0;
        int rows = 0;
        compare(ChartFigure, { [&] {
            view.showProgress(student, Student_Progress(Users_Of(modMain), student));
            view.grab();
            points = view.pointCount();
        } },
            { [&] {
                rows = raw::select(users,
                    { "SELECT tActivity, textScore, numberScore, nDate, nTime FROM tblscores WHERE tName = ? "
                      "ORDER BY nDate, nTime, pkScoreID" },
                    { student });
            } });
        need(points > 0 && points == rows, QStringLiteral("the chart does not draw the student's results"));
    }

    // The student's own window opened and drawn (subjects, chart, latest results), against reading the same rows.
    void progressFigure(const QString& users)
    {
        const QString student = studentName(Students / 2);
        int points = 0;
        int latest = 0;
        int rows = 0;
        compare(ProgressFigure, { [&] {
            Session session = modMain;
            session.CurrentStudent = student;
            frmProgress form(session, Phrase_Text_Of(session));
            form.grab();
            points = form.chartView->pointCount();
            latest = form.lstLatest->topLevelItemCount();
        } },
            { [&] {
                rows = raw::select(users,
                    { "SELECT DISTINCT tSubject FROM tblscores WHERE tName = ? ORDER BY tSubject",
                        "SELECT tActivity, textScore, numberScore, nDate, nTime FROM tblscores WHERE tName = ? "
                        "ORDER BY nDate, nTime, pkScoreID",
                        "SELECT tSubject, tActivity, textScore, numberScore, nDate, nTime FROM tblscores WHERE tName = "
                        "? ORDER BY nDate DESC, nTime DESC, pkScoreID DESC LIMIT 10" },
                    { student });
            } });
        need(points > 0 && latest == frmProgress::LatestCount && rows > points,
            QStringLiteral("the progress window does not show the student's results"));
    }

    const Group registered(50, [](const Context& context) { scoresFigures(context.school); });

}

void scoresFigures(const ProgramFolder& school)
{
    bool any = wanted(RowFigure) || wanted(ExportFigure) || wanted(ChartFigure) || wanted(ProgressFigure);
    for (const View& view : Views)
        any = any || wanted(viewFigure(view)) || wanted(childFigure(view));
    if (!any)
        return;
    StartedProgram program(school.path());
    const QString users = school.usersFile();
    need(QFileInfo(Users_Of(modMain).path) == QFileInfo(users),
        QStringLiteral("the program does not read the school's users"));
    viewFigures(program.main(), users);
    childFigures(program.main(), users);
    if (wanted(RowFigure))
        rowFigure(users);
    if (wanted(ExportFigure))
        exportFigure(users);
    if (wanted(ChartFigure))
        chartFigure(users);
    if (wanted(ProgressFigure))
        progressFigure(users);
}

}
