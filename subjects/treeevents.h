#pragma once

#include <QObject>
#include <QPoint>

class FileList;
class QAction;
class QKeyEvent;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class ReviewFolder;
struct Session;
struct SubjectRef;

// What the subject tree does when the user clicks, double-clicks, expands, collapses or right-clicks a
// node. Only the user's clicks and keys run the click steps: a node selected by the program runs nothing.
class TreeEvents : public QObject
{
    Q_OBJECT
public:
    // The subjects are read from the session's folders; window is kept from input while a subject is read;
    // mnuOption is the phrase popup menu; review, when given, opens and closes on its clicks.
    TreeEvents(QTreeWidget* TreeFolders, FileList* File1, const Session& session, QWidget* window, QMenu* mnuOption,
        QAction* mnuListenToPhrase, ReviewFolder* review = nullptr);

    void TreeFolders_NodeClick(QTreeWidgetItem* node);
    void TreeFolders_Expand(QTreeWidgetItem* node);
    void TreeFolders_Collapse(QTreeWidgetItem* node);
    void TreeFolders_DblClick();
    // The popup menu for a phrase of an installed or a random subject. True when it opened.
    bool TreeFolders_MouseDown(Qt::MouseButton button, const QPoint& globalPosition);
    void mnuListenToPhrase_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    // A double click or the "hear phrase" command on the selected node; the listener decides whether it is a
    // phrase.
    void phraseToHear(QTreeWidgetItem* node);

private:
    void clickFolder(QTreeWidgetItem* node, int index);
    void clickSubject(QTreeWidgetItem* node, const SubjectRef& subject);
    bool keyPress(QKeyEvent* event);
    QTreeWidgetItem* fixedFolder(int n) const;

    QTreeWidget* TreeFolders;
    FileList* File1;
    const Session& m_session;
    QWidget* m_window;
    QMenu* mnuOption;
    ReviewFolder* m_review;
};
