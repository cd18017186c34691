#pragma once

#include "activities/activitylaunch.h"
#include "common/apppath.h"
#include "common/files.h"
#include "subjects/subjectchecks.h"
#include "tests/support/treewindow.h"

namespace fixtures {

// The main window's part in a launch: its subject tree and the activity buttons' launcher. The student "Ana"
// studies; the data folder is the subject folders' own.
class MainTree : public TreeWindow
{
public:
    MainTree()
        : fileAct(fileList(activities(), QStringLiteral("*.exe")))
        , launcher(&window, fileAct, [this](const Session& s, const QString& file) {
            checked << file;
            return Check_Subject(s, file);
        })
    {
        session.DataDir = folder.path();
        session.CurrentStudent = QStringLiteral("Ana");
        session.ExchangeNumber = 815;
    }
    ~MainTree() { Delete_Temp_Files(session.ExchangeNumber); }

    QString activities() const { return folder.file(QStringLiteral("Activities/")); }
    QString exchangePath() const { return Get_Temp_Path() + Exchange_File_Name(session.ExchangeNumber); }
    // An activity button pressed, as the main window hands the launch its subject and shows what came of it.
    void launch(int index = 0)
    {
        QTreeWidgetItem* subject = subjects.launchSubject();
        Show_Subject_Use(subject, launcher.btnAct_Click(index, Subject_Ref(subject), session, activities()));
    }
    // The start-up steps a launch relies on: the activity programs found, the folders and subjects in the tree.
    void load()
    {
        fileAct.refresh();
        TreeWindow::load();
    }

    FileList fileAct;
    ActivityLauncher launcher;
    // The installed subjects the launches checked, in order.
    QStringList checked;
};

}
