#pragma once

#include <memory>

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVector>

#include "app/settings/templatetexts.h"
#include "app/util/filelist.h"

class ActivityPanel;
class MainFrame;
class MenuPanel;
class SubjectTree;
class TreeEvents;
class frmLogin;
class frmSplash;

// The main window: the subject tree, the activity panel and the frame around them. It owns the controls
// and wires their events; the procedures live with their subsystems.
class frmMain : public QWidget
{
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    // The start-up sequence; false when the program cannot go on (no interface texts). When the weekly
    // update check asks the program to close, the window unloads and the program ends.
    bool Form_Load();
    // Loads the login window anew (its students re-read) and shows it.
    void Show_Login();
    // What a log-in sets on the main window before it shows it.
    void Student_Logged_In(bool administrator);
    void btnChangeUser_Click();

    // Controls
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
    QWidget* picActs;
    QScrollBar* VScroll;
    QLabel* lblMoreActs;
    QVector<QLabel*> btnAct;
    QPushButton* btnAdmin;
    QPushButton* btnChangeUser;
    QPushButton* btnOpenSubjectsFolder;
    QPushButton* btnCreateVirtualSubjects;
    QMenu* mnuOption;
    QAction* mnuListenToPhrase;
    QAction* mnuEdit;
    QTimer* Timer1;
    QTimer* Timer2;
    QTimer* TimShowMenu;
    QTimer* TimHideMenu;
    FileList File1;
    FileList File2;
    FileList FileAct;

    // Members
    QString ActivitiesDir;
    int LastActivityIndex = -1;
    SystemMessages Messages;
    QStringList Tips { QString() };
    int TipPosition = 0;
    int MessagePosition = 0;
    QString PendingMessage;
    QString PendingLink;

    MenuPanel& menuPanel() { return *m_menu; }
    MainFrame& frame() { return *m_frame; }
    SubjectTree& subjectTree() { return *m_tree; }
    TreeEvents& treeEvents() { return *m_treeEvents; }
    ActivityPanel& activityPanel() { return *m_activities; }
    frmLogin* login();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void Check_Resolution();

    std::unique_ptr<MenuPanel> m_menu;
    std::unique_ptr<MainFrame> m_frame;
    std::unique_ptr<SubjectTree> m_tree;
    std::unique_ptr<TreeEvents> m_treeEvents;
    std::unique_ptr<ActivityPanel> m_activities;
    QPointer<frmLogin> m_login;
};
