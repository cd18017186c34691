#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;
class QRectF;

namespace mkcfg {

// The program shows activity buttons 2415 x 630 twips, which is this many pixels at 96 dpi (15 twips a pixel).
constexpr QSize ButtonSize(2415 / 15, 630 / 15);

struct Activity
{
    QString program; // name of the activity program without ".exe"
    QString emblem;
    QColor colour;
    QString english;
    QString spanish;
};

QStringList emblemNames();
// Draws the emblem in white, centred in box; false for an emblem name it does not know.
bool drawEmblem(QPainter& painter, const QString& emblem, const QRectF& box, const QColor& colour);

// The button picture with the activity's emblem and name; lit is the look while the pointer is over it.
QImage paintButton(const Activity& activity, const QString& name, bool lit);

}
