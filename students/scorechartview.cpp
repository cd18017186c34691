#include "scorechartview.h"

#include <algorithm>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include "common/modmain.h"
#include "students/scores.h"

namespace {
// The exported picture: wide enough for a printed page at a sharp resolution and for every name whole.
constexpr int PrintWidth = 1600;
constexpr int PrintHeight = 1000;

// Every result is drawn as the per cent of its round's maximum, on the same axis whatever the results are, so that
// charts of different students and activities read alike.
QValueAxis* percentAxis()
{
    auto* axis = new QValueAxis;
    axis->setRange(0, 100);
    axis->setTickCount(6);
    axis->setLabelFormat(QStringLiteral("%g"));
    axis->setTitleText(Caption(178));
    return axis;
}

// Qt Charts draws every title, legend entry and axis label as HTML; names and subjects are shown as typed.
QString asHtml(const QString& text) { return text.toHtmlEscaped(); }

QChart* freshChart(const QString& title)
{
    auto* chart = new QChart;
    chart->setTitle(asHtml(title));
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}
}

ScoreChartView::ScoreChartView(QWidget* parent)
    : QChartView(parent)
{
    setObjectName(QStringLiteral("chartView"));
    setRenderHint(QPainter::Antialiasing);
}

void ScoreChartView::showProgress(const QString& title, const QVector<ActivitySeries>& series)
{
    QChart* chart = freshChart(title);
    auto* time = new QDateTimeAxis;
    // Dates as the lists beside the chart write them.
    time->setFormat(Interface_Locale(modMain.InterfaceLanguage).dateFormat(QLocale::ShortFormat));
    time->setTitleText(Caption(48));
    chart->addAxis(time, Qt::AlignBottom);
    QDateTime first, last;
    for (const ActivitySeries& activity : series) {
        auto* line = new QLineSeries;
        line->setName(asHtml(activity.activity));
        line->setPointsVisible(true);
        for (const TimedScore& point : activity.points) {
            line->append(double(point.when.toMSecsSinceEpoch()), point.percent);
            first = first.isValid() ? std::min(first, point.when) : point.when;
            last = last.isValid() ? std::max(last, point.when) : point.when;
        }
        chart->addSeries(line);
        line->attachAxis(time);
    }
    // Whole days from the day before the first result to the day after the last, a tick on each day while they
    // are few, so that one result, or a few of one day, stand in a span of time with no date twice on the axis.
    if (first.isValid()) {
        const QDateTime from(first.date().addDays(-1), QTime(0, 0));
        const QDateTime to(last.date().addDays(2), QTime(0, 0));
        time->setRange(from, to);
        time->setTickCount(int(std::min<qint64>(from.daysTo(to) + 1, 7)));
    }
    QValueAxis* percents = percentAxis();
    chart->addAxis(percents, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series())
        s->attachAxis(percents);
    replaceChart(chart);
}

void ScoreChartView::showMeans(const QString& title, const QVector<StudentMean>& means)
{
    QChart* chart = freshChart(title);
    chart->legend()->hide();
    auto* set = new QBarSet(asHtml(title));
    QStringList students;
    for (const StudentMean& mean : means) {
        *set << mean.mean;
        students << asHtml(mean.student);
    }
    auto* bars = new QBarSeries;
    bars->append(set);
    chart->addSeries(bars);
    auto* names = new QBarCategoryAxis;
    names->append(students);
    names->setTitleText(Caption(50));
    chart->addAxis(names, Qt::AlignBottom);
    bars->attachAxis(names);
    QValueAxis* percents = percentAxis();
    chart->addAxis(percents, Qt::AlignLeft);
    bars->attachAxis(percents);
    replaceChart(chart);
}

void ScoreChartView::clear() { replaceChart(new QChart); }

// The view lets go of the chart it showed without deleting it.
void ScoreChartView::replaceChart(QChart* chart)
{
    QChart* old = this->chart();
    setChart(chart);
    delete old;
}

QByteArray ScoreChartView::png()
{
    // At the window's size a printed chart is blurred and long names are cut: the chart is laid out at print size
    // for the picture and given back its own size after.
    QChart* shown = chart();
    const QSizeF onScreen = shown->size();
    const QSizeF print(std::max(PrintWidth, width()), std::max(PrintHeight, height()));
    shown->resize(print);
    shown->layout()->activate();
    QImage picture(print.toSize(), QImage::Format_ARGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        scene()->render(&painter, QRectF(QPointF(), print), QRectF(shown->pos(), print));
    }
    shown->resize(onScreen);
    shown->layout()->activate();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

int ScoreChartView::seriesCount() const { return int(chart()->series().size()); }

int ScoreChartView::pointCount() const
{
    int count = 0;
    for (QAbstractSeries* s : chart()->series()) {
        if (auto* line = qobject_cast<QLineSeries*>(s))
            count += int(line->count());
        else if (auto* bars = qobject_cast<QBarSeries*>(s))
            for (QBarSet* set : bars->barSets())
                count += int(set->count());
    }
    return count;
}
