#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// What the new / edit student window holds when the student presses store.
struct StudentForm
{
    QString firstName;
    QString lastName;
    bool usePassword = false;
    QString password;
    QString password2;
    int icon = 1;
    bool editing = false;
    QString storedPassword; // the student's current password or hash, when editing
};

enum class FormField { None, FirstName, LastName, Password, Password2 };

struct FormCheck
{
    bool ok = false;
    FormField focus = FormField::None;
    int message = 0; // interface text to show, 0 for none
};

// The interface texts of the refusals that are not about the password.
constexpr int NameTakenText = 42;
constexpr int HiddenCharactersText = 166;

// The checks in their order; existing holds "first last" of every student in the login list.
FormCheck Check_Student_Form(const StudentForm& form, const QStringList& existing);
QString Form_Display_Name(const StudentForm& form);
// A change that keeps the box ticked and both password boxes empty keeps the current password.
bool Keeps_Current_Password(const StudentForm& form);
// The value for tPassword: NULL for a new student without password, "" for a change without one,
// otherwise the hash of the new password or the current stored value.
QVariant Password_To_Store(const StudentForm& form);
