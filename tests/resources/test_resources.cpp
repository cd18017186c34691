// The compiled-in pictures and sounds. Nothing here calls Q_INIT_RESOURCE: the resources must be there just
// because the executable links parlanta_core.
#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QSet>
#include <QtTest>

#include "platform/wave.h"
#include "resources/resourcepaths.h"

namespace {

QImage load(const QString& path) { return QImage(path).convertToFormat(QImage::Format_ARGB32); }

// Share of pixels whose colour or opacity differs clearly between two pictures of the same size.
double differingShare(const QImage& a, const QImage& b)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = qMax(qMax(qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q))),
                qMax(qAbs(qBlue(p) - qBlue(q)), qAbs(qAlpha(p) - qAlpha(q))));
            differing += d > 24;
        }
    }
    return double(differing) / (a.width() * a.height());
}

double meanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q))
                + qAbs(qAlpha(p) - qAlpha(q));
        }
    return sum / (a.width() * a.height());
}

int opaquePixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qAlpha(image.pixel(x, y)) > 128;
    return n;
}

// Opaque pixels within a colour distance of the wanted colour, optionally only inside a circle.
int pixelsNear(const QImage& image, QRgb wanted, int tolerance, QPoint centre = {}, int radius = 0)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (radius > 0 && QLineF(QPointF(x, y), centre).length() > radius)
                continue;
            const QRgb p = image.pixel(x, y);
            const int dr = qRed(p) - qRed(wanted), dg = qGreen(p) - qGreen(wanted), db = qBlue(p) - qBlue(wanted);
            n += qAlpha(p) > 240 && dr * dr + dg * dg + db * db <= tolerance * tolerance;
        }
    return n;
}

QColor averageColour(const QImage& image)
{
    double r = 0, g = 0, b = 0, weight = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const double a = qAlpha(p) / 255.0;
            r += qRed(p) * a;
            g += qGreen(p) * a;
            b += qBlue(p) * a;
            weight += a;
        }
    return QColor(qRound(r / weight), qRound(g / weight), qRound(b / weight));
}

}

