// The launch of an activity with the phrases of the selected subject.
#include "activitypanel.h"

#include <stdexcept>

#include <QTreeWidget>

#include "activities/exchange.h"
#include "activities/studyset.h"
#include "app/errorreport.h"
#include "app/frmmain.h"
#include "app/modmain.h"
#include "app/util/apppath.h"
#include "app/util/files.h"
#include "app/util/windowlock.h"
#include "platform/services.h"
#include "subjects/subjectchecks.h"
#include "subjects/treenode.h"

void ActivityPanel::btnAct_Click(int index)
{
    try {
        launch(index);
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("btnAct_Click"), QString::fromStdString(e.what()));
    }
}

void ActivityPanel::launch(int index)
{
    frmMain& w = m_window;
    platform::Services& s = platform::services();
    QTreeWidgetItem* subject = w.TreeFolders->currentItem();
    const QString kind = subject ? nodeTag(subject).split(QLatin1Char('*')).value(0) : QString();
    if (kind != QStringLiteral("SUBJECT")) {
        subject = subject ? subject->parent() : nullptr;
        // A folder, or nothing selected: there is no subject to study.
        if (kind == QStringLiteral("FOLDER") || !subject) {
            s.dialogs->message(Caption(22), Caption(103), platform::Icon::Warning);
            return;
        }
        w.TreeFolders->setCurrentItem(subject);
    }

    WindowLock lock(&w);
    const QStringList tag = nodeTag(subject).split(QLatin1Char('*'));
    if (tag.value(1) == QStringLiteral("VIRTUALSUBJECT")) {
        if (!Check_vSubject(subject))
            return;
    } else {
        const QString status = Check_Subject(tag.value(1));
        if (status != ValidSubject) {
            Report_Subject_Problem(tag.value(1), status);
            setNodeImage(subject, UnusableSubject, UnusableSubject);
            return;
        }
    }

    const int count = Get_Phraes_to_Study(subject);
    if (count < 1) {
        s.dialogs->message(QStringLiteral("There are no phrases to study"), QString(), platform::Icon::None);
        return;
    }
    modMain.StudyPhraseCount = count;
    QString error;
    if (!Write_Exchange_File(subject->text(0), &error)) {
        Error_Report(QStringLiteral("Write_Exchange_File"), error);
        return;
    }
    if (index < 0 || index >= w.FileAct.listCount()) {
        Error_Report(QStringLiteral("btnAct_Click"), QStringLiteral("Subscript out of range"));
        return;
    }
    // An argument list: blanks in the folders need no quoting.
    const QString program = w.ActivitiesDir + w.FileAct.list(index);
    if (!s.processes->startDetached(program, { Exchange_File_Name() }, Get_Temp_Path(), &error))
        Error_Report(QStringLiteral("btnAct_Click"), error + QStringLiteral(" (") + program + QLatin1Char(')'));
}
