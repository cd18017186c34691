#pragma once

#include <QPixmap>

class QPainter;
class QWidget;

// The step between tiles in pixels: half the picture's size in 0.01 mm, taken as twips, so that neighbouring
// tiles overlap slightly and leave no gaps.
int Tile_Step(int picturePixels);
// Draws the picture over the whole window.
void TileBackground(QPainter& painter, const QWidget& window, const QPixmap& picture);
const QPixmap& Background_Picture();
