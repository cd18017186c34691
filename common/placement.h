#pragma once

class QWidget;

// Puts a window in the middle of its screen; without a window manager it would stay in the corner.
void Center_On_Screen(QWidget* window);
