// Building the tracked-scores views and listing one child for a large school (500 students, 40 activities,
// 200 subjects, 100,000 results), against the same statements run through the raw sqlite3 API with
// nothing shown. The second half repeats it on a copy of the file that carries indexes on tblscores.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_scores [rounds]

#include <algorithm>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <sqlite3.h>

#include "common/modmain.h"
#include "platform/database.h"
#include "platform/services.h"
#include "platform/userschema.h"
#include "students/frmadmin.h"
#include "students/scores.h"
#include "students/userdatabase.h"
#include "tests/support/fixtures.h"

namespace {
constexpr int Students = 500;
constexpr int Activities = 40;
constexpr int Subjects = 200;
constexpr int Results = 100000;

QString studentName(int i) { return QStringLiteral("Student%1 O'Family%1").arg(i); }
QString activityName(int i) { return QStringLiteral("Activity %1").arg(i, 2, 10, QLatin1Char('0')); }
QString subjectName(int i) { return QStringLiteral("Subject *%1* of the course").arg(i, 3, 10, QLatin1Char('0')); }

void makeSchool(const QString& path)
{
    const auto db = platform::Database::openFile(path, true);
    db.executeScript(platform::users::schemaScript() + QStringLiteral("BEGIN;"));
    using namespace platform::users;
    for (int i = 0; i < Students; ++i) {
        db.insertRow(UsersTable, { FirstName, LastName, Icon },
            { QStringLiteral("Student%1").arg(i), QStringLiteral("O'Family%1").arg(i), 1 + i % 40 });
    }
    quint32 seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<quint32>(n));
    };
    for (int r = 0; r < Results; ++r) {
        const int a = next(Activities);
        const QVariant text = r % 3 == 0 ? QVariant(QStringLiteral("%1/10").arg(next(11))) : QVariant();
        db.insertRow(ScoresTable,
            { ScoreStudent, ScoreSubject, ScoreActivity, TextScore, NumberScore, ScoreDate, ScoreTime },
            { studentName(next(Students)), subjectName(next(Subjects)), activityName(a), text, next(1000) / 10.0,
                QStringLiteral("2026-%1-%2")
                    .arg(1 + next(12), 2, 10, QLatin1Char('0'))
                    .arg(1 + next(28), 2, 10, QLatin1Char('0')),
                QStringLiteral("%1:%2:00")
                    .arg(next(24), 2, 10, QLatin1Char('0'))
                    .arg(next(60), 2, 10, QLatin1Char('0')) });
    }
    db.executeScript(QStringLiteral("COMMIT;"));
}

// The statements of one view, stepped through with every column read, and nothing else.
qint64 rawRun(const QString& path, const std::vector<std::pair<QByteArray, QVector<QByteArray>>>& statements)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(db, 5000);
    qint64 bytes = 0;
    for (const auto& [sql, values] : statements) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
        for (int i = 0; i < values.size(); ++i)
            sqlite3_bind_text(stmt, i + 1, values[i].constData(), static_cast<int>(values[i].size()), SQLITE_STATIC);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                sqlite3_column_text(stmt, c);
                bytes += sqlite3_column_bytes(stmt, c);
            }
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    const qint64 ns = timer.nsecsElapsed();
    // Kept, so that reading the columns cannot be optimised away.
    static volatile qint64 sink = 0;
    sink = sink + bytes;
    return ns;
}

const QByteArray StudentsSql = "SELECT tFirstname, tLastname, nIcon FROM tblUsers ORDER BY pkStudentID";
const QByteArray ActivitiesSql = "SELECT * FROM qryActivities";
const QByteArray SubjectsSql = "SELECT * FROM qrySubjects";

std::vector<std::pair<QByteArray, QVector<QByteArray>>> viewStatements(int view)
{
    switch (view) {
    case StudentView:
        return { { StudentsSql, {} }, { ActivitiesSql, {} } };
    case ActivityView:
        return { { ActivitiesSql, {} }, { SubjectsSql, {} } };
    default:
        return { { SubjectsSql, {} }, { StudentsSql, {} } };
    }
}

struct Pair
{
    QString parent;
    QString child;
};

Pair samplePair(int view)
{
    switch (view) {
    case StudentView:
        return { studentName(7), activityName(3) };
    case ActivityView:
        return { activityName(3), subjectName(42) };
    default:
        return { subjectName(42), studentName(7) };
    }
}

qint64 best(std::vector<qint64> v) { return *std::min_element(v.begin(), v.end()); }
double ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

struct Figures
{
    double rawView, readView, shownView, rawList, shownList;
    int nodes, rows;
};

