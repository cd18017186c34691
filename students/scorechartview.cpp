#include "scorechartview.h"

#include <algorithm>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QDateTimeAxis>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QValueAxis>

#include "common/captions.h"
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

// The locale's short date without its year, for dates of one year: "M/d/yy" gives "M/d", "yyyy-MM-dd" "MM-dd",
// "d.MM.yy 'г'." "d.MM". A year ahead of the day and month goes with the separator after it; a year behind them
// goes with all that follows the last of them, its separator before it and any word of its own after.
QString Day_Month_Format(const QString& shortFormat)
{
    QString format = shortFormat;
    const qsizetype year = format.indexOf(QLatin1Char('y'));
    if (year < 0)
        return format;
    static const QRegularExpression dayOrMonth(QStringLiteral("[dM]"));
    const qsizetype after = format.indexOf(dayOrMonth, year);
    if (after >= 0)
        return format.remove(year, after - year);
    const qsizetype before = format.lastIndexOf(dayOrMonth, year);
    return before < 0 ? format : format.left(before + 1);
}

// Whether labels, one to each equal share of the width, are all whole: Qt Charts cuts a label longer than its
// share less a padding on either side, which the line height covers.
bool Labels_Fit(const QStringList& labels, const QFont& font, qreal width)
{
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (const QString& label : labels)
        widest = std::max(widest, metrics.horizontalAdvance(label));
    return widest + metrics.height() <= width / std::max<qsizetype>(labels.size(), 1);
}

// The ticks of a time axis: count of them, step whole days apart from the first.
struct DateTicks
{
    QDate first;
    int step = 1;
    int count = 2;
    QString format;
};

// As many ticks as fit whole, at most seven and one a day while the days are few, from the day before the first
// result to the day after the last. The year is left out of the labels when they all fall in one, and written in
// two digits when four leave too few.
DateTicks Fit_Date_Ticks(QDate firstDay, QDate lastDay, qreal width, const QLocale& locale, const QFont& font)
{
    const QDate from = firstDay.addDays(-1);
    const int days = int(from.daysTo(lastDay.addDays(1)));
    DateTicks ticks;
    for (int most = std::min(days + 1, 7); most >= 2; --most) {
        ticks = { from, (days + most - 2) / (most - 1), 0, QString() };
        ticks.count = (days + ticks.step - 1) / ticks.step + 1;
        const QDate to = from.addDays(qint64(ticks.step) * (ticks.count - 1));
        const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
        const QStringList formats = from.year() == to.year()
            ? QStringList { Day_Month_Format(shortFormat) }
            : QStringList { shortFormat, QString(shortFormat).replace(QLatin1String("yyyy"), QLatin1String("yy")) };
        for (const QString& format : formats) {
            ticks.format = format;
            QStringList labels;
            for (int i = 0; i < ticks.count; ++i)
                labels << locale.toString(from.addDays(qint64(ticks.step) * i), format);
            if (Labels_Fit(labels, font, width))
                return ticks;
        }
    }
    return ticks;
}
}

ScoreChartView::ScoreChartView(const QLocale& locale, QWidget* parent)
    : QChartView(parent)
    , m_locale(locale)
{
    setObjectName(QStringLiteral("chartView"));
    setRenderHint(QPainter::Antialiasing);
}

void ScoreChartView::showProgress(const QString& title, const QVector<ActivitySeries>& series)
{
    QChart* chart = freshChart(title);
    auto* time = new QDateTimeAxis;
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
    m_firstDay = first.date();
    m_lastDay = last.date();
    QValueAxis* percents = percentAxis();
    chart->addAxis(percents, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series())
        s->attachAxis(percents);
    replaceChart(chart);
    fitLabels();
}

void ScoreChartView::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    fitLabels();
}

// Names side by side while each is whole in its share of the width, otherwise upright. Dates as the lists beside
// the chart write them, as many as the width holds whole. Each tick stands at noon of its day, so that the hour a
// change to or from summer time adds or takes between two ticks leaves it on its day; one result, or a few of one
// day, stand in a span of days with no date twice on the axis.
void ScoreChartView::fitLabels()
{
    QAbstractAxis* axis = chart()->axes(Qt::Horizontal).value(0);
    if (!axis)
        return;
    chart()->layout()->activate();
    if (auto* names = qobject_cast<QBarCategoryAxis*>(axis)) {
        QStringList plain;
        for (const QString& name : names->categories())
            plain << QTextDocumentFragment::fromHtml(name).toPlainText();
        names->setLabelsAngle(Labels_Fit(plain, names->labelsFont(), chart()->plotArea().width()) ? 0 : -90);
        return;
    }
    auto* time = qobject_cast<QDateTimeAxis*>(axis);
    time->setTitleText(Caption(48));
    if (!m_firstDay.isValid())
        return;
    const DateTicks ticks
        = Fit_Date_Ticks(m_firstDay, m_lastDay, chart()->plotArea().width(), m_locale, time->labelsFont());
    const QDate last = ticks.first.addDays(qint64(ticks.step) * (ticks.count - 1));
    time->setFormat(ticks.format);
    // Labels without their year: the title says which year it is.
    if (!ticks.format.contains(QLatin1Char('y')))
        time->setTitleText(QStringLiteral("%1 (%2)").arg(Caption(48)).arg(last.year()));
    time->setRange(QDateTime(ticks.first, QTime(12, 0)), QDateTime(last, QTime(12, 0)));
    time->setTickCount(ticks.count);
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
    fitLabels();
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
    fitLabels();
    shown->layout()->activate();
    QImage picture(print.toSize(), QImage::Format_ARGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        scene()->render(&painter, QRectF(QPointF(), print), QRectF(shown->pos(), print));
    }
    shown->resize(onScreen);
    fitLabels();
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
