#include "frmcustomsubject.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QTreeWidgetItemIterator>

#include "activities/listening.h"
#include "common/captions.h"
#include "common/errorreport.h"
#include "common/filelist.h"
#include "common/frmmsgbox.h"
#include "common/placement.h"
#include "common/sounds.h"
#include "common/tilebackground.h"
#include "common/wait.h"
#include "common/windowlock.h"
#include "custom/autoscroll.h"
#include "custom/customdrop.h"
#include "custom/customfill.h"
#include "custom/customhost.h"
#include "custom/virtualfiles.h"
#include "platform/services.h"
#include "resources/resourcepaths.h"
#include "subjects/subjectchecks.h"
#include "subjects/treenode.h"

using platform::twips;

namespace {
constexpr int DesignWidth = 14400;
constexpr int DesignHeight = 9000;
constexpr int NoticeHeight = 1800;
const QString Selected = QStringLiteral("SELECTED");

const QString HeadingStyle = QStringLiteral("font-size: 11pt; font-weight: bold; color: #1d3557;");
const QString TreeStyle
    = QStringLiteral("QTreeWidget { background: rgba(255,255,255,230); border: 1px solid #8aa5b8; border-radius: 6px; "
                     "font-size: 10pt; }"
                     "QTreeWidget::item { padding: 2px 0; }"
                     "QTreeWidget::item:selected { background: #a8dadc; color: #1d3557; }");
const QString ButtonStyle = QStringLiteral("QPushButton { font-size: 10pt; font-weight: bold; text-align: left; "
                                           "padding: 6px 10px; }");

QString busyText() { return Caption(13) + QStringLiteral("..."); }

QStringList shownTexts(QTreeWidget* tree)
{
    QStringList texts;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        texts << (*it)->text(0);
    return texts;
}

// Keeps the text of a button without a picture in line with the others.
QIcon blankIcon()
{
    QPixmap blank(resources::TreeImageSize, resources::TreeImageSize);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}

QPushButton* commandButton(QWidget* parent, const char* name, const QIcon& icon)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(icon);
    button->setStyleSheet(ButtonStyle);
    button->setAutoDefault(false);
    button->setMinimumHeight(twips(480));
    QObject::connect(button, &QPushButton::pressed, button, [] { Play_Click(); });
    QObject::connect(button, &QPushButton::released, button, [] { Play_Click(); });
    return button;
}

template <typename Tree> Tree* makeTree(QWidget* parent, const char* name)
{
    auto* tree = new Tree(parent);
    tree->setObjectName(QLatin1String(name));
    tree->setHeaderHidden(true);
    tree->setIconSize(QSize(resources::TreeImageSize, resources::TreeImageSize));
    // Every node has one font size and one icon size: the tree need not measure each row to lay out thousands.
    tree->setUniformRowHeights(true);
    tree->setStyleSheet(TreeStyle);
    // A click opens and closes a folder already; a double click plays a phrase.
    tree->setExpandsOnDoubleClick(false);
    // A long phrase scrolls sideways instead of losing its end.
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tree->setProperty("tag", QString());
    return tree;
}
}

frmCustomSubject* btnCreateVirtualSubjects_Click(CustomSubjectHost& host)
{
    host.Hide_Main_Window();
    frmMsgBox::Show_Busy(Caption(12), busyText(), NoticeHeight);
    Wait_Seconds(1);
    auto* form = new frmCustomSubject(host);
    form->Form_Load();
    form->show();
    frmMsgBox::Unload();
    return form;
}

frmCustomSubject::frmCustomSubject(CustomSubjectHost& host)
    : QWidget(nullptr)
    , m_host(host)
    , m_deletions(host.session())
{
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    layOut();
    connectTrees();
    resize(twips(DesignWidth), twips(DesignHeight));
    Center_On_Screen(this);
}

