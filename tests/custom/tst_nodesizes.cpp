#include <QtTest>

#include <QHeaderView>
#include <QTreeWidget>

#include "custom/nodesizes.h"
#include "resources/resourcepaths.h"
#include "subjects/treenode.h"

namespace {
// The option a tree gives its delegate, as far as a node's size depends on it.
QStyleOptionViewItem optionOf(const QTreeWidget& tree)
{
    QStyleOptionViewItem option;
    option.initFrom(&tree);
    option.font = tree.font();
    option.decorationSize = tree.iconSize();
    option.showDecorationSelected = true;
    return option;
}
}

class TestNodeSizes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Nodes that differ in one thing only come in turn, so that a size kept for one and given to the other shows.
    void everyNodeMeasuresAsTheStandardDelegateMeasuresIt()
    {
        QTreeWidget tree;
        tree.setStyleSheet(QStringLiteral("QTreeWidget::item { padding: 2px 0; }"));
        tree.setIconSize(QSize(16, 16));
        auto* remembering = new NodeSizeDelegate(&tree);
        tree.setItemDelegate(remembering);
        QStyledItemDelegate standard;
        QList<QTreeWidgetItem*> nodes {
            makeNode(QStringLiteral("Words"), QString(), NoImage, NoImage),
            makeNode(QStringLiteral("Words"), QString(), NoImage, NoImage, true),
            makeNode(QStringLiteral("Words"), QString(), SubjectImage, SubjectSelected),
            makeNode(QStringLiteral("Words and many more words"), QString(), SubjectImage, SubjectSelected),
        };
        tree.addTopLevelItems(nodes);
        const QStyleOptionViewItem option = optionOf(tree);
        QSet<int> widths;
        for (int pass = 0; pass < 2; ++pass) {
            for (QTreeWidgetItem* node : nodes) {
                const QModelIndex index = tree.indexFromItem(node);
                QCOMPARE(remembering->sizeHint(option, index), standard.sizeHint(option, index));
                widths << remembering->sizeHint(option, index).width();
            }
        }
        QCOMPARE(widths.size(), 4);

        // A node that changes is measured again.
        QTreeWidgetItem* renamed = nodes[0];
        const QModelIndex index = tree.indexFromItem(renamed);
        const int before = remembering->sizeHint(option, index).width();
        renamed->setText(0, QStringLiteral("Words of a much longer name than before"));
        QCOMPARE(remembering->sizeHint(option, index), standard.sizeHint(option, index));
        QVERIFY(remembering->sizeHint(option, index).width() > before);
        setBoldNode(renamed, true);
        QCOMPARE(remembering->sizeHint(option, index), standard.sizeHint(option, index));
    }

    void columnSizedToItsContentsFollowsARename()
    {
        QTreeWidget tree;
        tree.setHeaderHidden(true);
        tree.header()->setStretchLastSection(false);
        tree.header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        tree.setItemDelegate(new NodeSizeDelegate(&tree));
        tree.resize(300, 200);
        QTreeWidgetItem* node = makeNode(QStringLiteral("Short"), QString(), NoImage, NoImage);
        tree.addTopLevelItem(node);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        QTRY_VERIFY(tree.header()->sectionSize(0) > 0);
        const int before = tree.header()->sectionSize(0);
        node->setText(0, QStringLiteral("A name long enough to need far more room than the short one"));
        QTRY_VERIFY(tree.header()->sectionSize(0) > before);
        const QModelIndex index = tree.indexFromItem(node);
        QVERIFY(tree.header()->sectionSize(0) >= QStyledItemDelegate().sizeHint(optionOf(tree), index).width());
    }
};

QTEST_MAIN(TestNodeSizes)
#include "tst_nodesizes.moc"