class TestResources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void facesAreRoundPicturesOfTheListSize()
    {
        for (int n = 1; n <= resources::FaceCount; ++n) {
            const QImage face = load(resources::facePicture(n));
            QVERIFY2(!face.isNull(), qPrintable(resources::facePicture(n)));
            QCOMPARE(face.size(), QSize(96, 96));
            // the corners stay see-through so the list's selection colour shows round the face
            for (const QPoint corner : { QPoint(0, 0), QPoint(95, 0), QPoint(0, 95), QPoint(95, 95), QPoint(6, 6) })
                QCOMPARE(qAlpha(face.pixel(corner)), 0);
            QCOMPARE(qAlpha(face.pixel(48, 48)), 255);
            QCOMPARE(qAlpha(face.pixel(48, 4)), 255);
        }
        QCOMPARE(resources::facePicture(1), QStringLiteral(":/faces/face01.png"));
        QCOMPARE(resources::facePicture(40), QStringLiteral(":/faces/face40.png"));
    }

    void everyFaceLooksDifferent()
    {
        QList<QImage> faces;
        for (int n = 1; n <= resources::FaceCount; ++n)
            faces.append(load(resources::facePicture(n)));
        for (int i = 0; i < faces.size(); ++i)
            for (int j = i + 1; j < faces.size(); ++j) {
                // more than a recoloured shirt: a child must tell its own face from a neighbour's
                const double share = differingShare(faces.at(i), faces.at(j));
                QVERIFY2(share > 0.08,
                    qPrintable(QStringLiteral("faces %1 and %2 differ in only %3 of pixels")
                                   .arg(i + 1)
                                   .arg(j + 1)
                                   .arg(share)));
            }
    }

    void treeImagesAreDistinctSixteenPixelPictures()
    {
        QList<QImage> images;
        for (int n = 1; n <= resources::TreeImageCount; ++n)
            images.append(load(resources::treeImage(n)));
        images.append(load(resources::scoresActivityPicture(false)));
        images.append(load(resources::scoresActivityPicture(true)));
        images.append(load(resources::scoresSubjectPicture()));
        for (int i = 0; i < images.size(); ++i) {
            QCOMPARE(images.at(i).size(), QSize(16, 16));
            QVERIFY2(opaquePixels(images.at(i)) >= 60, qPrintable(QString::number(i)));
            for (int j = i + 1; j < images.size(); ++j)
                QVERIFY2(differingShare(images.at(i), images.at(j)) > 0.05,
                    qPrintable(QStringLiteral("tree pictures %1 and %2 look alike").arg(i + 1).arg(j + 1)));
        }
    }

    void theScoresButtonShowsNoGamepad()
    {
        const QImage button = load(resources::scoresButtonPicture());
        QCOMPARE(button.size(), QSize(resources::ScoresButtonSize, resources::ScoresButtonSize));
        QVERIFY(opaquePixels(button) >= 200);
        const QImage small = button.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY(differingShare(small, load(resources::scoresActivityPicture(false))) > 0.05);
    }

    void treeImagesKeepTheirRoles()
    {
        auto colour = [](int n) { return averageColour(load(resources::treeImage(n))); };
        // fixed folders are warm, virtual subject file folders blue
        for (int n : { 1, 2 })
            QVERIFY(colour(n).red() > colour(n).blue() + 40);
        for (int n : { 3, 4 })
            QVERIFY(colour(n).blue() > colour(n).red() + 40);
        // the unusable subject carries a red mark that no usable subject has
        auto red = [](int n) { return pixelsNear(load(resources::treeImage(n)), qRgb(224, 32, 28), 30); };
        QVERIFY(red(11) >= 8);
        for (int n : { 5, 6, 7, 8 })
            QCOMPARE(red(n), 0);
    }

    void doubleSizeTreeImagesShowTheSamePicture()
    {
        QList<QImage> small;
        for (int n = 1; n <= resources::TreeImageCount; ++n)
            small.append(load(resources::treeImage(n)));
        for (int n = 1; n <= resources::TreeImageCount; ++n) {
            const QImage large = load(resources::treeImage2x(n));
            QCOMPARE(large.size(), QSize(32, 32));
            QCOMPARE(resources::treeImage2x(n), resources::treeImage(n).replace(".png", "@2x.png"));
            const QImage reduced = large.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                       .convertToFormat(QImage::Format_ARGB32);
            const double own = meanDifference(reduced, small.at(n - 1));
            for (int other = 1; other <= resources::TreeImageCount; ++other)
                if (other != n)
                    QVERIFY2(own < meanDifference(reduced, small.at(other - 1)),
                        qPrintable(QStringLiteral("%1@2x looks more like %2").arg(n).arg(other)));
        }
    }

    void treeIconsCarryBothSizes()
    {
        for (int n = 1; n <= resources::TreeImageCount; ++n) {
            const QIcon icon = resources::treeIcon(n);
            auto picture = [&icon](double ratio) {
                return icon.pixmap(QSize(16, 16), ratio).toImage().convertToFormat(QImage::Format_ARGB32);
            };
            QCOMPARE(picture(1.0), load(resources::treeImage(n)));
            QCOMPARE(picture(2.0), load(resources::treeImage2x(n)));
        }
        QVERIFY(resources::treeIcon(0).isNull());
        QVERIFY(resources::treeIcon(12).isNull());
    }

    void iconResourceNumbersFollowTheScoresImageList()
    {
        QCOMPARE(resources::iconResource(101), resources::facePicture(1));
        QCOMPARE(resources::iconResource(140), resources::facePicture(40));
        QCOMPARE(resources::iconResource(141), resources::scoresActivityPicture(false));
        QCOMPARE(resources::iconResource(142), resources::scoresActivityPicture(true));
        QCOMPARE(resources::iconResource(143), resources::scoresSubjectPicture());
        QVERIFY(resources::iconResource(100).isEmpty());
        QVERIFY(resources::iconResource(144).isEmpty());
    }

    void namesOutsideTheirRangesAreEmpty()
    {
        QVERIFY(resources::facePicture(0).isEmpty());
        QVERIFY(resources::facePicture(41).isEmpty());
        QVERIFY(resources::treeImage(0).isEmpty());
        QVERIFY(resources::treeImage(12).isEmpty());
        QVERIFY(resources::treeImage2x(12).isEmpty());
        QVERIFY(resources::productLogo(0).isEmpty());
        QVERIFY(resources::productLogo(9).isEmpty());
    }

    void logosShowTheirLanguagesFlags_data()
    {
        QTest::addColumn<int>("logo");
        QTest::addColumn<QList<QRgb>>("taught");
        QTest::addColumn<QRgb>("learner");
        const QList<QRgb> spain { qRgb(0xC6, 0x0B, 0x1E), qRgb(0xFF, 0xC4, 0x00) };
        const QList<QRgb> france { qRgb(0x00, 0x55, 0xA4), qRgb(0xEF, 0x41, 0x35) };
        const QList<QRgb> germany { qRgb(0, 0, 0), qRgb(0xDD, 0, 0), qRgb(0xFF, 0xCE, 0) };
        const QList<QRgb> italy { qRgb(0, 0x92, 0x46), qRgb(0xCE, 0x2B, 0x37) };
        const QList<QRgb> britain { qRgb(0x01, 0x21, 0x69), qRgb(0xC8, 0x10, 0x2E) };
        const QRgb english = britain.first(), spanish = spain.last();
        QTest::newRow("prlspa") << 1 << spain << english;
        QTest::newRow("prlfre") << 2 << france << english;
        QTest::newRow("prlger") << 3 << germany << english;
        QTest::newRow("prlita") << 4 << italy << english;
        QTest::newRow("prleng") << 5 << britain << spanish;
        QTest::newRow("prlfra") << 6 << france << spanish;
        QTest::newRow("prlale") << 7 << germany << spanish;
        QTest::newRow("prlito") << 8 << italy << spanish;
    }

    void logosShowTheirLanguagesFlags()
    {
        QFETCH(int, logo);
        QFETCH(QList<QRgb>, taught);
        QFETCH(QRgb, learner);
        const QImage image = load(resources::productLogo(logo));
        QCOMPARE(image.size(), QSize(160, 160));
        for (const QRgb colour : taught)
            QVERIFY2(pixelsNear(image, colour, 50) >= 300, qPrintable(QColor(colour).name()));
        // the round badge on the bubble's corner shows the learner's own language
        QVERIFY(pixelsNear(image, learner, 40, QPoint(130, 88), 14) >= 12);
    }

    void logosOfTheSameLanguageDifferInTheLearnersBadge()
    {
        QVERIFY(load(resources::productLogo(2)) != load(resources::productLogo(6)));
        QVERIFY(load(resources::productLogo(3)) != load(resources::productLogo(7)));
        QVERIFY(load(resources::productLogo(4)) != load(resources::productLogo(8)));
    }

    void backgroundIsQuietAndTilesWithoutSeams()
    {
        const QImage tile = load(resources::backgroundPicture());
        QCOMPARE(tile.size(), QSize(256, 256));
        int darkest = 255, lightest = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                QCOMPARE(qAlpha(tile.pixel(x, y)), 255);
                const int grey = qGray(tile.pixel(x, y));
                darkest = qMin(darkest, grey);
                lightest = qMax(lightest, grey);
            }
        // dark text must stay readable anywhere on it
        QVERIFY2(darkest >= 200 && lightest - darkest <= 40,
            qPrintable(QStringLiteral("%1..%2").arg(darkest).arg(lightest)));
        QVERIFY2(lightest > darkest, "the tile has no pattern at all");
        // Windows place tiles edge to edge or every 0.88 of a tile; along both seams no motif may be cut.
        const QRgb plain = tile.pixel(0, 0);
        for (int line : { 0, 225, 226, 255 })
            for (int i = 0; i < 256; ++i) {
                QCOMPARE(tile.pixel(line, i), plain);
                QCOMPARE(tile.pixel(i, line), plain);
            }
    }

    void linkCursorPointsWithItsFingertip()
    {
        const QImage cursor = load(resources::linkCursorPicture());
        QCOMPARE(cursor.size(), QSize(32, 32));
        const QPoint hot = resources::linkCursorHotSpot();
        QVERIFY(QRect(0, 0, 32, 32).contains(hot));
        QVERIFY(qAlpha(cursor.pixel(hot)) > 200);
        // nothing of the hand lies above the hot spot: it is the tip, not a point inside
        for (int y = 0; y < hot.y() - 1; ++y)
            QCOMPARE(qAlpha(cursor.pixel(hot.x(), y)), 0);
        QCOMPARE(qAlpha(cursor.pixel(0, 31)), 0);
        QCOMPARE(qAlpha(cursor.pixel(31, 0)), 0);
    }

    void appIconIsASquarePicture()
    {
        const QImage icon = load(resources::appIcon());
        QCOMPARE(icon.size(), QSize(128, 128));
        QVERIFY(opaquePixels(icon) > 128 * 128 / 2);
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    }

    void clickIsAShortWaveOf582Bytes()
    {
        QFile file(resources::soundResource(QStringLiteral("click")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.size(), 582);
        const platform::WaveInfo info = platform::readWaveInfo(bytes);
        QVERIFY(info.valid);
        QCOMPARE(info.channels, 1);
        QVERIFY(info.bitsPerSample == 8 || info.bitsPerSample == 16);
        QCOMPARE(info.dataBytes, qint64(582 - 44));
        QVERIFY(info.durationMs > 5 && info.durationMs < 100);
        QCOMPARE(bytes.mid(4, 4), QByteArray::fromHex("3e020000")); // RIFF length: file size minus 8
    }

    void clickIsAudibleAndEndsInSilence()
    {
        QFile file(resources::soundResource(QStringLiteral("click")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll().mid(44);
        int loudest = 0;
        for (const char c : data)
            loudest = qMax(loudest, qAbs(int(static_cast<unsigned char>(c)) - 128));
        QVERIFY2(loudest > 40, qPrintable(QString::number(loudest)));
        QVERIFY(qAbs(int(static_cast<unsigned char>(data.back())) - 128) <= 2);
    }

    void soundNamesIgnoreLetterCase()
    {
        const QString click = QStringLiteral(":/sounds/click.wav");
        QCOMPARE(resources::soundResource(QStringLiteral("click")), click);
        QCOMPARE(resources::soundResource(QStringLiteral("Click")), click);
        QCOMPARE(resources::soundResource(QStringLiteral("CLICK")), click);
        QCOMPARE(resources::soundResource(QStringLiteral("Click.WAV")), click);
        QVERIFY(resources::soundResource(QStringLiteral("clack")).isEmpty());
        QVERIFY(resources::soundResource(QStringLiteral("clic")).isEmpty());
        QVERIFY(resources::soundResource(QString()).isEmpty());
    }

    void everyCompiledInFileHasAName()
    {
        QSet<QString> named { resources::backgroundPicture(), resources::linkCursorPicture(), resources::appIcon(),
            resources::scoresActivityPicture(false), resources::scoresActivityPicture(true),
            resources::scoresSubjectPicture(), resources::scoresButtonPicture(),
            resources::soundResource(QStringLiteral("click")) };
        for (int n = 1; n <= resources::FaceCount; ++n)
            named.insert(resources::facePicture(n));
        for (int n = 1; n <= resources::TreeImageCount; ++n)
            named << resources::treeImage(n) << resources::treeImage2x(n);
        for (int n = 1; n <= resources::ProductLogoCount; ++n)
            named.insert(resources::productLogo(n));
        QSet<QString> present;
        for (const char* folder : { "faces", "tree", "logo", "cursor", "sounds", "buttons" }) {
            QDirIterator it(QStringLiteral(":/") + QLatin1String(folder), QDir::Files);
            while (it.hasNext())
                present.insert(it.next());
        }
        present << ":/background.png"
                << ":/icon.png";
        for (const QString& path : present)
            QVERIFY2(QFile::exists(path), qPrintable(path));
        QCOMPARE(present, named);
    }
};

QTEST_MAIN(TestResources)
#include "test_resources.moc"
