#include "tilebackground.h"

#include <QPainter>
#include <QWidget>

#include "resources/resourcepaths.h"

int Tile_Step(int picturePixels)
{
    // Pixels to 0.01 mm at 96 dpi, halved, read as twips, back to pixels (15 twips each).
    const double himetric = picturePixels * 2540.0 / 96.0;
    return std::max(1, static_cast<int>(himetric / 2.0 / 15.0));
}

void TileBackground(QPainter& painter, const QWidget& window, const QPixmap& picture)
{
    if (picture.isNull())
        return;
    const int stepX = Tile_Step(picture.width());
    const int stepY = Tile_Step(picture.height());
    for (int y = 0; y < window.height(); y += stepY) {
        for (int x = 0; x < window.width(); x += stepX)
            painter.drawPixmap(x, y, picture);
    }
}

const QPixmap& Background_Picture()
{
    static const QPixmap picture(resources::backgroundPicture());
    return picture;
}
