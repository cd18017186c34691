// Draws the program's pictures and its click sound, and lists them in a Qt resource file; or, with --icons, the
// program's icon at the sizes of a desktop's icon theme.
// Usage: mkresources <output folder>
//        mkresources --icons <theme folder> <icon name>
#include <QGuiApplication>
#include <QTextStream>

#include "canvas.h"
#include "faces.h"
#include "pictures.h"
#include "resources/resourcepaths.h"
#include "sound.h"

namespace {
// Resource names start with ":/"; on disk they live under the output folder without it.
QString onDisk(const QString& resourcePath) { return resourcePath.mid(2); }

// <theme folder>/<N>x<N>/apps/<name>.png, at the sizes desktops and software centres look for.
int drawThemeIcons(const QString& folder, const QString& name)
{
    mkres::Output out(folder);
    for (const int size : { 16, 22, 24, 32, 48, 64, 128, 256 })
        out.savePng(mkres::drawAppIcon(size), QStringLiteral("%1x%1/apps/%2.png").arg(size).arg(name));
    if (out.ok())
        return 0;
    QTextStream(stderr) << "mkresources: could not write the icons into " << folder << "\n";
    return 1;
}
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--icons"))
        return drawThemeIcons(args.at(2), args.at(3));
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: mkresources <output folder> | --icons <theme folder> <icon name>\n";
        return 2;
    }
    mkres::Output out(args.at(1));

    const QList<mkres::FaceSpec> faces = mkres::faceSpecs();
    for (int i = 0; i < faces.size(); ++i)
        out.savePng(mkres::drawFace(faces.at(i), resources::FaceSize), onDisk(resources::facePicture(i + 1)));

    for (int n = 1; n <= resources::TreeImageCount; ++n) {
        out.savePng(mkres::drawTreeImage(n, 1), onDisk(resources::treeImage(n)));
        out.savePng(mkres::drawTreeImage(n, 2), onDisk(resources::treeImage2x(n)));
    }
    out.savePng(mkres::drawActivity(false), onDisk(resources::scoresActivityPicture(false)));
    out.savePng(mkres::drawActivity(true), onDisk(resources::scoresActivityPicture(true)));
    out.savePng(mkres::drawScoresSubject(), onDisk(resources::scoresSubjectPicture()));
    out.savePng(mkres::drawScoresButton(), onDisk(resources::scoresButtonPicture()));

    for (int n = 1; n <= resources::ProductLogoCount; ++n)
        out.savePng(mkres::drawProductLogo(n), onDisk(resources::productLogo(n)));

    out.savePng(mkres::drawBackground(), onDisk(resources::backgroundPicture()));
    out.savePng(mkres::drawLinkCursor(resources::linkCursorHotSpot()), onDisk(resources::linkCursorPicture()));
    out.savePng(mkres::drawAppIcon(resources::AppIconSize), onDisk(resources::appIcon()));
    out.saveBytes(mkres::clickSound(), QStringLiteral("sounds/click.wav"));

    if (faces.size() != resources::FaceCount || !out.ok() || !out.writeQrc(QStringLiteral("resources.qrc"))) {
        QTextStream(stderr) << "mkresources: could not write everything into " << args.at(1) << "\n";
        return 1;
    }
    return 0;
}
