#include <QtTest>

#include "app/mainlayout.h"

class TestMainLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void designSizeKeepsTheDesignPlaces()
    {
        const MainGeometry g = mainGeometry(QSize(MainDesignWidth, MainDesignHeight), 6000);
        QCOMPARE(g.TreeFolders, QRect(360, 2340, 5400, 5400));
        QCOMPARE(g.PicActsHolder, QRect(6000, 2340, 5280, 5100));
        QCOMPARE(g.btnOpenSubjectsFolder, QRect(3120, 7900, 2640, 420));
        QCOMPARE(g.btnAdmin, QRect(8700, 7900, 2580, 420));
        QCOMPARE(g.lblURL, QRect(8700, 8420, 2580, 300));
        // The progress button sits between the message line's bottom and the separator line, at the right margin.
        QVERIFY(g.btnMyProgress.top() > 1170);
        QVERIFY(g.btnMyProgress.bottom() < g.Picture1.top());
        QCOMPARE(g.btnMyProgress.right(), g.btnAdmin.right());
        QCOMPARE(g.picMenuHeight, 6000);
        // The activity panel and the buttons end at the same right margin as the separator line.
        QCOMPARE(g.PicActsHolder.x() + g.PicActsHolder.width(), g.Picture1.x() + g.Picture1.width());
        // Smaller sizes are the design size.
        const MainGeometry small = mainGeometry(QSize(9000, 6000), 6000);
        QCOMPARE(small.TreeFolders, g.TreeFolders);
        QCOMPARE(small.btnAdmin, g.btnAdmin);
    }

    void aLargerWindowGrowsTheTreeAndMovesWhatIsRightAndBelow()
    {
        const MainGeometry d = mainGeometry(QSize(MainDesignWidth, MainDesignHeight), 6000);
        const MainGeometry g = mainGeometry(QSize(MainDesignWidth + 3000, MainDesignHeight + 2000), 6000);
        QCOMPARE(g.TreeFolders.size(), d.TreeFolders.size() + QSize(3000, 2000));
        QCOMPARE(g.TreeFolders.topLeft(), d.TreeFolders.topLeft());
        QCOMPARE(g.PicActsHolder.size(), d.PicActsHolder.size());
        QCOMPARE(g.PicActsHolder.topLeft(), d.PicActsHolder.topLeft() + QPoint(3000, 0));
        QCOMPARE(g.lblSelectActivity.x(), g.PicActsHolder.x());
        for (const auto& [grown, design] : { std::pair { g.btnCreateVirtualSubjects, d.btnCreateVirtualSubjects },
                 std::pair { g.btnChangeUser, d.btnChangeUser }, std::pair { g.lblURL, d.lblURL } })
            QCOMPARE(grown.y(), design.y() + 2000);
        QCOMPARE(g.btnCreateVirtualSubjects.x(), d.btnCreateVirtualSubjects.x());
        // The folder button stays under the tree's right edge; the right-hand buttons move with the panel.
        QCOMPARE(g.btnOpenSubjectsFolder.right(), g.TreeFolders.right());
        QCOMPARE(g.btnAdmin.right(), g.PicActsHolder.right());
        QCOMPARE(g.btnMyProgress.right(), g.PicActsHolder.right());
        QCOMPARE(g.btnMyProgress.y(), d.btnMyProgress.y());
        QCOMPARE(g.PicMsgWidth, d.PicMsgWidth + 3000);
        QCOMPARE(g.lblMsgWidth, d.lblMsgWidth + 3000);
        QCOMPARE(g.picMenuHeight, 8000);
        // Nothing overlaps the tree.
        for (const QRect& r : { g.PicActsHolder, g.btnOpenSubjectsFolder, g.btnAdmin, g.lblSelectActivity })
            QVERIFY(!r.intersects(g.TreeFolders));
    }
};

QTEST_GUILESS_MAIN(TestMainLayout)
#include "tst_mainlayout.moc"
