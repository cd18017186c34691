#pragma once

#include <functional>

#include <QStringList>
#include <QVector>

#include "common/filelist.h"
#include "common/session.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/subjectfolders.h"

namespace fixtures {

// A file list of the folder and pattern given, as the main window's File1 / File2 are set up.
inline FileList fileList(const QString& folder, const QString& pattern)
{
    FileList list;
    list.setPath(folder);
    list.setPattern(pattern);
    return list;
}

// A program over bare subject folders: the product of programSession, the folders' installed and virtual subjects.
inline Session subjectSession(const SubjectFolders& folders)
{
    Session session = programSession(folders.path());
    session.InstalledSubjectsDir = folders.file(QStringLiteral("T10/"));
    session.VirtualSubjectsDir = folders.file(QStringLiteral("T11/"));
    return session;
}
}

namespace fakes {

// The texts of the error reports among the messages shown, in order.
inline QStringList errorReports(const Dialogs& dialogs)
{
    QStringList reports;
    for (const Message& m : dialogs.shown) {
        if (m.title == QStringLiteral("ERROR") && m.icon == platform::Icon::Critical)
            reports << m.text;
    }
    return reports;
}

// Scripted numbers for the random draws, repeated from the start when they run out.
inline std::function<double()> numbers(QVector<double> values)
{
    return [values, i = 0]() mutable { return values[i++ % values.size()]; };
}

}
