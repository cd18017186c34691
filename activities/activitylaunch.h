#pragma once

#include <QString>

class FileList;
class QTreeWidget;
class QWidget;
struct Session;

// The launch of an activity with the phrases of the subject selected in the main tree: the subject is checked,
// its phrases gathered with their sounds, the exchange file written and the activity program started without
// waiting for it. window is kept from input meanwhile.
class ActivityLauncher
{
public:
    ActivityLauncher(QTreeWidget* TreeFolders, QWidget* window, const FileList& FileAct);
    void btnAct_Click(int index, const Session& session, const QString& ActivitiesDir);

private:
    void launch(int index, const Session& session, const QString& ActivitiesDir);
    QTreeWidget* TreeFolders;
    QWidget* m_window;
    const FileList& FileAct;
};
