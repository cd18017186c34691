#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTreeWidget>
#include <QVector>

#include "students/latestresults.h"

class ScoreChartView;

// Shows the progress window of the student modally; for the main window's btnMyProgress.
void Show_Progress_Window(QWidget* parent, const QString& student);

// A student's own progress, read only: the chart of the student's results over time, filtered by subject, and the
// latest results. It is given the one student's name and reads nothing of anyone else.
class frmProgress : public QDialog
{
    Q_OBJECT
public:
    static constexpr int LatestCount = 10;

    frmProgress(const QString& student, QWidget* parent = nullptr);
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
    QString m_student;
};
