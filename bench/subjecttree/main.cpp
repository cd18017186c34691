// Building the subject tree for a large library, against the least any implementation must do: list the
// two folders and read every virtual file's tblParents.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_subjecttree [rounds]

#include <algorithm>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <sqlite3.h>

#include "app/frmsplash.h"
#include "common/modmain.h"
#include "common/statuslog.h"
#include "common/filelist.h"
#include "platform/database.h"
#include "platform/services.h"
#include "tests/support/fixtures.h"
#include "subjects/subjecttree.h"

namespace {
constexpr int InstalledSubjects = 2000;
constexpr int VirtualFiles = 200;
constexpr int SubjectsPerFile = 10;

void makeLibrary(const QString& root)
{
    QDir(root).mkpath(QStringLiteral("installed"));
    QDir(root).mkpath(QStringLiteral("virtual"));
    const QString subject = root + QStringLiteral("/one.db");
    {
        const auto db = platform::Database::openFile(subject, true);
        db.executeScript(QStringLiteral("CREATE TABLE tblPhrases (pkPhraseNo INTEGER PRIMARY KEY, tPhrase TEXT, "
                                        "tTranslation TEXT, tTranslation2 TEXT, bsound BLOB);"
                                        "CREATE TABLE tblProperties (tProgramCode TEXT);"
                                        "INSERT INTO tblProperties VALUES ('prlale');"));
        for (int k = 1; k <= 10; ++k)
            db.execute(QStringLiteral("INSERT INTO tblPhrases VALUES (?,?,?,?,?)"),
                { k, QStringLiteral("Satz %1").arg(k), QStringLiteral("Frase %1").arg(k), QString(),
                    QByteArray(4000, char(k)) });
    }
    const QString virtualFile = root + QStringLiteral("/one.vdb");
    {
        const auto db = platform::Database::openFile(virtualFile, true);
        db.executeScript(
            QStringLiteral("CREATE TABLE tblParents (nParent INTEGER PRIMARY KEY AUTOINCREMENT, tParentName TEXT);"
                           "CREATE TABLE tblPhrases (pkPhraseNo INTEGER PRIMARY KEY AUTOINCREMENT, fkParent INTEGER, "
                           "tfilename TEXT, nPhraseNo INTEGER, tPhrase TEXT, tTranslation TEXT, tTranslation2 TEXT);"));
        for (int s = 1; s <= SubjectsPerFile; ++s)
            db.execute(QStringLiteral("INSERT INTO tblParents (tParentName) VALUES (?)"),
                { QStringLiteral("My subject %1").arg(s) });
    }
    for (int i = 0; i < InstalledSubjects; ++i)
        QFile::copy(subject,
            root + QStringLiteral("/installed/lesson_number_%1_of_the_library.ale").arg(i, 4, 10, QLatin1Char('0')));
    for (int i = 0; i < VirtualFiles; ++i)
        QFile::copy(virtualFile, root + QStringLiteral("/virtual/My words %1.vale").arg(i, 3, 10, QLatin1Char('0')));
}

// The floor: the two sorted listings and each virtual file's rows, with nothing shown.
qint64 baseline(const QString& installed, const QString& virtualDir, int* rows)
{
    QElapsedTimer timer;
    timer.start();
    FileList files1;
    files1.setPath(installed);
    files1.setPattern(QStringLiteral("*.ale"));
    files1.refresh();
    FileList files2;
    files2.setPath(virtualDir);
    files2.setPattern(QStringLiteral("*.vale"));
    files2.refresh();
    int n = files1.listCount();
    for (const QString& name : files2.names()) {
        sqlite3* db = nullptr;
        sqlite3_open_v2((virtualDir + name).toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM tblParents", -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const QString key = QString::number(sqlite3_column_int64(stmt, 0));
            const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
            n += (key.isEmpty() || text.isEmpty()) ? 0 : 1;
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
    }
    *rows = n;
    return timer.nsecsElapsed();
}

qint64 buildTree(QTreeWidget& tree, FileList& file1, FileList& file2)
{
    tree.clear();
    QElapsedTimer timer;
    timer.start();
    SubjectTree subjects(&tree, &file1, &file2);
    subjects.Create_Folders();
    subjects.Get_Subjects();
    subjects.Get_vSubjects();
    return timer.nsecsElapsed();
}

qint64 best(std::vector<qint64> v) { return *std::min_element(v.begin(), v.end()); }

double ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }
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
    makeLibrary(dir.path());
    modMain.InstalledSubjectsDir = dir.path() + QStringLiteral("/installed/");
    modMain.VirtualSubjectsDir = dir.path() + QStringLiteral("/virtual/");
    FileList file1;
    file1.setPath(modMain.InstalledSubjectsDir);
    file1.setPattern(QStringLiteral("*.ale"));
    FileList file2;
    file2.setPath(modMain.VirtualSubjectsDir);
    file2.setPattern(QStringLiteral("*.vale"));

    QTreeWidget tree;
    std::vector<qint64> floor, hidden, shown, logged;
    int rows = 0;
    for (int r = 0; r < rounds; ++r) {
        floor.push_back(baseline(modMain.InstalledSubjectsDir, modMain.VirtualSubjectsDir, &rows));
        hidden.push_back(buildTree(tree, file1, file2));
    }
    const int nodes = [&] {
        int n = tree.topLevelItemCount();
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            n += tree.topLevelItem(i)->childCount();
        return n;
    }();

    // The tree on screen, the start-up window not showing.
    tree.resize(360, 360);
    tree.show();
    QCoreApplication::processEvents();
    for (int r = 0; r < rounds; ++r)
        shown.push_back(buildTree(tree, file1, file2));

    // As at start-up: the start-up window shows its status log, one line per subject. The log alone, with
    // the same lines and no tree, tells how much of that is the log's.
    const int logRounds = std::min(rounds, 2);
    qint64 logOnly = 0;
    for (int r = 0; r < logRounds; ++r) {
        auto* splash = new frmSplash(QPixmap());
        splash->show();
        QCoreApplication::processEvents();
        logged.push_back(buildTree(tree, file1, file2));
        splash->close();
        QCoreApplication::processEvents();
    }
    {
        auto* splash = new frmSplash(QPixmap());
        splash->show();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < nodes - 3; ++i)
            Put_Status_Line(QStringLiteral("T23  Lesson Number %1 Of The Library").arg(i));
        logOnly = timer.nsecsElapsed();
        splash->close();
    }

    const double floorMs = ms(best(floor));
    std::printf("library: %d installed subjects, %d virtual files x %d virtual subjects (%d nodes, %d rows read)\n",
        InstalledSubjects, VirtualFiles, SubjectsPerFile, nodes, rows);
    std::printf("best of %d rounds (%d with the status log)\n", rounds, logRounds);
    std::printf("  baseline: list both folders, raw sqlite3 tblParents  %10.1f ms\n", floorMs);
    std::printf("  tree, hidden (the main window at start-up)           %10.1f ms   ratio %.2f\n", ms(best(hidden)),
        ms(best(hidden)) / floorMs);
    std::printf("  tree, shown                                          %10.1f ms   ratio %.2f\n", ms(best(shown)),
        ms(best(shown)) / floorMs);
    std::printf("  tree, shown, start-up status log showing             %10.1f ms   ratio %.2f\n", ms(best(logged)),
        ms(best(logged)) / floorMs);
    std::printf("    of which the status log alone (%d lines)         %10.1f ms\n", nodes - 3, ms(logOnly));
    return 0;
}
