#pragma once

#include <QHeaderView>
#include <QPointer>
#include <QVector>

class QTreeWidget;

// Holds a tree's repaints and its content-sized columns while it is filled node by node, and puts both back
// when it goes out of scope. A tree whose column follows its contents measures every row again at each pass
// through pending events, which makes a fill between such passes grow with the square of its nodes; held,
// the column is measured once at the end.
class HeldTreeUpdates
{
public:
    explicit HeldTreeUpdates(QTreeWidget* tree);
    ~HeldTreeUpdates();
    HeldTreeUpdates(const HeldTreeUpdates&) = delete;
    HeldTreeUpdates& operator=(const HeldTreeUpdates&) = delete;

private:
    QPointer<QTreeWidget> m_tree;
    bool m_updatesWereEnabled = true;
    QVector<int> m_contentSized; // the sections that followed their contents
};
