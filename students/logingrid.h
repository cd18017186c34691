#pragma once

#include <QFont>
#include <QSize>
#include <QStringList>

class QListView;
class QStyledItemDelegate;

// The room a name has under its face in the login grid.
struct LoginGrid
{
    QSize cell;
    int textWidth = 0;
    int textLines = 2;
};

// The grid in which each name fits in at most two lines, measured in bold type: the administrator's name is
// bold, and any student may be the administrator. Past the widest cell a screen can take, a name is cut.
LoginGrid Login_Grid(const QFont& font, const QStringList& names);

// The lines a name is drawn in within width: broken where a line may break, at most maxLines, the last one cut
// with an ellipsis when the rest does not fit.
QStringList Name_Lines(const QFont& font, const QString& name, int width, int maxLines);

// Draws each item of the list in its whole grid cell: the face, the name below it, the frame of the selection.
QStyledItemDelegate* New_Login_Delegate(QListView* list);