void frmCustomSubject::buildControls()
{
    setObjectName(QStringLiteral("frmCustomSubject"));
    setWindowIcon(QIcon(resources::appIcon()));
    for (int i = 0; i < 2; ++i) {
        lblCaption[i] = new QLabel(this);
        lblCaption[i]->setObjectName(QStringLiteral("lblCaption%1").arg(i));
        lblCaption[i]->setStyleSheet(HeadingStyle);
    }
    TreeSubjects = makeTree<SubjectsTree>(this, "TreeSubjects");
    TreeVirtual = makeTree<VirtualTree>(this, "TreeVirtual");
    TreeVirtual->setDragSource(TreeSubjects);

    btnNewFolder = commandButton(this, "btnNewFolder", resources::treeIcon(VirtualFileClosed));
    btnNewSubject = commandButton(this, "btnNewSubject", resources::treeIcon(VirtualSubjectImage));
    btnRename = commandButton(this, "btnRename", blankIcon());
    btnDelete = commandButton(this, "btnDelete", style()->standardIcon(QStyle::SP_TrashIcon));
    btnUndo = commandButton(this, "btnUndo", style()->standardIcon(QStyle::SP_ArrowBack));
    btnUndo->setToolTip(QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText));
    btnDone = commandButton(this, "btnDone", style()->standardIcon(QStyle::SP_DialogApplyButton));
    btnNewSubject->setEnabled(false);
    btnRename->setEnabled(false);
    btnDelete->setEnabled(false);
    btnUndo->setEnabled(false);
    connect(btnNewFolder, &QPushButton::clicked, this, &frmCustomSubject::btnNewFolder_Click);
    connect(btnNewSubject, &QPushButton::clicked, this, &frmCustomSubject::btnNewSubject_Click);
    connect(btnRename, &QPushButton::clicked, this, &frmCustomSubject::btnRename_Click);
    connect(btnDelete, &QPushButton::clicked, this, &frmCustomSubject::btnDelete_Click);
    connect(btnUndo, &QPushButton::clicked, this, &frmCustomSubject::btnUndo_Click);
    // A label being edited takes Ctrl+Z for its own text first.
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this, &frmCustomSubject::btnUndo_Click);
    connect(btnDone, &QPushButton::clicked, this, &QWidget::close);

    mnuEdit = new QMenu(this);
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuNewFolder = mnuEdit->addAction(QString(), this, &frmCustomSubject::btnNewFolder_Click);
    mnuNew = mnuEdit->addAction(QString(), this, &frmCustomSubject::btnNewSubject_Click);
    mnuDelete = mnuEdit->addAction(QString(), this, &frmCustomSubject::btnDelete_Click);
    mnuRename = mnuEdit->addAction(QString(), this, &frmCustomSubject::btnRename_Click);
    mnuNew->setEnabled(false);
    TreeVirtual->setPopupMenu(mnuEdit);

    Timer1 = new QTimer(this);
    Timer1->setInterval(200);
    TimerEdit = new QTimer(this);
    TimerEdit->setInterval(100);
    connect(TimerEdit, &QTimer::timeout, this, &frmCustomSubject::TimerEdit_Timer);
    m_autoScroll = new AutoScroll(TreeVirtual, Timer1);
}

void frmCustomSubject::layOut()
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(twips(360), twips(240), twips(360), twips(360));
    grid->setHorizontalSpacing(twips(240));
    grid->setVerticalSpacing(twips(90));
    grid->addWidget(lblCaption[0], 0, 0);
    grid->addWidget(lblCaption[1], 0, 1);
    grid->addWidget(TreeSubjects, 1, 0);
    grid->addWidget(TreeVirtual, 1, 1);
    auto* commands = new QVBoxLayout;
    commands->setSpacing(twips(120));
    for (QPushButton* button : { btnNewFolder, btnNewSubject, btnRename, btnDelete, btnUndo })
        commands->addWidget(button);
    commands->addStretch();
    commands->addWidget(btnDone);
    grid->addLayout(commands, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    setMinimumSize(twips(DesignWidth * 3 / 4), twips(DesignHeight * 3 / 4));
}

