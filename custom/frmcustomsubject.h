#pragma once

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "custom/customrules.h"
#include "custom/customtrees.h"
#include "custom/deletionundo.h"

class AutoScroll;
class CustomSubjectHost;

// The main window's btnCreateVirtualSubjects: hides the main window and opens the custom subject editor
// behind a busy notice. The editor deletes itself when it closes; the host must outlive it.
class frmCustomSubject;
frmCustomSubject* btnCreateVirtualSubjects_Click(CustomSubjectHost& host);

// The custom subject editor: the installed subjects on the left, the student's virtual subject files on the
// right; whole subjects and single phrases are dragged from one into the other. When it closes after a
// change, the main window's subject tree is rebuilt.
class frmCustomSubject : public QWidget
{
    Q_OBJECT
public:
    explicit frmCustomSubject(CustomSubjectHost& host);
    void Form_Load();

    void TreeSubjects_NodeClick(QTreeWidgetItem* node);
    void TreeVirtual_NodeClick(QTreeWidgetItem* node);
    void TreeVirtual_AfterLabelEdit(QTreeWidgetItem* node, const QString& newText);
    void TreeVirtual_DragDrop(QTreeWidgetItem* target);
    void TimerEdit_Timer();
    void btnNewFolder_Click();
    void btnNewSubject_Click();
    void btnRename_Click();
    void btnDelete_Click();
    // Ctrl+Z as well: the newest deletion of this opening comes back, in its place, and is selected.
    void btnUndo_Click();
    void Play_Selected_Phrase();
    // The selected node of the tree that had the last mouse press (its tag is "SELECTED"): TreeSubjects, or
    // else TreeVirtual.
    QTreeWidgetItem* Selected_Node() const;

    QLabel* lblCaption[2];
    SubjectsTree* TreeSubjects;
    VirtualTree* TreeVirtual;
    QPushButton* btnNewFolder;
    QPushButton* btnNewSubject;
    QPushButton* btnRename;
    QPushButton* btnDelete;
    QPushButton* btnUndo;
    QPushButton* btnDone;
    QMenu* mnuEdit;
    QAction* mnuNewFolder;
    QAction* mnuNew;
    QAction* mnuDelete;
    QAction* mnuRename;
    QTimer* Timer1;
    QTimer* TimerEdit;
    AutoScroll* autoScroll() const { return m_autoScroll; }
    // A virtual subject file was written since the editor opened.
    bool wroteFiles() const { return m_changed; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void layOut();
    void connectTrees();
    void makeActive(QTreeWidget* tree);
    void setCommands(const CommandStates& states);
    // Makes a node of TreeVirtual the selected one, with the commands that belong to it.
    void selectVirtual(QTreeWidgetItem* node);
    void setNewSubjectEnabled(bool enabled);
    void refuseEdit(int text);

    CustomSubjectHost& m_host;
    AutoScroll* m_autoScroll;
    DeletionUndo m_deletions;
    // A virtual subject file was written since the editor opened: the main tree is read again when it closes.
    bool m_changed = false;
};
