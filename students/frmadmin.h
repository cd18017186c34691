#pragma once

#include <functional>

#include <exception>

#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVector>

#include "common/phrasetext.h"
#include "common/session.h"
#include "students/classphrases.h"
#include "students/scoreexport.h"
#include "students/syncstatus.h"

// Shows the tracked-scores window of the session's user database modally; for the main window's btnAdmin; true when it
// cleared the user database: the program ends. phraseText names the phrases of the phrases view.
// classSync, when given, is the exchange with the school's server: the window tells how it stands, starts it again
// when the settings change and reads the results again when rows come in from other computers. importLessons, when
// given, opens the window that imports other programs' lessons, owned by the window passed to it.
bool Show_Admin_Window(QWidget* parent, const Session& session, const PhraseText& phraseText,
    class ClassSync* classSync = nullptr, std::function<void(QWidget*)> importLessons = {});

// The tracked-scores window: the recorded results by student, activity or subject, the class's phrases, and the
// clearing of the whole user database.
class frmAdmin : public QDialog
{
    Q_OBJECT
public:
    // Marks the placeholder node, so that a name that happens to read like it is still a name.
    static constexpr int PlaceholderRole = Qt::UserRole + 1;
    // The identity of the phrase a node of the phrases view shows.
    static constexpr int PhraseRole = Qt::UserRole + 2;
    // The fourth entry of cboView: the class's hardest phrases, each with its figures; no score tree.
    static constexpr int PhraseView = 3;

    frmAdmin(const Session& session, PhraseText phraseText, QWidget* parent = nullptr);
    void Form_Load();
    // The view of the current entry of cboView.
    void cboView_Click();
    void TreeView1_NodeClick(QTreeWidgetItem* node);
    void btnClearDatabase_Click();
    // Only a student's own node in the student view, and never the administrator's: the file would have none left.
    bool Is_Removable(const QTreeWidgetItem* node) const;
    // Removes the student of the node and his or her results once the administrator has said yes.
    void mnuRemoveStudent_Click(QTreeWidgetItem* node);
    // Into a file the administrator chooses: the results listed (CSV), every stored result (CSV), or the chart
    // shown (PNG).
    void mnuExportList_Click();
    void mnuExportAll_Click();
    void mnuExportChart_Click();
    // The view TreeView1 shows, from its tag; -1 before one is chosen.
    int shownView() const;

    QLabel* lblView;
    QComboBox* cboView;
    QTreeWidget* TreeView1;
    QVector<QPixmap> ImageList2; // entries 1..43; entry 0 is a null picture
    QLabel* lblList;
    QTreeWidget* ListView1;
    QTabWidget* tabResults; // the list, and the chart of the same choice beside it
    QComboBox* cboChartSubject; // a student's chart: every subject, or one
    class ScoreChartView* chartView;
    QPushButton* btnClearDatabase;
    QPushButton* btnExport; // opens the menu of exports
    QMenu* mnuExport;
    QAction* mnuExportList;
    QAction* mnuExportAll;
    QAction* mnuExportChart;
    // Opens the school server window; its settingsChanged reports stored or forgotten settings.
    class SchoolServerButton* btnSchoolServer;
    QPushButton* btnImportLessons;
    // Shows btnImportLessons, which runs open.
    void Offer_Import(std::function<void(QWidget*)> open);
    QLabel* lblSchool; // how the exchange with the school's server stands; empty without a server
    void Show_Class_Status(const SyncStatus& status);

Q_SIGNALS:
    // The user database is gone: the window has closed and the program ends.
    void quitRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void Show_View(int view);
    // The columns of both panes for a view; the list's at their design widths.
    void Set_Columns(int view);
    void Fit_Columns();
    void Show_Phrases();
    void Show_Phrase_Students(const QTreeWidgetItem* node);
    QString Export_Phrases(const QString& path, const ResultChoice& choice) const;
    // The chart of what ListView1 lists, drawn once its tab is shown or it is exported: drawing it takes several
    // times as long as the listing.
    void Draw_Due_Chart();
    void Show_Chart();
    void Show_Student_Chart();
    // The file the administrator chooses, with the type added when none was typed; "" on Cancel.
    QString Ask_Export_Path(int filterCaption, const QString& suffix);
    void Export_Csv(const ResultChoice& choice);
    void Report_Export_Failure(int caption, const QString& path, const QString& reason);
    // What the list export writes: the results ListView1 lists (no view before a child node is clicked); in the
    // phrases view the class's phrases, or once one is clicked its students (nodeText is its identity).
    ResultChoice m_listed;
    // The phrases view: the moment its figures are of and what it shows, kept so that an export writes exactly
    // that.
    QDateTime m_phrasesNow;
    QVector<ClassPhrase> m_phrases;
    QVector<StudentPhrase> m_phraseStudents;
    bool m_chartDue = false; // chartView does not draw m_listed yet
    QIcon nodeIcon(int picture, int selectedPicture) const;
    const Session m_session;
    const PhraseText m_phraseText;
    const UserFile m_users;
};
