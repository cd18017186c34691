#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "students/studentform.h"
#include "students/userdatabase.h"

class frmLogin;

// The new / edit student window; it keeps the login list up to date itself.
class frmNewUser : public QDialog
{
    Q_OBJECT
public:
    frmNewUser(frmLogin& login, bool editing);
    // Prepares a change of the selected student.
    void Fill_From(const Student& student);
    void chkPassword_Click();
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
    void Store();
    void Create_Student(const StudentForm& f);
    void Change_Student(const StudentForm& f);
    void focusField(FormField field);
    frmLogin& m_login;
    QString m_storedPassword;
};
