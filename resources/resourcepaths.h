#pragma once

#include <QIcon>
#include <QPoint>
#include <QString>

// Names of the pictures and sounds compiled into the program. Every function returns an empty text for a
// number outside its range, so a bad picture number in a database row shows no picture instead of failing.
namespace resources {

constexpr int FaceCount = 40;
constexpr int TreeImageCount = 11;
constexpr int ProductLogoCount = 8;
constexpr int FaceSize = 96;
constexpr int TreeImageSize = 16;
constexpr int ProductLogoSize = 160;
constexpr int BackgroundSize = 256;
constexpr int LinkCursorSize = 32;
constexpr int AppIconSize = 128;
constexpr int ScoresButtonSize = 32;

// Student face n (1..40), 96 x 96 with a transparent surround.
QString facePicture(int n);

// Subject tree image n (1..11) in the order of the tree's image list; 16 x 16, with a 32 x 32 copy for
// high-density screens named with "@2x" before the extension.
QString treeImage(int n);
QString treeImage2x(int n);
// Both sizes in one icon (Qt 6.4's QIcon does not look for the "@2x" file by itself); a null icon outside 1..11.
QIcon treeIcon(int n);

// Pictures of the tracked-scores tree: an activity (normal or selected) and a subject; 16 x 16.
QString scoresActivityPicture(bool open);
QString scoresSubjectPicture();
// The administrator's button to the tracked scores: a bar chart, 32 x 32 so that it stays sharp at any
// button icon size.
QString scoresButtonPicture();

// The picture behind the numbered icon resources 101..143: 101..140 are the faces, 141/142 the activity
// pictures, 143 the subject picture.
QString iconResource(int number);

// Product logo n (1..8), in the order of the product table.
QString productLogo(int n);

QString backgroundPicture();

// A pointing hand; the hot spot is the tip of its index finger.
QString linkCursorPicture();
QPoint linkCursorHotSpot();

QString appIcon();

// The WAVE resource of that name ("click", "Click" or "click.wav"), matched without regard to letter case;
// empty when there is none.
QString soundResource(const QString& name);

}
