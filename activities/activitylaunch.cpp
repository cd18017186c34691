#include "activitylaunch.h"

#include <stdexcept>
#include <utility>

#include "activities/exchange.h"
#include "activities/studyset.h"
#include "common/apppath.h"
#include "common/captions.h"
#include "common/errorreport.h"
#include "common/failuretext.h"
#include "common/filelist.h"
#include "common/files.h"
#include "common/session.h"
#include "common/windowlock.h"
#include "platform/services.h"
#include "subjects/subjectref.h"

ActivityLauncher::ActivityLauncher(QWidget* window, const FileList& activities, SubjectChecks::Check check)
    : m_window(window)
    , FileAct(activities)
    , m_check(std::move(check))
{
}

SubjectUse ActivityLauncher::btnAct_Click(
    int index, const SubjectRef& subject, const Session& session, const QString& ActivitiesDir)
{
    try {
        return launch(index, subject, session, ActivitiesDir);
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("btnAct_Click"), QString::fromStdString(e.what()));
        return SubjectUse::NotChecked;
    }
}

SubjectUse ActivityLauncher::launch(
    int index, const SubjectRef& subject, const Session& session, const QString& ActivitiesDir)
{
    platform::Services& s = platform::services();
    if (index < 0 || index >= FileAct.listCount()) {
        Error_Report(QStringLiteral("btnAct_Click"), QStringLiteral("Subscript out of range"));
        return SubjectUse::NotChecked;
    }
    // A folder, or nothing selected: there is no subject to study.
    if (!subject.isSubject()) {
        s.dialogs->message(Caption(22), Caption(103), platform::Icon::Warning);
        return SubjectUse::NotChecked;
    }

    WindowLock lock(m_window);
    SubjectChecks checks(session, m_check);
    SubjectUse use = SubjectUse::Usable;
    if (subject.kind == SubjectRef::Kind::VirtualSubject) {
        use = Check_vSubject(subject, checks);
        if (use != SubjectUse::Usable)
            return use;
    } else {
        const QString status = checks.status(subject.file);
        if (status != ValidSubject) {
            Report_Subject_Problem(session, subject.file, status);
            return SubjectUse::Unusable;
        }
    }

    const StudySet set = Get_Phraes_to_Study(subject, session, checks);
    if (set.isEmpty()) {
        s.dialogs->message(QStringLiteral("There are no phrases to study"), QString(), platform::Icon::None);
        return use;
    }
    QString error;
    if (!Write_Exchange_File(session, set, subject.subjectText, &error)) {
        Error_Report(QStringLiteral("Write_Exchange_File"),
            Failure_Text(platform::FileFailure::Unwritable,
                Get_Temp_Path() + Exchange_File_Name(session.ExchangeNumber), error));
        return use;
    }
    // An argument list: blanks in the folders need no quoting.
    const QString program = ActivitiesDir + FileAct.list(index);
    if (!s.processes->startDetached(program, { Exchange_File_Name(session.ExchangeNumber) }, Get_Temp_Path(), &error))
        Error_Report(QStringLiteral("btnAct_Click"), Program_Failure_Text(program, error));
    return use;
}
