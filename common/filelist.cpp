#include "filelist.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include <QDir>

void FileList::refresh()
{
    m_names.clear();
    // Case-blind order; each name is folded once, not at every comparison of the sort.
    // A name in two folders is listed as the first folder has it.
    std::vector<std::tuple<QString, int, QString>> keyed;
    for (int folder = 0; folder < m_paths.size(); ++folder) {
        if (m_paths[folder].isEmpty())
            continue;
        const QStringList names
            = QDir(m_paths[folder]).entryList({ m_pattern }, QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
        for (const QString& name : names)
            keyed.emplace_back(name.toCaseFolded(), folder, name);
    }
    std::sort(keyed.begin(), keyed.end());
    QString last;
    for (auto& [folded, folder, name] : keyed) {
        if (m_names.isEmpty() || folded != last)
            m_names << std::move(name);
        last = folded;
    }
}
