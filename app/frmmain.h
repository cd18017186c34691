#pragma once

#include <memory>
#include <optional>

#include <QPointer>
#include <QWidget>

#include "app/modmain.h"
#include "common/filelist.h"
#include "custom/customhost.h"

class ActivityLauncher;
class ActivityPanel;
class ClassSync;
class MainFrame;
class MenuPanel;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class QTreeWidget;
class ReviewFolder;
class SubjectTree;
class TreeEvents;
class frmLogin;

// The main window: the subject tree, the activity panel and the frame around them. It places the
// subsystems' widgets, hands each the narrow values it needs and wires their reports to one another.
class frmMain : public QWidget, public CustomSubjectHost
{
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    // The start-up sequence; false when the run ended during it (no interface texts, a window that could not
    // load, the weekly update check asking the program to close): the caller returns endCode().
    bool Form_Load();
    // The one way the program ends, whoever asks: this run's temporary files go, the run's windows hide and
    // runEnded tells the event loop to stop with exitCode. Later requests find the run ended and change nothing.
    void End_Run(int exitCode);
    // The code the run ended with; none while it goes on.
    std::optional<int> endCode() const { return m_endCode; }
    // Loads the login window anew (its students re-read) and shows it.
    void Show_Login();
    // What a log-in sets on the main window before it shows it.
    void Student_Logged_In(const QString& student, bool administrator);
    void btnChangeUser_Click();

    // What the custom subject editor is handed.
    const Session& session() const override { return modMain; }
    void Hide_Main_Window() override { hide(); }
    void Show_Main_Window() override { show(); }
    void Refresh_Subjects() override;
    FileList& File1() override { return m_File1; }
    FileList& File2() override { return m_File2; }

    frmLogin* login();

Q_SIGNALS:
    void runEnded(int exitCode);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void placeControls();
    void wire();
    void Get_Settings();
    // Loads the login window without showing it, unless it is loaded; false when it could not load.
    bool Load_Login();
    // Keeps this computer and its school's server in step, when one is set: at the log-in list, back from a game,
    // as the tracked scores or the progress open, every minute, and at the end.
    void Start_Class_Sync();
    static constexpr int ClassSyncIntervalMs = 60000;
    static constexpr int ClassSyncFinishMs = 3000;
    void Check_Resolution();

    QTreeWidget* TreeFolders;
    QLabel* lblSelectSubject;
    QLabel* lblSelectActivity;
    QLabel* lblCaption;
    QLabel* imgLogo;
    QLabel* Picture1;
    QWidget* picMenu;
    QWidget* PicMsg;
    QLabel* lblMsg;
    QLabel* lblURL;
    QWidget* PicActsHolder;
    QPushButton* btnAdmin;
    QPushButton* btnMyProgress;
    QPushButton* btnChangeUser;
    QPushButton* btnOpenSubjectsFolder;
    QPushButton* btnCreateVirtualSubjects;
    QMenu* mnuOption;
    QAction* mnuListenToPhrase;
    QAction* mnuEdit;
    // The student's rights over the popup's commands: only the administrator may edit a phrase. The menu
    // itself opens for everybody, so that every student can hear a phrase from it.
    bool mnuOptionEnabled = false;
    QTimer* Timer1;
    QTimer* Timer2;
    QTimer* TimShowMenu;
    QTimer* TimHideMenu;
    FileList m_File1;
    FileList m_File2;
    FileList FileAct;
    QString ActivitiesDir;

    std::unique_ptr<MenuPanel> m_menu;
    std::unique_ptr<MainFrame> m_frame;
    std::unique_ptr<ReviewFolder> m_review;
    std::unique_ptr<SubjectTree> m_tree;
    std::unique_ptr<TreeEvents> m_treeEvents;
    std::unique_ptr<ActivityPanel> m_activities;
    std::unique_ptr<ActivityLauncher> m_launcher;
    QPointer<frmLogin> m_login;
    std::unique_ptr<ClassSync> m_classSync;
    std::optional<int> m_endCode;
};
