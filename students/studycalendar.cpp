#include "studycalendar.h"

#include <algorithm>

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "common/captions.h"
#include "platform/plaintooltip.h"
#include "platform/services.h"

using platform::twips;

namespace {
constexpr int Padding = 120;
constexpr int SmallestPitch = 120;
constexpr int LargestPitch = 210;
const QColor Text(0x1d, 0x35, 0x57);
const QColor Empty(0xe3, 0xeb, 0xf0);
const QColor Studied(0x2a, 0x9d, 0x8f);

int weekRow(const QDate& date, Qt::DayOfWeek firstDayOfWeek) { return (date.dayOfWeek() - firstDayOfWeek + 7) % 7; }
}

std::optional<CalendarCell> Calendar_Cell(const QDate& day, const QDate& today, Qt::DayOfWeek firstDayOfWeek)
{
    if (!day.isValid() || !today.isValid() || day > today || day.daysTo(today) >= CalendarDays)
        return {};
    const QDate weekOfToday = today.addDays(-weekRow(today, firstDayOfWeek));
    const QDate weekOfDay = day.addDays(-weekRow(day, firstDayOfWeek));
    return CalendarCell { CalendarWeeks - 1 - static_cast<int>(weekOfDay.daysTo(weekOfToday) / 7),
        weekRow(day, firstDayOfWeek) };
}

StudyCalendar::StudyCalendar(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
}

void StudyCalendar::setDays(const QVector<QDate>& studyDays, const QDate& today, const QLocale& locale)
{
    m_studyDays = QSet<QDate>(studyDays.begin(), studyDays.end());
    m_today = today;
    m_locale = locale;
    updateGeometry();
    update();
}

int StudyCalendar::labelWidth() const
{
    int widest = 0;
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        widest = std::max(widest, fontMetrics().horizontalAdvance(m_locale.dayName(day, QLocale::ShortFormat)));
    return twips(Padding) + widest + twips(90);
}

int StudyCalendar::headerHeight() const { return twips(Padding) + fontMetrics().height() + twips(45); }

QSize StudyCalendar::sizeFor(int pitch) const
{
    return QSize(labelWidth() + CalendarWeeks * pitch + twips(Padding), headerHeight() + 7 * pitch + twips(Padding));
}

QSize StudyCalendar::sizeHint() const { return sizeFor(twips(LargestPitch)); }

QSize StudyCalendar::minimumSizeHint() const { return sizeFor(twips(SmallestPitch)); }

QPoint StudyCalendar::origin() const
{
    const QSize used = sizeFor(pitch());
    return QPoint(std::max(0, (width() - used.width()) / 2), std::max(0, (height() - used.height()) / 2));
}

int StudyCalendar::pitch() const
{
    const int across = (width() - labelWidth() - twips(Padding)) / CalendarWeeks;
    const int down = (height() - headerHeight() - twips(Padding)) / 7;
    return std::clamp(std::min(across, down), twips(SmallestPitch), twips(LargestPitch));
}

QRect StudyCalendar::dayRect(const QDate& day) const
{
    const std::optional<CalendarCell> cell = Calendar_Cell(day, m_today, m_locale.firstDayOfWeek());
    if (!cell)
        return {};
    const int side = pitch();
    const int gap = std::max(1, side / 6);
    return QRect(origin() + QPoint(labelWidth() + cell->column * side, headerHeight() + cell->row * side),
        QSize(side - gap, side - gap));
}

QDate StudyCalendar::dayAt(const QPoint& point) const
{
    for (QDate day = m_today.addDays(1 - CalendarDays); day.isValid() && day <= m_today; day = day.addDays(1)) {
        if (dayRect(day).contains(point))
            return day;
    }
    return {};
}

QString StudyCalendar::dayTip(const QPoint& point) const
{
    const QDate day = dayAt(point);
    if (!day.isValid())
        return {};
    const QString date = m_locale.toString(day, QLocale::LongFormat);
    return m_studyDays.contains(day) ? Caption(202).arg(date) : date;
}

bool StudyCalendar::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = dayTip(help->pos());
    // The tip goes when the pointer leaves its day, so that the next day gets its own.
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), platform::plainToolTip(tip), this, dayRect(dayAt(help->pos())));
    return true;
}

void StudyCalendar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x8a, 0xa5, 0xb8));
    painter.setBrush(QColor(255, 255, 255, 225));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    if (!m_today.isValid())
        return;

    const int side = pitch();
    const int textHeight = fontMetrics().height();
    painter.setPen(Text);
    // Every other weekday is named, as all seven would crowd the rows.
    for (int row = 1; row < 7; row += 2) {
        const int day = (m_locale.firstDayOfWeek() - 1 + row) % 7 + 1;
        painter.drawText(QRect(origin() + QPoint(twips(Padding), headerHeight() + row * side + (side - textHeight) / 2),
                             QSize(labelWidth() - twips(Padding), textHeight)),
            Qt::AlignLeft | Qt::AlignVCenter, m_locale.dayName(day, QLocale::ShortFormat));
    }

    int labelsEnd = 0;
    for (QDate day = m_today.addDays(1 - CalendarDays); day <= m_today; day = day.addDays(1)) {
        const QRect square = dayRect(day);
        painter.setPen(day == m_today ? QPen(Text, 1.5) : Qt::NoPen);
        painter.setBrush(m_studyDays.contains(day) ? Studied : Empty);
        painter.drawRoundedRect(QRectF(square).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        if (day.day() != 1)
            continue;
        // A month is named over the week of its first day, where there is room for its name.
        const QString month = m_locale.monthName(day.month(), QLocale::ShortFormat);
        const int monthWidth = fontMetrics().horizontalAdvance(month);
        if (square.left() >= labelsEnd && square.left() + monthWidth <= width() - twips(Padding)) {
            painter.setPen(Text);
            painter.drawText(QPoint(square.left(), origin().y() + twips(Padding) + fontMetrics().ascent()), month);
            labelsEnd = square.left() + monthWidth + twips(90);
        }
    }
}
