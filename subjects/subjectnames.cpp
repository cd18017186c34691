#include "subjectnames.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QCollator>
#include <QLocale>

#include "common/errorreport.h"
#include "platform/lessons/subjecttitle.h"
#include "subjects/nodetag.h"
#include "subjects/treenode.h"

QString Proper_Title(const QString& fileName)
{
    if (fileName.size() < 3) {
        Error_Report(QStringLiteral("Proper_Title"), QStringLiteral("Invalid procedure call or argument"));
        return {};
    }
    return lessons::subjectTitle(fileName);
}

QString virtualFileDisplayName(const QString& fileName) { return fileName.left(qMax(0, fileName.size() - 5)); }

QString Tag_Item(int n, const QString& tag)
{
    const NodeTag fields = NodeTag::parse(tag);
    if (n < 0 || n >= fields.size()) {
        Error_Report(QStringLiteral("Tag_Item"), QStringLiteral("Subscript out of range"));
        return {};
    }
    return fields.field(n);
}

QString Tag_Item(int n, const QTreeWidgetItem* node)
{
    if (!node) {
        Error_Report(QStringLiteral("Tag_Item"), QStringLiteral("Index out of bounds"));
        return {};
    }
    return Tag_Item(n, nodeTag(node));
}

QStringList inReadingOrder(const QStringList& virtualFileNames, const QString& interfaceLanguage)
{
    // The names are in the interface language; the system's locale may be C, which sorts by code point.
    QCollator collator(
        QLocale(interfaceLanguage == QLatin1String("Spanish") ? QLocale::Spanish : QLocale::English));
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Each name is keyed once, not at every comparison of the sort; equal keys keep the list's order.
    std::vector<std::pair<QCollatorSortKey, QString>> keyed;
    keyed.reserve(virtualFileNames.size());
    for (const QString& name : virtualFileNames)
        keyed.emplace_back(collator.sortKey(virtualFileDisplayName(name)), name);
    std::stable_sort(
        keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    QStringList ordered;
    ordered.reserve(virtualFileNames.size());
    for (auto& entry : keyed)
        ordered << std::move(entry.second);
    return ordered;
}
