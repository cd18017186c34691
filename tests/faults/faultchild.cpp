#include "faultchild.h"

#include <cstdio>
#include <functional>
#include <stdexcept>

#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QTreeWidget>

#include "activities/activitylaunch.h"
#include "common/filelist.h"
#include "common/session.h"
#include "custom/virtualfiles.h"
#include "games/common/scorewriter.h"
#include "students/userdatabase.h"
#include "subjects/subjectnames.h"
#include "subjects/subjecttree.h"
#include "subjects/treeevents.h"
#include "subjects/treenode.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/subjectsession.h"

namespace faults {

namespace {

    void report(const QString& key, const QString& value)
    {
        std::printf("%s %s\n", key.toUtf8().constData(), QString(value).replace(u'\n', u' ').toUtf8().constData());
        std::fflush(stdout);
    }

    // The program folder's session: its subjects in T10 and T11, the numbered texts.
    Session childSession(const QString& folder)
    {
        Session session = fixtures::programSession(folder);
        fixtures::loadNumberedCaptions();
        session.InstalledSubjectsDir = folder + QStringLiteral("T10/");
        session.VirtualSubjectsDir = folder + QStringLiteral("T11/");
        session.ExchangeNumber = ChildWindowHandle;
        return session;
    }

    int rename(const Session& session, const QStringList& a)
    {
        const RenameResult result = Rename_Virtual_File(session, a[2], a[3]);
        report(QStringLiteral("rename"),
            result == RenameResult::Done ? QStringLiteral("done") : QStringLiteral("refused"));
        return 0;
    }

    int copy(const Session& session, const QStringList& a)
    {
        const CopiedSubject copied = Copy_Subject(session, a[2], a[3], a[4]);
        report(QStringLiteral("copied"), QString::number(copied.phrases.size()));
        return 0;
    }

    // Runs one operation and says whether it was done or refused, and why.
    void attempt(const QString& key, const std::function<void()>& operation)
    {
        try {
            operation();
            report(key, QStringLiteral("done"));
        } catch (const std::exception& e) {
            report(key, QStringLiteral("refused ") + QString::fromUtf8(e.what()));
        }
    }

    // What a log-in, a new student, an activity's score and the custom subjects ask of a data folder (the program
    // folder here) that holds a user database, in order.
    int dataFolder(Session session, const QStringList& a)
    {
        session.DataDir = a[1];
        const UserFile users = Users_Of(session);
        Upgrade_User_Database(users.path);
        attempt(QStringLiteral("students"),
            [&] { report(QStringLiteral("count"), QString::number(Read_Students(users).size())); });
        attempt(QStringLiteral("insert"),
            [&] { Insert_Student(users, QStringLiteral("New"), QStringLiteral("Student"), QVariant(), 3); });
        const games::ScoreWriter writer(users.path, 0);
        report(QStringLiteral("check"), writer.check().detail);
        const games::SaveResult saved = writer.write({ QStringLiteral("Ana"), QStringLiteral("Colours"),
            QStringLiteral("Pairs"), std::nullopt, 1.0, QDateTime::currentDateTime(), {} });
        report(QStringLiteral("score"), saved.saved() ? QStringLiteral("saved") : saved.detail);
        attempt(QStringLiteral("rename"), [&] { Rename_Virtual_File(session, a[2], QStringLiteral("Renamed")); });
        attempt(QStringLiteral("copy"), [&] { Copy_Subject(session, a[2], a[3], QStringLiteral("Copied")); });
        return 0;
    }

    int score(const QStringList& a)
    {
        const QDateTime now = QDateTime::currentDateTime();
        games::ScoreRow row { QStringLiteral("Ana"), QStringLiteral("Colours"), QStringLiteral("Pairs"), std::nullopt,
            1.0, now, {} };
        for (int k = 1; k <= 3; ++k)
            row.phrases.push_back({ QStringLiteral("colours.ale#%1").arg(k), k, now, std::nullopt });
        const games::SaveResult saved = games::ScoreWriter(a[2], 0).write(row);
        report(QStringLiteral("score"), saved.saved() ? QStringLiteral("saved") : saved.detail);
        return 0;
    }

