#pragma once

#include <functional>

#include <QDateTime>
#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;
struct Session;

// What the student's record says is due now.
struct DueReview
{
    QStringList phrases; // every due phrase's identity ("zoo.ale#3"), the most urgent first
    QDateTime nextDue; // the moment the next phrase falls due; invalid when none will (nothing practised yet)
};
// Asked each time the folder counts or opens: whoever knows the student and the clock answers.
using ReviewSource = std::function<DueReview()>;

// The main tree's "to review" folder: its text counts the due phrases; opened, it holds the set of the first ten
// whose subjects are still there, which the activities take like a virtual subject.
class ReviewFolder
{
public:
    ReviewFolder(QTreeWidget* tree, const Session& session, ReviewSource source);

    // A new folder node, closed, counting what is due.
    QTreeWidgetItem* makeFolder() const;
    static bool isFolder(const QTreeWidgetItem* node);
    // Opens the folder with the set, or with a line saying when the next phrase is due; open, closes it.
    void click(QTreeWidgetItem* folder);
    // Counts again. An open set that lists a phrase no longer due, or misses one now due, closes: the next
    // opening lists what is due then.
    void refresh();
    // Closes the folder and counts again: another student has logged in.
    void reset();

private:
    QTreeWidgetItem* folder() const;
    QString folderText(const DueReview& due) const;
    QString nothingDueText(const DueReview& due) const;

    QTreeWidget* m_tree;
    const Session& m_session;
    ReviewSource m_source;
};
