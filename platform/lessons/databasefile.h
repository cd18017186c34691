#pragma once

#include <functional>

#include <QString>

#include "platform/database.h"
#include "platform/lessons/outcome.h"

namespace lessons {

// Empty when the file name of outputPath leaves room for SQLite's journal beside it, otherwise why not.
QString fileNameProblem(const QString& outputPath);

// Makes outputPath by filling a fresh database (or a copy of templatePath) under a temporary name beside it and
// renaming it into place only when filling succeeded, so a failure or a crash never leaves a half-built file
// where the program would find it. A file name that fileNameProblem refuses is refused before anything is written.
// fill may throw platform::DbError.
Outcome writeDatabaseFile(const QString& outputPath, const std::function<void(const platform::Database&)>& fill,
    const QString& templatePath = {});

}
