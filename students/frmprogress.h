#pragma once

#include <exception>

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTreeWidget>
#include <QVector>

#include "common/session.h"
#include "students/latestresults.h"

class ScoreChartView;

// Shows the progress window of the session's student modally; for the main window's btnMyProgress.
void Show_Progress_Window(QWidget* parent, const Session& session);

// A student's own progress, read only: the chart of the student's results over time, filtered by subject, and the
// latest results. It is given the session of the one student and reads nothing of anyone else.
class frmProgress : public QDialog
{
    Q_OBJECT
public:
    static constexpr int LatestCount = 10;

    explicit frmProgress(const Session& session, QWidget* parent = nullptr);
    void Form_Load();
    // Draws the chart of the subject chosen in cboSubject.
    void cboSubject_Click();

    QLabel* lblStudent;
    QComboBox* cboSubject; // every subject, or one
    ScoreChartView* chartView;
    QLabel* lblLatest;
    QTreeWidget* lstLatest;
    QLabel* lblNoResults; // in the list's place while there is nothing to list
    QPushButton* btnClose;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    // Throws platform::DbError.
    void Draw_Chart();
    void Show_Latest(const QVector<LatestResult>& results);
    const Session m_session;
    const UserFile m_users;
    const QString m_student;
};
