#pragma once

#include <exception>

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTreeWidget>
#include <QVector>

#include "common/phrasetext.h"
#include "common/session.h"
#include "students/latestresults.h"
#include "students/phrasememory.h"

class ScoreChartView;
class StudyCalendar;

// Shows the progress window of the session's student modally; for the main window's btnMyProgress. The phrases
// the window lists are named by phraseText.
void Show_Progress_Window(QWidget* parent, const Session& session, const PhraseText& phraseText);

// A student's own progress, read only: the chart of the student's results over time, filtered by subject, and the
// latest results; how the student holds the phrases practised (known, due today, kept in the last 30 days), the
// days studied in the last year and the hardest phrases. It is given the session of the one student and reads
// nothing of anyone else.
class frmProgress : public QDialog
{
    Q_OBJECT
public:
    static constexpr int LatestCount = 10;

    frmProgress(const Session& session, PhraseText phraseText, QWidget* parent = nullptr);
    void Form_Load();
    // Draws the chart of the subject chosen in cboSubject.
    void cboSubject_Click();

    QLabel* lblStudent;
    QComboBox* cboSubject; // every subject, or one
    ScoreChartView* chartView;
    QLabel* lblLatest;
    QTreeWidget* lstLatest;
    QLabel* lblNoResults; // in the list's place while there is nothing to list
    QLabel* lblKnown;
    QLabel* lblDueToday;
    QLabel* lblRetention; // a per cent, or text 199 while nothing was put to the test
    QLabel* lblCalendar;
    StudyCalendar* calStudyDays;
    QLabel* lblHardest;
    QTreeWidget* lstHardest;
    QPushButton* btnClose;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    // Throws platform::DbError.
    void Draw_Chart();
    void Show_Latest(const QVector<LatestResult>& results);
    void Show_Phrases(const ProgressFigures& figures, const QDateTime& now);
    const Session m_session;
    const PhraseText m_phraseText;
    const UserFile m_users;
    const QString m_student;
};
