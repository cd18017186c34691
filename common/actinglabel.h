#pragma once

#include <QAccessible>

class QLabel;

// A picture or a text that acts as a button or a link. Assistive technology is told it as one, and its press
// action is the Space key sent to the label, which the label's owner takes as the keyboard's activation: a
// screen reader, the keyboard and a click run the same steps. The Tab key reaches it; a click leaves no focus.
void Act_As(QLabel* label, QAccessible::Role role);
