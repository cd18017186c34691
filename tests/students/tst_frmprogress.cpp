#include <QtTest>

#include <QAbstractAxis>
#include <QAbstractSeries>
#include <QBarCategoryAxis>
#include <QChart>
#include <QGraphicsTextItem>
#include <QLineSeries>
#include <QValueAxis>

#include "common/interfacelocale.h"
#include "common/session.h"
#include "games/common/scorewriter.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "students/frmprogress.h"
#include "students/latestresults.h"
#include "students/scorechartview.h"
#include "students/studycalendar.h"
#include "students/userdatabase.h"
#include "tests/students/scoredata.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/modal.h"

using platform::twips;

namespace {
const QString Ana = QStringLiteral("Ana \"Nana\" O'Brien, Jr.");
const QString Other = QStringLiteral("Zoe Adams");
const PhraseText TextOf = [](const QString& identity) { return QStringLiteral("text of ") + identity; };

QStringList rows(const QTreeWidget* list, int columns = 3)
{
    QStringList result;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList texts;
        for (int c = 0; c < columns; ++c)
            texts << list->topLevelItem(i)->text(c);
        result << texts.join('|');
    }
    return result;
}

// The tip of the day's square in the calendar.
QString tipOf(const StudyCalendar* calendar, const QDate& day)
{
    return calendar->dayTip(calendar->dayRect(day).center());
}

// Every text the window shows, the chart's included.
QStringList shownTexts(const frmProgress& form)
{
    QStringList texts { form.windowTitle() };
    for (const QLabel* label : form.findChildren<QLabel*>())
        texts << label->text();
    for (const QComboBox* combo : form.findChildren<QComboBox*>())
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    for (const QTreeWidget* tree : form.findChildren<QTreeWidget*>())
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            for (int c = 0; c < tree->columnCount(); ++c)
                texts << tree->topLevelItem(i)->text(c) << tree->topLevelItem(i)->toolTip(c);
    const QChart* chart = form.chartView->chart();
    texts << chart->title();
    for (const QAbstractSeries* series : chart->series())
        texts << series->name();
    for (QAbstractAxis* axis : chart->axes())
        if (auto* names = qobject_cast<QBarCategoryAxis*>(axis))
            texts << names->categories();
    return texts;
}
}

class TestFrmProgress : public QObject
{
    Q_OBJECT
private:
    Session as(const QString& student) const
    {
        Session session = m_users->session;
        session.CurrentStudent = student;
        return session;
    }
    fixtures::ProgramFolder m_program;
    std::unique_ptr<scoredata::NewUsers> m_users;
    fakes::Environment* m_env = nullptr;

    // Rows as the activities store them, through their own writer.
    void play(
        const QString& student, const QString& subject, const QString& activity, double score, const QDateTime& when)
    {
        const games::ScoreWriter writer(m_users->file().path);
        const games::SaveResult saved = writer.write(
            { student, subject, activity, QString::number(score) + QStringLiteral(" / 10"), score, when, {} });
        QVERIFY2(saved.saved(), qPrintable(saved.detail));
    }

private Q_SLOTS:
    void init()
    {
        m_env = new fakes::Environment;
        m_users = std::make_unique<scoredata::NewUsers>(m_program);
        QVERIFY(m_users->made);
        fixtures::loadNumberedCaptions();
        Insert_Student(m_users->file(), "Zoe", "Adams", QVariant(), 5);
    }
    void cleanup()
    {
        QLocale::setDefault(QLocale::system());
        m_users.reset();
        delete m_env;
    }

    // A new student plays three games: the chart has a point for each, the list the three results, newest first.
    void threeGamesPlayedAreThreePoints()
    {
        const QDateTime now = m_env->clock.now();
        play(Ana, "Colours", "Flashcards", 7, now.addSecs(-600));
        play(Ana, "Colours", "Listen and choose", 9, now.addSecs(-300));
        play(Ana, "Colours", "Dictation", 4, now);
        frmProgress form(as(Ana), TextOf);
        QCOMPARE(form.windowTitle(), QStringLiteral("T162 \u2013 ") + Ana);
        QCOMPARE(form.chartView->seriesCount(), 3);
        QCOMPARE(form.chartView->pointCount(), 3);
        QCOMPARE(form.chartView->chart()->title(), QStringLiteral("T156"));
        QCOMPARE(rows(form.lstLatest),
            QStringList(
                { "Colours|Dictation|4 / 10", "Colours|Listen and choose|9 / 10", "Colours|Flashcards|7 / 10" }));
        QVERIFY(!form.lblNoResults->isVisibleTo(&form));
        QVERIFY(form.lstLatest->isVisibleTo(&form));
        QCOMPARE(form.lstLatest->topLevelItem(0)->toolTip(3), now.time().toString("HH:mm:ss"));
    }

