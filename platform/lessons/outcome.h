#pragma once

#include <QStringList>

namespace lessons {

// Expected problems are collected as messages, each naming its file (and line where there is one), so a
// teacher sees every mistake of a file in one run instead of one per attempt.
struct Outcome
{
    QStringList errors;
    QStringList warnings;

    bool ok() const { return errors.isEmpty(); }
    void merge(const Outcome& other)
    {
        errors += other.errors;
        warnings += other.warnings;
    }
};

inline QString located(const QString& path, int line, const QString& message)
{
    return line > 0 ? QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(message)
                    : QStringLiteral("%1: %2").arg(path, message);
}

}
