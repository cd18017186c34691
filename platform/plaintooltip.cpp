#include "plaintooltip.h"

#include <QTextDocument>

namespace platform {

QString plainToolTip(const QString& text)
{
    // Only a text taken for markup is converted, so every other tip keeps the plain tip's look.
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpacePre) : text;
}

}
