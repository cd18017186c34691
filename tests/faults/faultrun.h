#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The parent side of the fault tests: starts the test executable again as a child with the fault shim preloaded
// and reads what the shim and the child said.
namespace faults {

struct Fault
{
    QString folder; // the folder whose changes are counted
    long killAt = 0; // the change the child dies at; 0 for none
    long long fullAfter = -1; // the bytes the disk takes; -1 for no limit
    QProcessEnvironment extra; // further variables, such as TMPDIR
};

struct Step
{
    QString what; // "write", "rename", "unlink", ...
    QString path; // empty for a change through an open file
    long long bytes = -1; // the size of a write; -1 for other changes
};

struct ChildRun
{
    bool started = false;
    bool killed = false; // ended by the fault, not by itself
    int exitCode = -1;
    QStringList output; // the child's own "key value" lines
    QString errors; // the child's standard error without the shim's lines
    QVector<Step> steps; // the changes made, the last one being the one the child died at
    long totalSteps = -1; // counted by a child that ended by itself
    long long totalBytes = -1;

    // The values of the child's lines with this key, in order.
    QStringList values(const QString& key) const;
    QString describe() const;
};

// Where the shim is, from the build; empty when this platform has none.
QString shimPath();
ChildRun runChild(const QStringList& arguments, const Fault& fault);

}
