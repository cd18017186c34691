#include "filelist.h"

#include <algorithm>

#include <QDir>

void FileList::refresh()
{
    m_names.clear();
    if (m_path.isEmpty())
        return;
    QDir dir(m_path);
    QStringList names = dir.entryList({ m_pattern }, QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(names.begin(), names.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    m_names = names;
}
