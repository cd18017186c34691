#include <memory>

#include <QTreeWidgetItem>

#include "subjects/nodetag.h"
#include "subjects/subjectnames.h"
#include "subjects/treenode.h"
#include "tests/fuzz/fuzzbodies.h"
#include "tests/support/fakes.h"

namespace {
// Tag_Item reports a field beyond the last; the report goes to a fake, so no box waits for a click.
fakes::Dialogs& reports()
{
    static fakes::Dialogs dialogs;
    platform::services().dialogs = &dialogs;
    return dialogs;
}

// The fields at both ends, and a few from the start: every field costs Tag_Item a parse of the whole text.
QList<int> probedFields(const NodeTag& tag)
{
    QList<int> fields { -1, tag.size() - 1, tag.size() };
    for (int n = 0; n < qMin(tag.size() - 1, 6); ++n)
        fields << n;
    return fields;
}

void requireTagItem(int n, const QString& text, const QTreeWidgetItem* node, const NodeTag& tag)
{
    fakes::Dialogs& dialogs = reports();
    dialogs.shown.clear();
    const QString item = Tag_Item(n, text);
    const bool inRange = n >= 0 && n < tag.size();
    fuzzRequire(item == (inRange ? tag.field(n) : QString()), "Tag_Item reads the field of the tag");
    fuzzRequire(dialogs.shown.size() == (inRange ? 0 : 1), "Tag_Item reports exactly a field beyond the last");
    fuzzRequire(Tag_Item(n, node) == item, "Tag_Item reads a node's tag as its text");
}
}

int fuzzNodeTag(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const NodeTag tag = NodeTag::parse(text);
    fuzzRequire(tag.size() == text.count(QLatin1Char('*')) + 1, "a tag has one field more than separators");
    fuzzRequire(tag.text() == text, "a tag reads back as the text it was parsed from");
    fuzzRequire(tag.field(-1).isEmpty() && tag.field(tag.size()).isEmpty(), "a field beyond the tag reads as \"\"");

    const NodeTag longer = tag.with(tag.field(0));
    fuzzRequire(longer.size() == tag.size() + 1 && longer.field(tag.size()) == tag.field(0),
        "with() adds one field at the end");
    fuzzRequire(NodeTag::parse(longer.text()) == longer, "a longer tag reads back as itself");

    const std::unique_ptr<QTreeWidgetItem> node(Phrase_Node(tag, NoImage));
    fuzzRequire(NodeTag::of(node.get()) == tag, "a node gives back the tag it was made with");
    fuzzRequire(node->text(0) == tag.field(3), "a phrase node shows its translation");
    for (const int n : probedFields(tag)) {
        tag.number(n);
        requireTagItem(n, text, node.get(), tag);
    }
    return 0;
}
