#pragma once

#include <QDir>
#include <QTemporaryDir>

namespace fixtures {

// The folders of a program folder without its template: for tests that load numbered captions themselves
// and must not pay for writing a template database each time.
class SubjectFolders
{
public:
    SubjectFolders()
    {
        QDir root(m_dir.path());
        for (const char* name : { "T10", "T11", "Activities" })
            root.mkdir(QLatin1String(name));
    }
    QString path() const { return QDir::toNativeSeparators(m_dir.path()) + QDir::separator(); }
    QString file(const QString& name) const { return path() + name; }

private:
    QTemporaryDir m_dir;
};

}