void frmCustomSubject::connectTrees()
{
    for (QTreeWidget* tree : { static_cast<QTreeWidget*>(TreeSubjects), static_cast<QTreeWidget*>(TreeVirtual) }) {
        connect(tree, &QTreeWidget::itemExpanded, this, [](QTreeWidgetItem* node) { Show_Folder_State(node, true); });
        connect(tree, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem* node) { Show_Folder_State(node, false); });
        connect(tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* node) {
            if (Node_Kind(node) == NodeKind::Phrase)
                Play_Selected_Phrase();
        });
    }
    connect(TreeSubjects, &SubjectsTree::pressed, this, [this] { makeActive(TreeSubjects); });
    connect(TreeSubjects, &QTreeWidget::itemClicked, this, &frmCustomSubject::TreeSubjects_NodeClick);

    connect(TreeVirtual, &VirtualTree::pressed, this, [this] { makeActive(TreeVirtual); });
    connect(TreeVirtual, &QTreeWidget::itemClicked, this, &frmCustomSubject::TreeVirtual_NodeClick);
    connect(TreeVirtual, &VirtualTree::rightClickSelected, this, &frmCustomSubject::selectVirtual);
    connect(TreeVirtual, &VirtualTree::deletePressed, this, &frmCustomSubject::btnDelete_Click);
    connect(TreeVirtual, &VirtualTree::labelEdited, this, &frmCustomSubject::TreeVirtual_AfterLabelEdit);
    connect(TreeVirtual, &VirtualTree::dragMoved, m_autoScroll, &AutoScroll::dragOver);
    connect(TreeVirtual, &VirtualTree::dragLeft, m_autoScroll, &AutoScroll::stop);
    connect(TreeVirtual, &VirtualTree::mouseReleased, Timer1, &QTimer::stop);
    connect(TreeVirtual, &VirtualTree::dropped, this, &frmCustomSubject::TreeVirtual_DragDrop);
}

void frmCustomSubject::Form_Load()
{
    {
        const WindowLock lock(this);
        setWindowTitle(m_host.session().ProductName + QStringLiteral(" - ") + Caption(65));
        lblCaption[0]->setText(Caption(2));
        lblCaption[1]->setText(Caption(64));
        // A screen reader names a tree by its own name only, not by the heading above it.
        TreeSubjects->setAccessibleName(Caption(2));
        TreeVirtual->setAccessibleName(Caption(64));
        btnNewFolder->setText(Caption(123));
        btnNewSubject->setText(Caption(66));
        btnRename->setText(Caption(84));
        btnDelete->setText(Caption(24));
        btnUndo->setText(Caption(182));
        btnDone->setText(Caption(128));
        mnuNewFolder->setText(Caption(123));
        mnuNew->setText(Caption(66));
        mnuDelete->setText(Caption(24));
        mnuRename->setText(Caption(84));

        TreeSubjects->addTopLevelItem(Installed_Root_Node());
        Fill_Installed_Subjects(TreeSubjects->topLevelItem(0), m_host.File1());
        Fill_Virtual_Subjects(m_host.session(), TreeVirtual, m_host.File2());
    }
    // Selected by the program, not clicked: the commands keep their start states.
    QTreeWidgetItem* root = TreeSubjects->topLevelItem(0);
    root->setExpanded(true);
    TreeSubjects->setCurrentItem(root);
    if (TreeVirtual->topLevelItemCount() > 0)
        TreeVirtual->setCurrentItem(TreeVirtual->topLevelItem(0));
}

void frmCustomSubject::makeActive(QTreeWidget* tree)
{
    TreeSubjects->setProperty("tag", tree == TreeSubjects ? Selected : QString());
    TreeVirtual->setProperty("tag", tree == TreeVirtual ? Selected : QString());
}

QTreeWidgetItem* frmCustomSubject::Selected_Node() const
{
    if (TreeSubjects->property("tag").toString() == Selected)
        return TreeSubjects->currentItem();
    return TreeVirtual->currentItem();
}

