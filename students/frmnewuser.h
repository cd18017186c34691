#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "students/studentform.h"
#include "students/userdatabase.h"

class QListWidget;

// Marks a box the student has to fill before the window can store; typing in it takes the mark away.
void Mark_Missing(QLineEdit* box, bool missing);
bool Is_Marked_Missing(const QLineEdit* box);

// The new / edit student window; it keeps the login list up to date itself.
class frmNewUser : public QDialog
{
    Q_OBJECT
public:
    // What the window works on in the login window: its list of students. The login window sets its password
    // box after the window closes, from whichever student is then selected.
    struct Login
    {
        QWidget* window;
        QListWidget* ListView1;
    };
    frmNewUser(const Session& session, const Login& login, bool editing);
    // Prepares a change of the selected student.
    void Fill_From(const Student& student);
    void btnEdit_Click(int index);
    StudentForm form() const;

    QLabel* lblfirst;
    QLineEdit* txtFirst;
    QLabel* lblLast;
    QLineEdit* txtLast;
    QLabel* lblIcon;
    QComboBox* imageCombo1;
    QCheckBox* chkPassword;
    QLabel* lblTypePass;
    QLineEdit* txtPassword;
    QLabel* lblRetypePass;
    QLineEdit* txtPassword2;
    QPushButton* btnEdit[2];

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Shows the password rows while the box is ticked, however it was ticked.
    void chkPassword_Click();
    void Store();
    // False when the name was refused after all: the window stays open.
    bool Create_Student(const StudentForm& f);
    void Change_Student(const StudentForm& f);
    QLineEdit* boxOf(FormField field) const;
    const Session m_session;
    const UserFile m_users;
    Login m_login;
    QString m_storedPassword;
};
