#pragma once

#include <QColor>
#include <QString>

class QApplication;
class QBoxLayout;
class QLabel;
class QWidget;

namespace games {

// One look for all the games: the same fonts, the same light page, buttons and header in the game's own colour.
void applyGameStyle(QApplication& app, const QColor& accent);
QString gameStyleSheet(const QColor& accent);

// Widgets pick their look from the style sheet by a "role" (labels, frames) or a "kind" (buttons).
void setRole(QWidget* widget, const char* role);
void setKind(QWidget* widget, const char* kind);
// The progress line over a game's card: one text at the left, one at the right; both labels are returned.
void addProgressRow(QBoxLayout* column, QLabel** left, QLabel** right);
// The passing state of a widget ("right", "wrong", "ok", "bad"; "" for none).
void setState(QWidget* widget, const char* state);

}