    // The main window's part in a launch, as the program wires it: the tree with its click steps, the activity
    // buttons' launcher, and the window kept from input meanwhile.
    int launch(Session session, const QStringList& a)
    {
        fakes::Environment env;
        const QString folder = a[1];
        session.InterfaceLanguage = QStringLiteral("Spanish");
        session.TaughtLanguage = QStringLiteral("German");
        session.DataDir = folder;
        session.CurrentStudent = QStringLiteral("Ana");

        QWidget window;
        auto* tree = new QTreeWidget(&window);
        auto* menu = new QMenu(&window);
        FileList fileAct = fixtures::fileList(folder + QStringLiteral("Activities/"), QStringLiteral("*.exe"));
        FileList file1
            = fixtures::fileList(session.InstalledSubjectsDir, QStringLiteral("*.") + session.SubjectExtension);
        FileList file2
            = fixtures::fileList(session.VirtualSubjectsDir, QStringLiteral("*.v") + session.SubjectExtension);
        fileAct.refresh();
        SubjectTree subjects(tree, &file1, &file2, session);
        TreeEvents events(tree, &file1, session, &window, menu, menu->addAction(QStringLiteral("T112")));
        ActivityLauncher launcher(&window, fileAct);
        subjects.Create_Folders();
        subjects.Get_Subjects();
        subjects.Get_vSubjects();

        const auto found = tree->findItems(Proper_Title(a[2]).trimmed(), Qt::MatchExactly | Qt::MatchRecursive);
        if (found.isEmpty())
            throw std::runtime_error("the subject is not in the tree");
        tree->setCurrentItem(found.first());
        events.TreeFolders_NodeClick(found.first());
        launcher.btnAct_Click(0, Subject_Ref(found.first()), session, folder + QStringLiteral("Activities/"));

        for (const fakes::Message& m : env.dialogs.shown)
            report(QStringLiteral("told"), m.text);
        report(QStringLiteral("started"), QString::number(env.processes.started.size()));
        report(QStringLiteral("pid"), QString::number(QCoreApplication::applicationPid()));
        report(QStringLiteral("enabled"), window.isEnabled() ? QStringLiteral("yes") : QStringLiteral("no"));
        return 0;
    }

}

QStringList renameArguments(const QString& programFolder, const QString& oldName, const QString& newName)
{
    return { QString::fromLatin1(ChildSwitch), QStringLiteral("rename"), programFolder, oldName, newName };
}

QStringList copyArguments(
    const QString& programFolder, const QString& virtualFile, const QString& sourceFile, const QString& subjectName)
{
    return { QString::fromLatin1(ChildSwitch), QStringLiteral("copy"), programFolder, virtualFile, sourceFile,
        subjectName };
}

QStringList launchArguments(const QString& programFolder, const QString& sourceFile)
{
    return { QString::fromLatin1(ChildSwitch), QStringLiteral("launch"), programFolder, sourceFile };
}

QStringList scoreArguments(const QString& programFolder, const QString& database)
{
    return { QString::fromLatin1(ChildSwitch), QStringLiteral("score"), programFolder, database };
}

QStringList dataFolderArguments(const QString& programFolder, const QString& virtualFile, const QString& sourceFile)
{
    return { QString::fromLatin1(ChildSwitch), QStringLiteral("data"), programFolder, virtualFile, sourceFile };
}

int childMain(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList a = app.arguments().mid(2);
    if (a.size() < 2)
        return 64;
    const Session session = childSession(a[1]);
    try {
        if (a[0] == QStringLiteral("rename") && a.size() == 4)
            return rename(session, a);
        if (a[0] == QStringLiteral("copy") && a.size() == 5)
            return copy(session, a);
        if (a[0] == QStringLiteral("launch") && a.size() == 3)
            return launch(session, a);
        if (a[0] == QStringLiteral("data") && a.size() == 4)
            return dataFolder(session, a);
        if (a[0] == QStringLiteral("score") && a.size() == 3)
            return score(a);
    } catch (const std::exception& e) {
        report(QStringLiteral("failed"), QString::fromUtf8(e.what()));
        return 1;
    }
    return 64;
}

}
