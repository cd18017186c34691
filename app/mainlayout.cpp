#include "mainlayout.h"

#include <algorithm>

MainGeometry mainGeometry(QSize windowTwips, int menuDesignHeight)
{
    const int dx = std::max(0, windowTwips.width() - MainDesignWidth);
    const int dy = std::max(0, windowTwips.height() - MainDesignHeight);
    const int buttonsTop = 7900 + dy;
    MainGeometry g;
    g.lblSelectSubject = QRect(360, 1920, 5400 + dx, 360);
    g.TreeFolders = QRect(360, 2340, 5400 + dx, 5400 + dy);
    g.lblSelectActivity = QRect(6000 + dx, 1920, 5280, 360);
    g.PicActsHolder = QRect(6000 + dx, 2340, 5280, 5100);
    g.btnCreateVirtualSubjects = QRect(360, buttonsTop, 2640, 420);
    // Under the tree's right edge, as at the design size.
    g.btnOpenSubjectsFolder = QRect(3120 + dx, buttonsTop, 2640, 420);
    g.btnChangeUser = QRect(6000 + dx, buttonsTop, 2580, 420);
    g.btnAdmin = QRect(8700 + dx, buttonsTop, 2580, 420);
    g.btnMyProgress = QRect(8700 + dx, 1250, 2580, 420);
    g.lblURL = QRect(8700 + dx, 8420 + dy, 2580, 300);
    g.Picture1 = QRect(240, 1740, MainDesignWidth - 480 + dx, 60);
    g.PicMsgWidth = MainDesignWidth - 2140 + dx;
    g.lblMsgWidth = MainDesignWidth - 2380 + dx;
    g.picMenuHeight = menuDesignHeight + dy;
    return g;
}
