#pragma once

#include <QString>
#include <QStringList>

#include "subjects/subjectfile.h"

class QTreeWidgetItem;

// The "*"-separated text every subject-tree node carries: what the node is and which file and phrase it
// stands for. Fields are counted from 0; a field beyond the last reads as "".
class NodeTag
{
public:
    NodeTag() = default;
    explicit NodeTag(QStringList fields);
    static NodeTag parse(const QString& text);
    static NodeTag of(const QTreeWidgetItem* node);

    QString field(int n) const { return m_fields.value(n); }
    // The field as a whole number; 0 when it is none.
    int number(int n) const;
    int size() const { return static_cast<int>(m_fields.size()); }
    QString text() const;
    // This tag with one more field at the end.
    NodeTag with(const QString& field) const;
    bool operator==(const NodeTag& other) const = default;

private:
    QStringList m_fields;
};

// The five-field tag of a phrase: the installed subject file it comes from, its pkPhraseNo there and its
// three texts. The custom editor's tree of virtual subjects adds the row's own key as a sixth field.
NodeTag Phrase_Tag(
    const QString& file, int phraseNo, const QString& phrase, const QString& translation, const QString& translation2);
// The tag of a phrase read from an installed subject file, and of one read from a virtual subject file (its
// source file and phrase number, not the row's own key).
NodeTag Phrase_Tag(const QString& file, const PhraseRow& row);
NodeTag Phrase_Tag(const VirtualPhraseRow& row);

// What a subject-tree node carries besides its text: the tag, what it stands for and the numbers of its two
// images in the tree's image list (0 for none), so that later steps can read back which image a node shows.
enum NodeRole {
    TagRole = Qt::UserRole,
    ImageRole,
    SelectedImageRole,
    RefRole,
};

// The tag of a placeholder node: nothing to click, nothing to launch.
inline const QString IgnoreTag = QStringLiteral("IGNORE");

QString nodeTag(const QTreeWidgetItem* node);
void setNodeTag(QTreeWidgetItem* node, const QString& tag);