void frmCustomSubject::setNewSubjectEnabled(bool enabled)
{
    btnNewSubject->setEnabled(enabled);
    mnuNew->setEnabled(enabled);
}

void frmCustomSubject::setCommands(const CommandStates& states)
{
    setNewSubjectEnabled(states.newSubject);
    btnRename->setEnabled(states.rename);
    btnDelete->setEnabled(states.remove);
}

void frmCustomSubject::selectVirtual(QTreeWidgetItem* node)
{
    TreeVirtual->setCurrentItem(node);
    setCommands(Command_States(Node_Kind(node)));
}

void frmCustomSubject::TreeSubjects_NodeClick(QTreeWidgetItem* node)
{
    switch (Node_Kind(node)) {
    case NodeKind::Top:
        Toggle_Folder(node);
        break;
    case NodeKind::Middle: {
        if (node->childCount() > 0)
            break;
        const QString file = m_host.File1().list(NodeTag::of(node).number(0));
        const QString status = Check_Subject(m_host.session(), file);
        if (status != ValidSubject) {
            setNodeImage(node, UnusableSubject, UnusableSubject);
            Report_Subject_Problem(m_host.session(), file, status);
            TreeSubjects->setCurrentItem(node->parent());
            break;
        }
        setNodeImage(node, SubjectImage, SubjectSelected);
        {
            const WindowLock lock(this);
            Get_Subject_Phrases(m_host.session(), node, file);
        }
        node->setExpanded(true);
        break;
    }
    case NodeKind::Phrase:
    case NodeKind::None:
        break;
    }
}

void frmCustomSubject::TreeVirtual_NodeClick(QTreeWidgetItem* node)
{
    switch (Node_Kind(node)) {
    case NodeKind::Top:
        Toggle_Folder(node);
        break;
    case NodeKind::Middle:
        Get_Virtual_Phrases(m_host.session(), node);
        node->setExpanded(true);
        break;
    case NodeKind::Phrase: {
        const QString file = NodeTag::of(node).field(0);
        const QString status = Check_Subject(m_host.session(), file);
        if (status != ValidSubject) {
            Report_Subject_Problem(m_host.session(), file, status);
            TreeVirtual->setCurrentItem(node->parent());
        }
        break;
    }
    case NodeKind::None:
        return;
    }
    setCommands(Command_States(Node_Kind(TreeVirtual->currentItem())));
}

void frmCustomSubject::Play_Selected_Phrase()
{
    QTreeWidgetItem* node = Selected_Node();
    if (Node_Kind(node) == NodeKind::Phrase)
        Listen_to_Phrase(Subject_Ref(node), m_host.session());
}

void frmCustomSubject::btnNewFolder_Click()
{
    try {
        const QString name = Create_Virtual_File(m_host.session(), shownTexts(TreeVirtual));
        QTreeWidgetItem* file = Virtual_File_Node(name);
        TreeVirtual->addTopLevelItem(file);
        selectVirtual(file);
        m_changed = true;
        TreeVirtual->editLabel(file);
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("btnNewFolder_Click"), failureDescription(e));
    }
}

void frmCustomSubject::btnNewSubject_Click()
{
    // A phrase or a virtual subject selected: the new subject goes into the file that holds it.
    QTreeWidgetItem* file = Top_Node(TreeVirtual->currentItem());
    if (!file)
        return;
    try {
        const int key = Add_Virtual_Subject(m_host.session(), file->text(0), Caption(51));
        QTreeWidgetItem* subject = Virtual_Subject_Node(Caption(51), QString::number(key));
        file->addChild(subject);
        file->setExpanded(true);
        selectVirtual(subject);
        m_changed = true;
        TreeVirtual->editLabel(subject);
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("btnNewSubject_Click"), failureDescription(e));
    }
}

