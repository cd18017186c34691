#pragma once

#include <exception>

#include <QFile>
#include <QString>

#include "platform/filefailure.h"

// What the user is told about a file, folder or program that failed, in the interface language and naming it.
// The system's own description is English and meant for whoever looks after the program: it goes to the log.
QString Failure_Text(platform::FileFailure failure, const QString& path, const QString& detail);
// A QFile whose open, read or write failed, named by its own file name.
QString Failure_Text(const QFile& file, bool writing);
// A copy of source to target that failed: a missing source, or else the target that could not be written.
QString Copy_Failure_Text(const QFile& source, const QString& target);
// A failure thrown while using a file: a database failure that names its file is told by its kind; any other keeps
// its description.
QString Failure_Text(const std::exception& e);
// A program of the Activities folder that would not start.
QString Program_Failure_Text(const QString& program, const QString& detail);
