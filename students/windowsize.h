#pragma once

#include <QSize>

class QWidget;

// The size for a window laid out by a layout: its design size, or more where its texts need more, never more
// than its screen offers.
QSize Fit_Size(const QWidget* window, QSize designSize);