    // Whoever opens it, the window holds the one student's results and nothing of anyone else's, even where the
    // other student has results of the same subject and activity.
    void noOtherStudentsResultsAreShown()
    {
        const QDateTime day(QDate(2026, 11, 20), QTime(9, 0));
        play(Ana, "Colours", "Pairs", 6, day);
        play(Other, "Colours", "Pairs", 10, day.addSecs(60));
        play(Other, "Secret subject", "Hidden activity", 3, day.addSecs(120));
        play(Ana.left(3), "Another secret", "Pairs", 2, day.addSecs(180));
        for (const QString& who : { Ana, Other }) {
            frmProgress form(as(who), TextOf);
            const QStringList texts = shownTexts(form);
            const QString other = who == Ana ? Other : Ana;
            for (const QString& text : texts) {
                QVERIFY2(!text.contains(other), qPrintable(text));
                QVERIFY2(!text.contains("Another secret"), qPrintable(text));
                if (who == Ana)
                    QVERIFY2(!text.contains("Secret subject") && !text.contains("Hidden"), qPrintable(text));
            }
            QCOMPARE(form.lstLatest->topLevelItemCount(), who == Ana ? 1 : 2);
            QCOMPARE(form.chartView->pointCount(), who == Ana ? 1 : 2);
        }
        QCOMPARE(Latest_Results(m_users->file(), Ana, 10).size(), 1);
    }

    // Only the ten latest results are listed, newest first by the date and time they were played, whatever order
    // they were stored in; the chart's subject filter leaves the other subjects out.
    void theTenLatestAndTheSubjectFilter()
    {
        for (int day = 14; day >= 1; --day)
            play(Ana, day % 2 ? "Odd days" : "Even days", "Flashcards", day % 10,
                QDateTime(QDate(2026, 11, day), QTime(8, 0)));
        frmProgress form(as(Ana), TextOf);
        QCOMPARE(form.lstLatest->topLevelItemCount(), frmProgress::LatestCount);
        const QVector<LatestResult> latest = Latest_Results(m_users->file(), Ana, frmProgress::LatestCount);
        QCOMPARE(latest.first().date, QStringLiteral("2026-11-14"));
        QCOMPARE(latest.last().date, QStringLiteral("2026-11-05"));
        QCOMPARE(form.chartView->pointCount(), 14);
        QCOMPARE(form.cboSubject->count(), 3);
        QCOMPARE(form.cboSubject->itemText(0), QStringLiteral("T156"));
        form.cboSubject->setCurrentIndex(form.cboSubject->findText("Odd days"));
        form.cboSubject_Click();
        QCOMPARE(form.chartView->pointCount(), 7);
        QCOMPARE(form.chartView->chart()->title(), QStringLiteral("Odd days"));
        // The list is the student's latest whatever the chart shows.
        QCOMPARE(form.lstLatest->topLevelItemCount(), frmProgress::LatestCount);
    }

    // Results of different maximums stand on one axis of per cents, the lists keeping the texts the games wrote; an
    // old Pairs round, which stored its turns only, is listed and not drawn.
    void mixedResultsAreDrawnAsPerCents()
    {
        scoredata::addScore(m_users->file(), Ana, "Colours", "Dictation", "93 %", 93, "2026-11-20", "09:00:00");
        scoredata::addScore(m_users->file(), Ana, "Colours", "Flashcards", "8 / 10", 8, "2026-11-20", "09:10:00");
        scoredata::addScore(m_users->file(), Ana, "Colours", "Pairs", "12 turns", QVariant(), "2026-11-20", "09:20:00");
        scoredata::addScore(m_users->file(), Ana, "Colours", "Pairs", "4 turns", 75, "2026-11-21", "09:00:00");
        frmProgress form(as(Ana), TextOf);
        QStringList drawn;
        for (QAbstractSeries* series : form.chartView->chart()->series())
            for (const QPointF& point : qobject_cast<QLineSeries*>(series)->points())
                drawn << series->name() + '|' + QString::number(point.y());
        QCOMPARE(drawn, QStringList({ "Dictation|93", "Flashcards|80", "Pairs|75" }));
        const auto* axis = qobject_cast<QValueAxis*>(form.chartView->chart()->axes(Qt::Vertical).value(0));
        QVERIFY(axis);
        QCOMPARE(axis->min(), 0.0);
        QCOMPARE(axis->max(), 100.0);
        QCOMPARE(axis->titleText(), QStringLiteral("T178"));
        QCOMPARE(rows(form.lstLatest),
            QStringList({ "Colours|Pairs|4 turns", "Colours|Pairs|12 turns", "Colours|Flashcards|8 / 10",
                "Colours|Dictation|93 %" }));
    }

