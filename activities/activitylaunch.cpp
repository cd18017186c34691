#include "activitylaunch.h"

#include <stdexcept>

#include <QTreeWidget>

#include "activities/exchange.h"
#include "activities/studyset.h"
#include "common/apppath.h"
#include "common/errorreport.h"
#include "common/failuretext.h"
#include "common/filelist.h"
#include "common/files.h"
#include "common/modmain.h"
#include "common/windowlock.h"
#include "platform/services.h"
#include "subjects/nodetag.h"
#include "subjects/subjectchecks.h"
#include "subjects/treenode.h"

ActivityLauncher::ActivityLauncher(QTreeWidget* tree, QWidget* window, const FileList& activities)
    : TreeFolders(tree)
    , m_window(window)
    , FileAct(activities)
{
}

void ActivityLauncher::btnAct_Click(int index, const Session& session, const QString& ActivitiesDir)
{
    try {
        launch(index, session, ActivitiesDir);
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("btnAct_Click"), QString::fromStdString(e.what()));
    }
}

void ActivityLauncher::launch(int index, const Session& session, const QString& ActivitiesDir)
{
    platform::Services& s = platform::services();
    if (index < 0 || index >= FileAct.listCount()) {
        Error_Report(QStringLiteral("btnAct_Click"), QStringLiteral("Subscript out of range"));
        return;
    }
    QTreeWidgetItem* subject = TreeFolders->currentItem();
    const QString kind = NodeTag::of(subject).field(0);
    if (kind != QStringLiteral("SUBJECT")) {
        subject = subject ? subject->parent() : nullptr;
        // A folder, or nothing selected: there is no subject to study.
        if (kind == QStringLiteral("FOLDER") || !subject) {
            s.dialogs->message(Caption(22), Caption(103), platform::Icon::Warning);
            return;
        }
        TreeFolders->setCurrentItem(subject);
    }

    WindowLock lock(m_window);
    const NodeTag tag = NodeTag::of(subject);
    if (tag.field(1) == QStringLiteral("VIRTUALSUBJECT")) {
        if (!Check_vSubject(subject))
            return;
    } else {
        const QString status = Check_Subject(tag.field(1));
        if (status != ValidSubject) {
            Report_Subject_Problem(tag.field(1), status);
            setNodeImage(subject, UnusableSubject, UnusableSubject);
            return;
        }
    }

    const StudySet set = Get_Phraes_to_Study(subject);
    if (set.isEmpty()) {
        s.dialogs->message(QStringLiteral("There are no phrases to study"), QString(), platform::Icon::None);
        return;
    }
    QString error;
    if (!Write_Exchange_File(session, set, Exchange_Subject_Text(subject), &error)) {
        Error_Report(QStringLiteral("Write_Exchange_File"),
            Failure_Text(platform::FileFailure::Unwritable, Get_Temp_Path() + Exchange_File_Name(), error));
        return;
    }
    // An argument list: blanks in the folders need no quoting.
    const QString program = ActivitiesDir + FileAct.list(index);
    if (!s.processes->startDetached(program, { Exchange_File_Name() }, Get_Temp_Path(), &error))
        Error_Report(QStringLiteral("btnAct_Click"), Program_Failure_Text(program, error));
}
