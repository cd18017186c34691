#include "resourcepaths.h"

#include <QDirIterator>
#include <QFileInfo>

namespace resources {

namespace {
    QString numbered(const char* folder, const char* stem, int n, int last, const char* suffix = "")
    {
        if (n < 1 || n > last)
            return {};
        return QStringLiteral(":/%1/%2%3%4.png")
            .arg(QLatin1String(folder), QLatin1String(stem))
            .arg(n, 2, 10, QLatin1Char('0'))
            .arg(QLatin1String(suffix));
    }
}

QString facePicture(int n) { return numbered("faces", "face", n, FaceCount); }

QString treeImage(int n) { return numbered("tree", "node", n, TreeImageCount); }

QString treeImage2x(int n) { return numbered("tree", "node", n, TreeImageCount, "@2x"); }

QIcon treeIcon(int n)
{
    QIcon icon;
    if (n < 1 || n > TreeImageCount)
        return icon;
    icon.addFile(treeImage(n), QSize(TreeImageSize, TreeImageSize));
    icon.addFile(treeImage2x(n), QSize(2 * TreeImageSize, 2 * TreeImageSize));
    return icon;
}

QString scoresActivityPicture(bool open)
{
    return open ? QStringLiteral(":/tree/activity_open.png") : QStringLiteral(":/tree/activity.png");
}

QString scoresSubjectPicture() { return QStringLiteral(":/tree/subject.png"); }

QString scoresButtonPicture() { return QStringLiteral(":/buttons/scores.png"); }

QString iconResource(int number)
{
    if (number >= 101 && number <= 100 + FaceCount)
        return facePicture(number - 100);
    switch (number) {
    case 141:
        return scoresActivityPicture(false);
    case 142:
        return scoresActivityPicture(true);
    case 143:
        return scoresSubjectPicture();
    default:
        return {};
    }
}

QString productLogo(int n)
{
    if (n < 1 || n > ProductLogoCount)
        return {};
    return QStringLiteral(":/logo/logo%1.png").arg(n);
}

QString backgroundPicture() { return QStringLiteral(":/background.png"); }

QString linkCursorPicture() { return QStringLiteral(":/cursor/link.png"); }

QPoint linkCursorHotSpot() { return { 11, 2 }; }

QString appIcon() { return QStringLiteral(":/icon.png"); }

QString soundResource(const QString& name)
{
    if (name.isEmpty())
        return {};
    // Looked up in the resource tree rather than built from the name, so that an unknown name gives
    // nothing and a caller can tell a missing sound from a silent one.
    QDirIterator it(QStringLiteral(":/sounds"), { QStringLiteral("*.wav") }, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        if (info.completeBaseName().compare(name, Qt::CaseInsensitive) == 0
            || info.fileName().compare(name, Qt::CaseInsensitive) == 0)
            return path;
    }
    return {};
}

}
