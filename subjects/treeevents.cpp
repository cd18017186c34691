#include "treeevents.h"

#include <QAction>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeWidget>

#include "common/captions.h"
#include "common/filelist.h"
#include "common/rnd.h"
#include "platform/services.h"
#include "subjects/reviewfolder.h"
#include "subjects/subjectchecks.h"
#include "subjects/subjectnames.h"
#include "subjects/subjecttree.h"
#include "subjects/treefill.h"
#include "subjects/treenode.h"

namespace {

using Kind = SubjectRef::Kind;

bool isFolder(const QTreeWidgetItem* node) { return Subject_Ref(node).kind == Kind::Folder; }
bool isSubject(const QTreeWidgetItem* node) { return Subject_Ref(node).isSubject(); }
}

TreeEvents::TreeEvents(QTreeWidget* tree, FileList* installed, const Session& session, QWidget* window, QMenu* menu,
    QAction* listenToPhrase, ReviewFolder* review)
    : TreeFolders(tree)
    , File1(installed)
    , m_session(session)
    , m_window(window)
    , mnuOption(menu)
    , m_review(review)
{
    // itemClicked comes from the user's click only; setCurrentItem from the program emits nothing here.
    connect(tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) { TreeFolders_NodeClick(node); });
    connect(tree, &QTreeWidget::itemExpanded, this, &TreeEvents::TreeFolders_Expand);
    connect(tree, &QTreeWidget::itemCollapsed, this, &TreeEvents::TreeFolders_Collapse);
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [this] { TreeFolders_DblClick(); });
    tree->installEventFilter(this);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        TreeFolders_MouseDown(Qt::RightButton, TreeFolders->viewport()->mapToGlobal(pos));
    });
    if (listenToPhrase)
        connect(listenToPhrase, &QAction::triggered, this, &TreeEvents::mnuListenToPhrase_Click);
}

QTreeWidgetItem* TreeEvents::fixedFolder(int n) const
{
    return n >= 1 && n <= TreeFolders->topLevelItemCount() ? TreeFolders->topLevelItem(n - 1) : nullptr;
}

void TreeEvents::TreeFolders_NodeClick(QTreeWidgetItem* node)
{
    if (!node)
        return;
    Randomize();
    if (File1->listCount() == 0) {
        const QString folder = QDir::toNativeSeparators(QDir::cleanPath(File1->path()));
        platform::services().dialogs->message(Caption(131) + QLatin1Char(' ') + Break + Break + folder
                + QDir::separator() + Break + Break + Caption(132) + Break,
            QString(), platform::Icon::None);
        return;
    }
    const SubjectRef ref = Subject_Ref(node);
    if (ref.kind == Kind::Placeholder) {
        if (node->parent())
            TreeFolders->setCurrentItem(node->parent());
        return;
    }
    if (ref.kind == Kind::Folder) {
        clickFolder(node, node->parent() ? -1 : TreeFolders->indexOfTopLevelItem(node) + 1);
    } else if (ref.isSubject()) {
        clickSubject(node, ref);
    } else {
        // A phrase: its source subject must still be usable.
        const QString status = Check_Subject(m_session, ref.file);
        if (status != ValidSubject) {
            Report_Subject_Problem(m_session, ref.file, status);
            if (node->parent())
                TreeFolders->setCurrentItem(node->parent());
        }
    }
}

void TreeEvents::clickFolder(QTreeWidgetItem* node, int index)
{
    if (m_review && ReviewFolder::isFolder(node)) {
        m_review->click(node);
        return;
    }
    if (index == 2) {
        if (node->childCount() > 0) {
            setNodeImage(node, FolderClosed);
            qDeleteAll(node->takeChildren());
            return;
        }
        const int r = qBound(0, static_cast<int>(Rnd() * File1->listCount()), File1->listCount() - 1);
        const QString file = File1->list(r);
        const QString title = Proper_Title(file);
        auto* subject = makeNode(title, SubjectRef::subject(file, title, node->text(0)), SubjectImage, SubjectSelected);
        node->addChild(subject);
        TreeFolders->setCurrentItem(subject);
        setNodeImage(node, FolderOpen);
        node->setExpanded(true);
        return;
    }
    if (index == 3) {
        if (node->childCount() > 0) {
            setNodeImage(node, FolderClosed);
            qDeleteAll(node->takeChildren());
            return;
        }
        auto* phraseSet = makeNode(Caption(118), SubjectRef::virtualSubject(QString(), 0, Caption(118), node->text(0)),
            SubjectImage, SubjectSelected);
        node->addChild(phraseSet);
        TreeFolders->setCurrentItem(phraseSet);
        setNodeImage(node, FolderOpen);
        node->setExpanded(true);
        Get_Random_Phrases(phraseSet, *File1, m_session, m_window);
        return;
    }
    // Node 1 and the virtual subject files' folders.
    node->setExpanded(!node->isExpanded());
}

