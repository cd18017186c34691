#include "treenode.h"

#include <QHash>
#include <QIcon>

#include "resources/resourcepaths.h"

namespace {
// One icon per image pair, because reading the picture files again for each of thousands of nodes costs
// more than building the tree. Never freed: icons must not outlive the application object at exit.
const QIcon& treeIcon(int image, int selectedImage)
{
    static auto* cache = new QHash<int, QIcon>();
    const int key = image * 100 + selectedImage;
    auto found = cache->find(key);
    if (found == cache->end()) {
        QIcon icon;
        const int selected = selectedImage ? selectedImage : image;
        // Both sizes, so the pictures stay sharp on screens of double density.
        icon.addFile(resources::treeImage(image), QSize(), QIcon::Normal);
        icon.addFile(resources::treeImage2x(image), QSize(), QIcon::Normal);
        icon.addFile(resources::treeImage(selected), QSize(), QIcon::Selected);
        icon.addFile(resources::treeImage2x(selected), QSize(), QIcon::Selected);
        found = cache->insert(key, icon);
    }
    return *found;
}
}

SubjectRef Subject_Ref(const QTreeWidgetItem* node)
{
    if (!node)
        return {};
    SubjectRef ref = node->data(0, RefRole).value<SubjectRef>();
    if (ref.kind == SubjectRef::Kind::VirtualSubject) {
        for (int i = 0; i < node->childCount(); ++i)
            ref.phrases << Subject_Ref(node->child(i));
    }
    return ref;
}

void setNodeRef(QTreeWidgetItem* node, const SubjectRef& ref)
{
    node->setData(0, RefRole, QVariant::fromValue(ref));
    setNodeTag(node, ref.tag().text());
}

int nodeImage(const QTreeWidgetItem* node) { return node->data(0, ImageRole).toInt(); }

int nodeSelectedImage(const QTreeWidgetItem* node) { return node->data(0, SelectedImageRole).toInt(); }

void setNodeImage(QTreeWidgetItem* node, int image, int selectedImage)
{
    node->setData(0, ImageRole, image);
    node->setData(0, SelectedImageRole, selectedImage);
    node->setIcon(0, image == NoImage ? QIcon() : treeIcon(image, selectedImage));
}

bool isBoldNode(const QTreeWidgetItem* node) { return node->font(0).bold(); }

void setBoldNode(QTreeWidgetItem* node, bool bold)
{
    QFont font = node->font(0);
    font.setBold(bold);
    node->setFont(0, font);
}

QTreeWidgetItem* makeNode(const QString& text, const QString& tag, int image, int selectedImage, bool bold)
{
    auto* node = new QTreeWidgetItem(QStringList { text });
    setNodeTag(node, tag);
    setNodeImage(node, image, selectedImage);
    if (bold)
        setBoldNode(node, true);
    return node;
}

QTreeWidgetItem* makeNode(const QString& text, const SubjectRef& ref, int image, int selectedImage, bool bold)
{
    QTreeWidgetItem* node = makeNode(text, QString(), image, selectedImage, bold);
    setNodeRef(node, ref);
    return node;
}

QTreeWidgetItem* Phrase_Node(const NodeTag& tag, int image)
{
    QTreeWidgetItem* node = makeNode(tag.field(3), QString(), image);
    Set_Phrase_Tag(node, tag);
    return node;
}

void Set_Phrase_Tag(QTreeWidgetItem* node, const NodeTag& tag)
{
    setNodeRef(node, SubjectRef::phraseOf(tag));
    // The custom editor's virtual phrases carry a sixth field, the row's own key.
    setNodeTag(node, tag.text());
}
