#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QVector>

// The activity panel's rules, in twips, apart from the widgets that show them.

constexpr int ActivityColumnStep = 2550;
constexpr int ActivityRowStep = 640;
constexpr int ActivityScrollFrom = 17; // last activity index from which the scroll bar shows
constexpr int PanelVisibleHeight = 5000;

struct ActivityGrid
{
    int columns = 0;
    QVector<QPoint> positions; // top-left of btnAct(i)
    int panelHeight = 0; // picActs
    int scrollMaximum = 0; // VScroll; negative when everything fits
    bool scrollVisible = false;
    int moreActsTop = 0; // lblMoreActs
};

// The grid of lastActivityIndex + 1 buttons of the given size, starting at btnAct(0)'s position. Empty (no
// columns, no positions) for fewer than two activities: the panel then stays as designed.
ActivityGrid activityGrid(int lastActivityIndex, QPoint first, QSize button);

// The settings file of an activity program: the part of its file name before the first "." + ".cfg".
QString activitySettingsFile(const QString& activitiesDir, const QString& programFile);

// The tblImages column for the build's learners: "bSpanish" for a Spanish interface, else "bEnglish".
QString activityPictureColumn(const QString& programCode);
