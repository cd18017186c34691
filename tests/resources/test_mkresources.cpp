// The build-time drawing tool's own pieces: the click sound, the generator, the output list, the lettering
// and the table of faces.
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include "platform/wave.h"
#include "tools/mkresources/canvas.h"
#include "tools/mkresources/faces.h"
#include "tools/mkresources/lettering.h"
#include "tools/mkresources/pictures.h"
#include "tools/mkresources/sound.h"

using namespace mkres;

namespace {

QStringList qrcFiles(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList files;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("file"))
            files.append(xml.readElementText());
    }
    return xml.hasError() ? QStringList { "parse error: " + xml.errorString() } : files;
}

}

class TestMkResources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clickSoundHasItsFixedSizeAndIsTheSameEveryBuild()
    {
        const QByteArray click = clickSound();
        QCOMPARE(click.size(), clickFileSize);
        QCOMPARE(clickSound(), click);
        QVERIFY(platform::readWaveInfo(click).valid);
    }

    void generatorRepeatsItselfForASeedOnly()
    {
        Rng a(42), b(42), c(43);
        QList<std::uint64_t> first, second, other;
        for (int i = 0; i < 8; ++i) {
            first.append(a.next());
            second.append(b.next());
            other.append(c.next());
        }
        QCOMPARE(first, second);
        QVERIFY(first != other);
        QCOMPARE(QSet<std::uint64_t>(first.begin(), first.end()).size(), 8);
    }

    void generatorStaysInItsRanges()
    {
        Rng rng(7);
        QSet<int> seen;
        for (int i = 0; i < 1000; ++i) {
            const double u = rng.uniform(-2.5, 3.0);
            QVERIFY(u >= -2.5 && u < 3.0);
            const int k = rng.below(5);
            QVERIFY(k >= 0 && k < 5);
            seen.insert(k);
        }
        QCOMPARE(seen.size(), 5);
    }

    void colourHelpersReachTheirEnds()
    {
        const QColor c(100, 150, 200, 77);
        QCOMPARE(shade(c, 1.0), c);
        QCOMPARE(shade(c, 2.0), QColor(255, 255, 255, 77));
        QCOMPARE(shade(c, 0.0), QColor(0, 0, 0, 77));
        QCOMPARE(shade(c, 0.5), QColor(50, 75, 100, 77));
        QCOMPARE(mix(c, Qt::white, 0.0), c);
        QCOMPARE(mix(c, Qt::white, 1.0), QColor(Qt::white));
        QCOMPARE(mix(QColor(0, 0, 0), QColor(200, 100, 50), 0.5), QColor(100, 50, 25));
    }

    void outputListsWhatItWroteInTheResourceFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Output out(dir.path());
        QImage image(4, 4, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QVERIFY(out.savePng(image, QStringLiteral("a/b/one.png")));
        QVERIFY(out.saveBytes("RIFF", QStringLiteral("sounds/two.wav")));
        QVERIFY(out.ok());
        QVERIFY(out.writeQrc(QStringLiteral("list.qrc")));
        QCOMPARE(qrcFiles(dir.filePath("list.qrc")), (QStringList { "a/b/one.png", "sounds/two.wav" }));
        QCOMPARE(QImage(dir.filePath("a/b/one.png")).pixel(1, 1), qRgb(255, 0, 0));
        QFile wav(dir.filePath("sounds/two.wav"));
        QVERIFY(wav.open(QIODevice::ReadOnly));
        QCOMPARE(wav.readAll(), QByteArray("RIFF"));
    }

    void outputRemembersAFailure()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath("taken"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Output out(dir.path());
        // a plain file where a folder should go
        QVERIFY(!out.saveBytes("x", QStringLiteral("taken/inside.wav")));
        QVERIFY(out.savePng(QImage(2, 2, QImage::Format_ARGB32), QStringLiteral("fine.png")));
        QVERIFY(!out.ok());
    }

    void wordScalesWithItsLetterHeight()
    {
        const QRectF small = letteredWord(QStringLiteral("Parlanta"), 10).boundingRect();
        const QRectF large = letteredWord(QStringLiteral("Parlanta"), 20).boundingRect();
        QVERIFY(!small.isEmpty());
        QCOMPARE(qRound(large.width()), qRound(small.width() * 2));
        QCOMPARE(qRound(large.height()), qRound(small.height() * 2));
        // the capital and the l rise above the small letters; nothing hangs below the baseline
        QVERIFY(small.top() < -13);
        QVERIFY(small.bottom() <= 10 * 0.24 / 2 + 0.01);
        QVERIFY(small.width() > small.height() * 4);
    }

    void lettersAreSetOneAfterTheOther()
    {
        const double one = letteredWord(QStringLiteral("a"), 10).boundingRect().width();
        const double two = letteredWord(QStringLiteral("aa"), 10).boundingRect().width();
        const double three = letteredWord(QStringLiteral("aaa"), 10).boundingRect().width();
        QVERIFY(two > one * 1.6);
        QCOMPARE(qRound((three - two) * 100), qRound((two - one) * 100));
        // letters it does not know take no room
        QCOMPARE(letteredWord(QStringLiteral("a?a"), 10).boundingRect(),
            letteredWord(QStringLiteral("aa"), 10).boundingRect());
    }

    void facesCoverTheStudentsOfAClass()
    {
        const QList<FaceSpec> specs = faceSpecs();
        QCOMPARE(specs.size(), 40);
        QSet<QRgb> skins, backdrops;
        QSet<int> hairStyles;
        int children = 0, grownUps = 0, glasses = 0, hats = 0, beards = 0;
        for (const FaceSpec& s : specs) {
            skins.insert(s.skin);
            backdrops.insert(s.background);
            hairStyles.insert(int(s.hair));
            children += s.age == Age::Child;
            grownUps += s.age == Age::Adult || s.age == Age::Senior;
            glasses += s.glasses != Glasses::None;
            hats += s.hat != Hat::None;
            beards += s.beard != Beard::None;
            QVERIFY(s.background != 0 && s.shirt != 0);
            if (s.glasses != Glasses::None)
                QVERIFY(s.glassesColour != 0);
            if (s.hat != Hat::None)
                QVERIFY(s.hatColour != 0);
        }
        QVERIFY(skins.size() >= 6);
        QVERIFY(backdrops.size() >= 6);
        QVERIFY(hairStyles.size() >= 12);
        QVERIFY(children >= 12);
        QVERIFY(grownUps >= 12);
        QVERIFY(glasses >= 6);
        QVERIFY(hats >= 8);
        QVERIFY(beards >= 3);
    }

    void facesAreDrawnTheSameEveryTimeAtAnySize()
    {
        const FaceSpec spec = faceSpecs().at(12);
        const QImage once = drawFace(spec, 96);
        QCOMPARE(drawFace(spec, 96), once);
        const QImage small = drawFace(spec, 32);
        QCOMPARE(small.size(), QSize(32, 32));
        QCOMPARE(qAlpha(small.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(small.pixel(16, 16)), 255);
    }

    void treeImagesScaleToTheirGrid()
    {
        for (int scale : { 1, 2, 3 }) {
            const QImage image = drawTreeImage(5, scale);
            QCOMPARE(image.size(), QSize(16 * scale, 16 * scale));
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        }
        // an unknown number gives an empty picture rather than some other node's
        const QImage none = drawTreeImage(12, 1);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                QCOMPARE(qAlpha(none.pixel(x, y)), 0);
    }
};

QTEST_MAIN(TestMkResources)
#include "test_mkresources.moc"
