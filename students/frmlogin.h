#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include "common/session.h"
#include "students/frmnewuser.h"
#include "students/syncstatus.h"

// The login window: the students as faces with their names; a student picks a name, gives the password
// where one is set and reaches the main window.
class frmLogin : public QWidget
{
    Q_OBJECT
public:
    // The session is the program's own: the student who logs out is the one selected when the window opens again.
    explicit frmLogin(const Session& session);
    // The load step; false when it failed: after the failure's message the window asks for the end of the program.
    bool Form_Load();
    bool Get_Users();
    // Reads the students again, as another computer of the class may have added or changed some, keeping the one
    // selected; a file that cannot be read now leaves the list as it is.
    void Refresh_Students();
    void ListView1_Click();
    void btnLogin_Click(int index);
    void btnNull_Click();
    // How this computer stands with the school's server, in a line under the buttons; no line without a server.
    void Show_Class_Status(const SyncStatus& status);

    bool LoginSucceeded = false;
    QListWidget* ListView1;
    QLabel* lblInstructions;
    QLabel* lblPassword;
    QLineEdit* txtPassword;
    QPushButton* btnLogin[3];
    QPushButton* btnNull;
    QLabel* lblSchool;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void Fill_List(const QVector<Student>& students, const QString& selectedName);
    void Log_In();
    void New_Student();
    void Change_Student();
    bool Password_Accepted();
    // The password box follows the selected student after every change of the list or of the selection.
    void Follow_Selection();
    bool Student_Chosen();
    void Back_From(frmNewUser& form);
    frmNewUser::Login newUserLogin();

    const Session& m_session;
    const UserFile m_users;

Q_SIGNALS:
    // The student whose display name is given has logged in; the window closes next.
    void loggedIn(const QString& student, bool administrator);
    // The new-student or change-student window closed: a student may have been added or changed.
    void studentsChanged();
    // The program ends: with 0 when the window closed without a log-in, with 1 when the students could not be
    // loaded.
    void quitRequested(int exitCode);
};
