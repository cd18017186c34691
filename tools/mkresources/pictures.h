#pragma once

#include <QImage>
#include <QPoint>

namespace mkres {

// Subject tree image n (1..11), drawn on a 16-pixel grid times scale so that lines fall on whole pixels.
QImage drawTreeImage(int n, int scale);
QImage drawActivity(bool open);
QImage drawScoresSubject();
// The administrator's button to the tracked scores: a small bar chart.
QImage drawScoresButton();

// Logo of product n (1..8): a speech bubble in the flag of the language taught, a badge with the flag of the
// learner's own language, and the product word.
QImage drawProductLogo(int n);

QImage drawBackground();
QImage drawLinkCursor(QPoint hotSpot);
QImage drawAppIcon(int size);

}
