#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>
#include <QVector>

#include "common/interfacelocale.h"
#include "students/userdatabase.h"

// The arrangements of the tracked-scores tree, numbered as the entries of cboView.
enum ScoreView { StudentView = 0, ActivityView = 1, SubjectView = 2 };

// Entries of the tracked-scores picture list (ImageList2): 1..40 the faces, then these.
constexpr int ActivityPicture = 41;
constexpr int ActivityOpenPicture = 42;
constexpr int SubjectPicture = 43;
constexpr int ScorePictureCount = 43;

struct ScoreNode
{
    QString text;
    int picture = 0; // entry of the picture list, 0 for none
    int selectedPicture = 0;
};

// What one view of the tree shows; the same children hang under every top-level node.
struct ScoreTree
{
    QVector<ScoreNode> top;
    QVector<ScoreNode> children;
    // The names query the view depends on returned nothing: the placeholder node follows the top nodes.
    bool placeholder = false;
    // "" when every statement ran; otherwise the tree holds what was read before the failure.
    QString failure;
};

// One connection, one statement per list; never throws.
ScoreTree Read_Score_Tree(const UserFile& users, int view);

// One row of ListView1: the name the clicked pair leaves open, then score, date and time as stored.
struct ScoreLine
{
    QString name;
    QString score;
    QString date;
    QString time;
};

// The results under a child node, in stored order; the node texts are bound, so any name is fine.
// Throws platform::DbError.
QVector<ScoreLine> Read_Score_Lines(
    const UserFile& users, int view, const QString& parentText, const QString& nodeText);
// The condition that picks the results of a child node of a view: its parent's text bound first, then its own.
// "" for no view.
QString Score_Pair_Condition(int view);
// The statement Read_Score_Lines runs for a view; its two parameters are the parent's and the node's text.
QString Score_Lines_Statement(int view);

// The interface text heading the first column of ListView1 in a view.
int First_Column_Caption(int view);

// A stored date (yyyy-MM-dd) as the locale writes a short date; anything else as it is stored.
QString Score_Date_Text(const QString& stored, const QLocale& locale);
// A share from 0 to 1 as a whole per cent the locale writes: "74 %".
QString Percent_Text(double share, const QLocale& locale);

// A value in the plain text form it is stored in; NULL is "".
QString Stored_Text(const QVariant& value);
// A non-empty textScore wins over numberScore.
QString Score_Text(const QVariant& textScore, const QVariant& numberScore);

// Deletes the user database file and the journal files beside it, after any write in progress has
// finished. "VALID", or the reason the file is still there.
QString Delete_User_Database(const QString& path);
