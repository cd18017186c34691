#pragma once

#include <QString>
#include <QStringList>

// The child side of the fault tests: the test executable started again with "--child", making one real
// operation of the program on a program folder the parent prepared, so that a fault shim in the child can stop
// it part way. What the operation did is printed to standard output, one "key value" line each.
namespace faults {

inline const char* const ChildSwitch = "--child";

// The arguments after the switch, for each operation: a program folder that holds T10/ (installed subjects),
// T11/ (virtual subject files) and Activities/.
QStringList renameArguments(const QString& programFolder, const QString& oldName, const QString& newName);
QStringList copyArguments(
    const QString& programFolder, const QString& virtualFile, const QString& sourceFile, const QString& subjectName);
// Launches activity 0 with the installed subject sourceFile, as a click on it and on the first activity button do.
QStringList launchArguments(const QString& programFolder, const QString& sourceFile);

// A data folder's users: the log-in list, a new student, an activity's score, a rename of the virtual subject file
// virtualFile and a copy of the installed subject sourceFile into it, with the program folder as the data folder.
QStringList dataFolderArguments(const QString& programFolder, const QString& virtualFile, const QString& sourceFile);

// An activity's finished round, its score and three phrase rows, stored into the user database at `database`.
QStringList scoreArguments(const QString& programFolder, const QString& database);

// The window handle the launching child gives its exchange files.
constexpr qint64 ChildWindowHandle = 4711;

// Runs the operation named by argv[2...]; the process's exit code.
int childMain(int argc, char** argv);

}
