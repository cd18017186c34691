#include "privatetemp.h"

#include <QFile>

namespace fixtures {

PrivateTempFolder::PrivateTempFolder()
    : m_wasSet(qEnvironmentVariableIsSet("TMPDIR"))
    , m_was(qgetenv("TMPDIR"))
{
    qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
}

PrivateTempFolder::~PrivateTempFolder()
{
    if (m_wasSet)
        qputenv("TMPDIR", m_was);
    else
        qunsetenv("TMPDIR");
}

}
