#pragma once

#include <functional>

#include <QString>

#include "outcome.h"
#include "platform/database.h"

namespace subjecttool {

// Makes outputPath by filling a fresh database (or a copy of templatePath) under a temporary name beside it and
// renaming it into place only when filling succeeded, so a failure or a crash never leaves a half-built file
// where the program would find it. fill may throw platform::DbError.
Outcome writeDatabaseFile(const QString& outputPath, const std::function<void(const platform::Database&)>& fill,
    const QString& templatePath = {});

}
