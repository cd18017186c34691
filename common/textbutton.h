#pragma once

#include <QPushButton>

// A push button of the program's smaller windows: its words at 10 points, the height the designs give a button,
// the click sound on press and release, and no default-button role unless the window gives it one.
QPushButton* Make_Text_Button(QWidget* parent, const QString& objectName, const QString& text);
