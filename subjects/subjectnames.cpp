#include "subjectnames.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QCollator>
#include <QLocale>

#include "common/errorreport.h"
#include "subjects/nodetag.h"
#include "subjects/treenode.h"

namespace {
// Proper case as the original runtime does it: only blanks and control characters start a word, so
// "o'neil" stays "O'neil".
QString properCase(const QString& text)
{
    QString result = text;
    bool wordStart = true;
    for (QChar& c : result) {
        const char16_t u = c.unicode();
        // File names are mostly plain ASCII, which needs no look-up in the Unicode tables.
        if (u < 0x80) {
            if (u == ' ' || (u >= '\t' && u <= '\r') || u == 0) {
                wordStart = true;
                continue;
            }
            if (wordStart && u >= 'a' && u <= 'z')
                c = QChar(u - 32);
            else if (!wordStart && u >= 'A' && u <= 'Z')
                c = QChar(u + 32);
        } else if (c.isSpace()) {
            wordStart = true;
            continue;
        } else {
            c = wordStart ? c.toUpper() : c.toLower();
        }
        wordStart = false;
    }
    return result;
}
}

QString Proper_Title(const QString& fileName)
{
    // Each piece between underscores after a blank: the name with a blank in front and for every underscore.
    QString title = QLatin1Char(' ') + fileName;
    title.replace(QLatin1Char('_'), QLatin1Char(' '));
    if (title.size() < 4) {
        Error_Report(QStringLiteral("Proper_Title"), QStringLiteral("Invalid procedure call or argument"));
        return {};
    }
    title.chop(4);
    return properCase(title);
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