void frmCustomSubject::btnRename_Click()
{
    QTreeWidgetItem* node = TreeVirtual->currentItem();
    const NodeKind kind = Node_Kind(node);
    if (kind == NodeKind::Top || kind == NodeKind::Middle)
        TreeVirtual->editLabel(node);
}

void frmCustomSubject::btnDelete_Click()
{
    QTreeWidgetItem* node = TreeVirtual->currentItem();
    if (TreeVirtual->topLevelItemCount() == 0 || !node)
        return;
    try {
        const NodeKind kind = Node_Kind(node);
        // The node that goes, whichever tree had the last press.
        m_deletions.remove(TreeVirtual, node);
        if (kind != NodeKind::Phrase)
            setNewSubjectEnabled(false);
        btnUndo->setEnabled(true);
        m_changed = true;
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("btnDelete_Click"), failureDescription(e));
    }
}

void frmCustomSubject::btnUndo_Click()
{
    if (!m_deletions.canUndo())
        return;
    try {
        selectVirtual(m_deletions.undo());
        m_changed = true;
    } catch (const std::exception& e) {
        platform::services().dialogs->message(Caption(183) + QStringLiteral("\r\n\r\n") + failureDescription(e),
            m_host.session().ProductName, platform::Icon::Warning);
    }
    btnUndo->setEnabled(m_deletions.canUndo());
}

void frmCustomSubject::TreeVirtual_AfterLabelEdit(QTreeWidgetItem* node, const QString& newText)
{
    try {
        switch (Label_Edit_Outcome(Node_Kind(node), newText)) {
        case EditOutcome::Refuse:
            refuseEdit(124);
            break;
        case EditOutcome::RenameFile: {
            const RenameResult result = Rename_Virtual_File(m_host.session(), TreeVirtual->OldName, newText);
            if (const int refusal = Rename_Refusal_Text(result)) {
                refuseEdit(refusal);
                break;
            }
            node->setText(0, newText);
            if (result == RenameResult::Done)
                m_changed = true;
            break;
        }
        case EditOutcome::RenameSubject: {
            const int key = Rename_Virtual_Subject(
                m_host.session(), Top_Node(node)->text(0), NodeTag::of(node).number(0), newText);
            node->setText(0, newText);
            setNodeTag(node, QString::number(key));
            m_changed = true;
            break;
        }
        case EditOutcome::Keep:
            break;
        }
    } catch (const std::exception& e) {
        // The node keeps the name it has on disk.
        Error_Report(QStringLiteral("TreeVirtual_AfterLabelEdit"), failureDescription(e));
    }
}

void frmCustomSubject::refuseEdit(int text)
{
    frmMsgBox::Show_Notice(m_host.session().ProductName, Caption(text));
    TimerEdit->start();
}

void frmCustomSubject::TimerEdit_Timer()
{
    TimerEdit->stop();
    QTreeWidgetItem* node = TreeVirtual->editedNode();
    if (!node)
        return;
    node->setText(0, TreeVirtual->OldName);
    TreeVirtual->editLabel(node);
}

void frmCustomSubject::TreeVirtual_DragDrop(QTreeWidgetItem* target)
{
    const DropResult result
        = Drop_Node(m_host.session(), TreeVirtual, target, TreeSubjects->currentItem(), m_host.File1());
    if (Drop_Wrote(result))
        m_changed = true;
    // The new node, or the target a refused drop opened, is the one the commands now act on.
    if (result != DropResult::Nothing && result != DropResult::NoTarget)
        selectVirtual(TreeVirtual->currentItem());
    m_autoScroll->stop();
}

void frmCustomSubject::closeEvent(QCloseEvent* event)
{
    hide();
    m_deletions.clear();
    if (m_changed) {
        frmMsgBox::Show_Busy(Caption(129), busyText(), NoticeHeight);
        Wait_Seconds(1);
        m_host.Refresh_Subjects();
    }
    m_host.Show_Main_Window();
    frmMsgBox::Unload();
    event->accept();
}

void frmCustomSubject::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, *this, Background_Picture());
}