Figures measure(frmAdmin& form, const QString& path, int view, int rounds)
{
    std::vector<qint64> rawView, readView, shownView, rawList, shownList;
    const Pair pair = samplePair(view);
    int nodes = 0;
    int rows = 0;
    for (int r = 0; r < rounds; ++r) {
        rawView.push_back(rawRun(path, viewStatements(view)));
        QElapsedTimer timer;
        timer.start();
        const ScoreTree tree = Read_Score_Tree(view);
        readView.push_back(timer.nsecsElapsed());

        timer.restart();
        form.cboView->setCurrentIndex(view);
        form.cboView_Click();
        // The first paint of the new tree belongs to building it.
        QCoreApplication::processEvents();
        shownView.push_back(timer.nsecsElapsed());
        nodes = form.TreeView1->topLevelItemCount();
        for (int i = 0; i < form.TreeView1->topLevelItemCount(); ++i)
            nodes += form.TreeView1->topLevelItem(i)->childCount();

        rawList.push_back(
            rawRun(path, { { Score_Lines_Statement(view).toUtf8(), { pair.parent.toUtf8(), pair.child.toUtf8() } } }));
        QTreeWidgetItem* top = form.TreeView1->findItems(pair.parent, Qt::MatchExactly).value(0);
        QTreeWidgetItem* child = nullptr;
        for (int i = 0; top && i < top->childCount(); ++i) {
            if (top->child(i)->text(0) == pair.child)
                child = top->child(i);
        }
        if (!child) {
            std::fprintf(stderr, "no node %s / %s\n", qPrintable(pair.parent), qPrintable(pair.child));
            std::exit(1);
        }
        timer.restart();
        form.TreeView1_NodeClick(child);
        QCoreApplication::processEvents();
        shownList.push_back(timer.nsecsElapsed());
        rows = form.ListView1->topLevelItemCount();
    }
    return { ms(best(rawView)), ms(best(readView)), ms(best(shownView)), ms(best(rawList)), ms(best(shownList)), nodes,
        rows };
}

void report(const char* title, const Figures (&f)[3])
{
    static const char* names[] = { "student", "activity", "subject" };
    std::printf("%s\n", title);
    std::printf("  view       nodes   raw sql  read (ratio)    shown (ratio)  | rows  raw sql  listed (ratio)\n");
    for (int v = 0; v < 3; ++v)
        std::printf("  %-8s %7d %8.1f %7.1f (%5.2f) %8.1f (%6.2f)  | %4d %8.2f %7.2f (%5.2f)\n", names[v], f[v].nodes,
            f[v].rawView, f[v].readView, f[v].readView / f[v].rawView, f[v].shownView, f[v].shownView / f[v].rawView,
            f[v].rows, f[v].rawList, f[v].shownList, f[v].shownList / f[v].rawList);
}
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    platform::installQtServices();
    Set_Product(QStringLiteral("prlale"));
    fixtures::loadNumberedCaptions();

    QTemporaryDir dir;
    const QString plain = dir.path() + QStringLiteral("/plain/");
    const QString indexed = dir.path() + QStringLiteral("/indexed/");
    QDir().mkpath(plain);
    QDir().mkpath(indexed);
    QElapsedTimer made;
    made.start();
    makeSchool(plain + QStringLiteral("Users.dat"));
    QFile::copy(plain + QStringLiteral("Users.dat"), indexed + QStringLiteral("Users.dat"));
    platform::Database::openFile(indexed + QStringLiteral("Users.dat"))
        .executeScript(QStringLiteral("CREATE INDEX idxScoresName ON tblscores (tName, tActivity);"
                                      "CREATE INDEX idxScoresActivity ON tblscores (tActivity, tSubject);"
                                      "CREATE INDEX idxScoresSubject ON tblscores (tSubject, tName);"));
    std::printf("school: %d students, %d activities, %d subjects, %d results (made in %.0f ms); best of %d rounds\n",
        Students, Activities, Subjects, Results, ms(made.nsecsElapsed()), rounds);
    std::printf("times in ms; ratios against the raw statements of the same row\n");
    std::printf("  read = Read_Score_Tree (the same statements through the platform layer)\n");
    std::printf("  shown = choosing the view in a shown frmAdmin: statements, every node, first paint\n");

    for (const QString& folder : { plain, indexed }) {
        modMain.DataDir = folder;
        frmAdmin form;
        form.show();
        QCoreApplication::processEvents();
        Figures f[3];
        for (int v = 0; v < 3; ++v)
            f[v] = measure(form, modMain.DataDir + QStringLiteral("Users.dat"), v, rounds);
        report(folder == plain ? "tblscores as the template has it (no index)"
                               : "with indexes on (tName, tActivity), (tActivity, tSubject), (tSubject, tName)",
            f);
    }
    return 0;
}