    // A dozen results over three months: the dates under the chart are whole (Qt Charts ends a label that does not
    // fit with "...") at the window's size, at the tracked-scores window's smallest and at the picture's print size.
    void theDatesAreReadInFull_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QDate>("first");
        QTest::newRow("one year, English") << QLocale("en_US") << "English" << QDate(2026, 9, 18);
        QTest::newRow("one year, Spanish") << QLocale("es_ES") << "Spanish" << QDate(2026, 9, 18);
        QTest::newRow("two years, long dates") << QLocale("en_GB") << "English" << QDate(2026, 11, 1);
    }
    void theDatesAreReadInFull()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, language);
        QFETCH(QDate, first);
        QLocale::setDefault(locale);
        m_users->session.InterfaceLanguage = language;
        for (int i = 0; i < 12; ++i)
            play(Ana, "Colours", "Pairs", i % 10, QDateTime(first.addDays(i * 9), QTime(9, 0)));
        frmProgress form(as(Ana), TextOf);
        form.show();
        ScoreChartView* view = form.chartView;
        for (const QSize size : { view->size(), QSize(twips(4200), twips(2600)), QSize(1600, 1000) }) {
            view->resize(size);
            QStringList texts;
            for (const QGraphicsItem* item : view->scene()->items())
                if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(item); text && text->isVisible())
                    texts << text->toPlainText();
            QVERIFY2(texts.filter(QRegularExpression("^\\d+/\\d+")).size() >= 3 && texts.filter("...").isEmpty(),
                qPrintable(texts.join(" | ")));
        }
    }

    void aStudentWithoutResultsIsToldHowToGetThem()
    {
        play(Other, "Colours", "Pairs", 10, m_env->clock.now());
        frmProgress form(as(Ana), TextOf);
        QCOMPARE(form.chartView->seriesCount(), 0);
        QVERIFY(form.lblNoResults->isVisibleTo(&form));
        QCOMPARE(form.lblNoResults->text(), QStringLiteral("T164"));
        QVERIFY(!form.lstLatest->isVisibleTo(&form));
        QVERIFY(!form.cboSubject->isVisibleTo(&form));
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QCOMPARE(form.lblKnown->text(), "0");
        QCOMPARE(form.lblDueToday->text(), "0");
        QCOMPARE(form.lblRetention->text(), "T199");
        QCOMPARE(form.lstHardest->topLevelItemCount(), 0);
        const QDate today = platform::currentUtc().toLocalTime().date();
        QCOMPARE(tipOf(form.calStudyDays, today),
            Interface_Locale(m_users->session.InterfaceLanguage).toString(today, QLocale::LongFormat));
    }

    // Three phrases as the scheduler holds them: #1, Good twenty days ago and Easy an hour ago, is known and not due;
    // #2, Good sixty and forty-five days ago, has outlived its interval; #3, Good then Again, was forgotten once. Of
    // the two repeats within 30 days one was kept. Another student's Again changes nothing.
    void thePhraseFiguresOfTheRecord()
    {
        const QDateTime now = platform::currentUtc();
        const auto ago = [&now](int days) { return now.addDays(-days).addSecs(-3600); };
        const auto at = [&ago](int days) { return ago(days).toString(Qt::ISODate); };
        scoredata::addPhraseResults(m_users->file(),
            { { Ana, "zoo.ale#1", 3, at(20) }, { Ana, "zoo.ale#1", 4, at(0) }, { Ana, "zoo.ale#2", 3, at(60) },
                { Ana, "zoo.ale#2", 3, at(45) }, { Ana, "zoo.ale#3", 3, at(25) }, { Ana, "zoo.ale#3", 1, at(15) },
                { Other, "zoo.ale#1", 1, at(2) } });
        frmProgress form(as(Ana), TextOf);
        QCOMPARE(form.lblKnown->text(), "1");
        QCOMPARE(form.lblDueToday->text(), "2");
        QCOMPARE(form.lblRetention->text(), "50 %");
        QCOMPARE(rows(form.lstHardest, 2),
            QStringList({ "text of zoo.ale#3|1", "text of zoo.ale#2|0", "text of zoo.ale#1|0" }));
        QVERIFY(form.lstHardest->topLevelItem(2)->text(2).contains(QRegularExpression("^(9\\d|100) %$")));
        const QLocale locale = Interface_Locale(m_users->session.InterfaceLanguage);
        for (const int days : { 15, 16 }) {
            const QDate day = ago(days).toLocalTime().date();
            const QString date = locale.toString(day, QLocale::LongFormat);
            QCOMPARE(tipOf(form.calStudyDays, day), days == 15 ? "T202 " + date : date);
        }
    }

    // Weeks are columns, today's last; weekdays are rows from the locale's first day of the week.
    void aDayFallsInItsWeekAndWeekday_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("firstDay");
        QTest::addColumn<int>("column"); // -1: outside the calendar
        QTest::addColumn<int>("row");
        const QDate thursday(2026, 12, 10);
        QTest::newRow("today") << thursday << thursday << 1 << 52 << 3;
        QTest::newRow("this Monday") << QDate(2026, 12, 7) << thursday << 1 << 52 << 0;
        QTest::newRow("last Sunday, weeks from Monday") << QDate(2026, 12, 6) << thursday << 1 << 51 << 6;
        QTest::newRow("last Sunday, weeks from Sunday") << QDate(2026, 12, 6) << thursday << 7 << 52 << 0;
        QTest::newRow("the oldest day") << QDate(2025, 12, 11) << thursday << 1 << 0 << 3;
        QTest::newRow("a year ago") << QDate(2025, 12, 10) << thursday << 1 << -1 << 0;
        QTest::newRow("tomorrow") << QDate(2026, 12, 11) << thursday << 1 << -1 << 0;
        QTest::newRow("new year's eve from 2 January") << QDate(2026, 12, 31) << QDate(2027, 1, 2) << 1 << 52 << 3;
        QTest::newRow("the Sunday before, from 2 January") << QDate(2026, 12, 27) << QDate(2027, 1, 2) << 1 << 51 << 6;
        QTest::newRow("week from Sunday across the year") << QDate(2026, 12, 27) << QDate(2027, 1, 1) << 7 << 52 << 0;
        QTest::newRow("29 February") << QDate(2028, 2, 29) << QDate(2028, 3, 1) << 1 << 52 << 1;
        QTest::newRow("oldest day of a Sunday") << QDate(2025, 12, 14) << QDate(2026, 12, 13) << 1 << 0 << 6;
    }
    void aDayFallsInItsWeekAndWeekday()
    {
        QFETCH(QDate, day);
        QFETCH(QDate, today);
        QFETCH(int, firstDay);
        QFETCH(int, column);
        QFETCH(int, row);
        const std::optional<CalendarCell> cell = Calendar_Cell(day, today, static_cast<Qt::DayOfWeek>(firstDay));
        QCOMPARE(cell.has_value(), column >= 0);
        if (cell)
            QCOMPARE(*cell, (CalendarCell { column, row }));
    }

    // A user database that cannot be read is said once, and the window still opens and closes.
    void anUnreadableDatabaseIsSaid()
    {
        QFile file(m_users->file().path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(4096, 'x'));
        file.close();
        ModalScript script;
        frmProgress form(as(Ana), TextOf);
        QCOMPARE(script.notices.size(), 1);
        QCOMPARE(form.chartView->seriesCount(), 0);
        QVERIFY(form.lblNoResults->isVisibleTo(&form));
    }

    void showProgressWindowIsModalAndReturnsWhenClosed()
    {
        QTimer::singleShot(0, [] {
            auto* form = qobject_cast<frmProgress*>(QApplication::activeModalWidget());
            QVERIFY(form);
            QVERIFY(form->isModal());
            form->btnClose->click();
        });
        Show_Progress_Window(nullptr, as(Ana), TextOf);
    }
};

QTEST_MAIN(TestFrmProgress)
#include "tst_frmprogress.moc"
