#pragma once

#include <QString>

#include "subjects/subjectchecks.h"

class FileList;
class QWidget;
struct Session;
struct SubjectRef;

// The launch of an activity with the phrases of the subject chosen in the main tree: the subject is checked,
// its phrases gathered with their sounds, the exchange file written and the activity program started without
// waiting for it. window is kept from input meanwhile. Each installed subject is checked with check once a
// launch.
class ActivityLauncher
{
public:
    ActivityLauncher(QWidget* window, const FileList& FileAct, SubjectChecks::Check check = Check_Subject);
    // What the check found of the subject, for its node to show (Show_Subject_Use).
    SubjectUse btnAct_Click(
        int index, const SubjectRef& subject, const Session& session, const QString& ActivitiesDir);

private:
    SubjectUse launch(int index, const SubjectRef& subject, const Session& session, const QString& ActivitiesDir);
    QWidget* m_window;
    const FileList& FileAct;
    SubjectChecks::Check m_check;
};
