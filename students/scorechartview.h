#pragma once

#include <QChartView>
#include <QString>

#include "students/scorecharts.h"

// The pictures of the results, drawn by Qt Charts: a student's scores over time with a line per activity, or the
// mean score of each student in a subject as bars. Each call replaces the chart shown.
class ScoreChartView : public QChartView
{
    Q_OBJECT
public:
    explicit ScoreChartView(QWidget* parent = nullptr);
    void showProgress(const QString& title, const QVector<ActivitySeries>& series);
    void showMeans(const QString& title, const QVector<StudentMean>& means);
    // The number of series and of points (bars) the chart draws, for a check of what it shows.
    int seriesCount() const;
    int pointCount() const;
};
