#pragma once

#include <QByteArray>
#include <QChartView>
#include <QDate>
#include <QLocale>
#include <QString>

#include "students/scorecharts.h"

// The pictures of the results, drawn by Qt Charts on one per-cent scale: a student's results over time with a line
// per activity, or the mean result of each student in a subject as bars. Each call replaces the chart shown.
class ScoreChartView : public QChartView
{
    Q_OBJECT
public:
    // Dates are written in the locale given.
    explicit ScoreChartView(const QLocale& locale, QWidget* parent = nullptr);
    void showProgress(const QString& title, const QVector<ActivitySeries>& series);
    void showMeans(const QString& title, const QVector<StudentMean>& means);
    // Nothing drawn, as before the first choice.
    void clear();
    // The chart shown, drawn at print size, as the bytes of a PNG picture.
    QByteArray png();
    // The number of series and of points (bars) the chart draws, for a check of what it shows.
    int seriesCount() const;
    int pointCount() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void replaceChart(QChart* chart);
    // The labels under the chart fitted to the width it has now: each one whole.
    void fitLabels();

    // The days of the first and the last result of the chart of progress shown; null for none.
    QDate m_firstDay;
    QDate m_lastDay;
    QLocale m_locale;
};
