#pragma once

#include <QString>

// A tool tip shows a text that looks like markup as rich text; this one shows any text just as it is written.
namespace platform {

QString plainToolTip(const QString& text);

}
