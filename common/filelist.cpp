#include "filelist.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QDir>

void FileList::refresh()
{
    m_names.clear();
    if (m_path.isEmpty())
        return;
    QDir dir(m_path);
    const QStringList names = dir.entryList({ m_pattern }, QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    // Case-blind order; each name is folded once, not at every comparison of the sort.
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(names.size());
    for (const QString& name : names)
        keyed.emplace_back(name.toCaseFolded(), name);
    std::sort(keyed.begin(), keyed.end());
    for (auto& entry : keyed)
        m_names << std::move(entry.second);
}
