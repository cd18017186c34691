#pragma once

#include <optional>

#include <QDate>
#include <QLocale>
#include <QSet>
#include <QVector>
#include <QWidget>

// Where a day stands in the calendar of a year's study days: a column per week with the current week last, a row
// per weekday from the locale's first day of the week.
struct CalendarCell
{
    int column = 0;
    int row = 0;
    bool operator==(const CalendarCell&) const = default;
};
inline constexpr int CalendarDays = 365; // today and the 364 days before it
inline constexpr int CalendarWeeks = 53; // whatever weekday today is, 365 days touch at most 53 weeks
// The cell of day in the calendar that ends with today; nothing for a day after today or before the 365 days.
std::optional<CalendarCell> Calendar_Cell(const QDate& day, const QDate& today, Qt::DayOfWeek firstDayOfWeek);

// The study days of the last year drawn as a heat map of days, month names above and weekday names beside, in
// the locale's words and week. A day's tip gives its date.
class StudyCalendar : public QWidget
{
    Q_OBJECT
public:
    explicit StudyCalendar(QWidget* parent = nullptr);
    // studyDays: the days with results among the 365 that end with today.
    void setDays(const QVector<QDate>& studyDays, const QDate& today, const QLocale& locale);
    // Where the day is drawn; empty for a day outside the calendar.
    QRect dayRect(const QDate& day) const;
    // The tip over the point: text 202 with the date on a study day, the date alone on another day.
    QString dayTip(const QPoint& point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QDate dayAt(const QPoint& point) const;
    int labelWidth() const;
    int headerHeight() const;
    int pitch() const; // the side of a day's square and the gap after it
    QPoint origin() const; // where the drawing starts: the calendar stands in the middle of the space it is given
    QSize sizeFor(int pitch) const;
    QSet<QDate> m_studyDays;
    QDate m_today;
    QLocale m_locale;
};
