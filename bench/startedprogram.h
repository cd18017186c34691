#pragma once

#include <memory>

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;
class frmMain;

// The program started on a program folder as a student would find it: start-up (its wait skipped), a log-in,
// the main window shown. One at a time: the program keeps its state in process-wide values.
namespace bench {

class StartedProgram
{
public:
    explicit StartedProgram(const QString& programFolder);
    ~StartedProgram();
    frmMain& main();
    QTreeWidget* tree();
    // The first installed subject node, its phrases not listed yet.
    QTreeWidgetItem* firstInstalledSubject();

private:
    std::unique_ptr<frmMain> m_main;
};

// Lets the window system catch up: pending events, then the paints they caused.
void settle();

}