void TreeEvents::clickSubject(QTreeWidgetItem* node, const SubjectRef& subject)
{
    QTreeWidgetItem* parent = node->parent();
    if (!parent)
        return;
    if (parent == fixedFolder(1) || parent == fixedFolder(2)) {
        Show_Subject_Phrases(node, subject.file, m_session, m_window);
        // Phrases listed under a closed node would not show.
        if (node->childCount() > 0)
            node->setExpanded(true);
    } else if (parent == fixedFolder(3)) {
        Get_Random_Phrases(node, *File1, m_session, m_window);
    } else if (ReviewFolder::isFolder(parent)) {
        // The set is listed as it opens; a click on it only selects it.
        return;
    } else {
        Show_vSubject_Phrases(m_session, subject.file, subject.virtualKey, node);
    }
}

void TreeEvents::TreeFolders_Expand(QTreeWidgetItem* node)
{
    if (!isFolder(node))
        return;
    setNodeImage(node, SubjectTree::isVirtualFileFolder(node) ? VirtualFileOpen : FolderOpen);
}

void TreeEvents::TreeFolders_Collapse(QTreeWidgetItem* node)
{
    if (!isFolder(node))
        return;
    setNodeImage(node, SubjectTree::isVirtualFileFolder(node) ? VirtualFileClosed : FolderClosed);
}

bool TreeEvents::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TreeFolders && event->type() == QEvent::KeyPress)
        return keyPress(static_cast<QKeyEvent*>(event));
    return QObject::eventFilter(watched, event);
}

bool TreeEvents::keyPress(QKeyEvent* event)
{
    QTreeWidgetItem* current = TreeFolders->currentItem();
    switch (event->key()) {
    case Qt::Key_Space:
        // The view would search for a node whose text starts with a blank, as a random subject's does, and
        // select it: the next activity would take a subject the student never chose.
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Right:
        if (current && isSubject(current)) {
            // A subject has no children to open until its phrases are listed.
            if (current->childCount() == 0)
                TreeFolders_NodeClick(current);
            if (TreeFolders->currentItem() == current)
                current->setExpanded(true);
            return true;
        }
        return false;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        break;
    default:
        // Typed letters search the nodes' texts; every other key goes on as usual.
        if (event->text().isEmpty() || !event->text().at(0).isPrint())
            return false;
    }
    // The view moves the current node first; only a move made by this key runs the click steps, and a mouse
    // click, which moves it too, keeps to its own single run.
    static_cast<QObject*>(TreeFolders)->event(event);
    QTreeWidgetItem* selected = TreeFolders->currentItem();
    if (selected && selected != current)
        TreeFolders_NodeClick(selected);
    return true;
}

void TreeEvents::TreeFolders_DblClick() { Q_EMIT phraseToHear(TreeFolders->currentItem()); }

bool TreeEvents::TreeFolders_MouseDown(Qt::MouseButton button, const QPoint& globalPosition)
{
    const QTreeWidgetItem* selected = TreeFolders->currentItem();
    if (button != Qt::RightButton || !selected || isFolder(selected))
        return false;
    const QTreeWidgetItem* parent = selected->parent();
    if (!parent || !isSubject(parent))
        return false;
    const QTreeWidgetItem* grandparent = parent->parent();
    if (!grandparent || (grandparent != fixedFolder(1) && grandparent != fixedFolder(2)))
        return false;
    // Every student may hear the phrase; the edit entry checks the student's rights itself.
    if (!mnuOption)
        return false;
    mnuOption->popup(globalPosition);
    return true;
}

void TreeEvents::mnuListenToPhrase_Click() { Q_EMIT phraseToHear(TreeFolders->currentItem()); }
