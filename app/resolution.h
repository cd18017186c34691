#pragma once

#include <QtGlobal>

// Screens of 459999 pixels or fewer (640 x 480) are too small for the main window; 800 x 600 passes.
bool Resolution_Too_Small(int widthPixels, int heightPixels);
