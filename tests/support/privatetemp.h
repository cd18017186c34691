#pragma once

#include <QFile>
#include <QTemporaryDir>

namespace fixtures {

// A folder of the test's own that stands for the system temporary folder while the fixture lives: TMPDIR points
// at it, so the private folder Get_Temp_Path makes, with the exchange, download and sound files in it, stays apart
// from every other test's and from the user's. On destruction TMPDIR is as it was and the folder is gone.
class PrivateTempFolder
{
public:
    PrivateTempFolder() { qputenv("TMPDIR", QFile::encodeName(m_dir.path())); }
    ~PrivateTempFolder()
    {
        if (m_wasSet)
            qputenv("TMPDIR", m_was);
        else
            qunsetenv("TMPDIR");
    }
    PrivateTempFolder(const PrivateTempFolder&) = delete;
    PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;
    QString path() const { return m_dir.path(); }

private:
    const bool m_wasSet = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray m_was = qgetenv("TMPDIR");
    QTemporaryDir m_dir; // made in the temporary folder that was set before
};

}
