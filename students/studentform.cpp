#include "studentform.h"

#include "students/passwords.h"
#include "students/studentnames.h"

bool Keeps_Current_Password(const StudentForm& form)
{
    return form.editing && form.usePassword && !form.storedPassword.isEmpty() && form.password.isEmpty()
        && form.password2.isEmpty();
}

QString Form_Display_Name(const StudentForm& form)
{
    return Stored_Name(form.firstName) + QLatin1Char(' ') + Stored_Name(form.lastName);
}

FormCheck Check_Student_Form(const StudentForm& form, const QStringList& existing)
{
    if (form.firstName.trimmed().isEmpty())
        return { false, FormField::FirstName, 0 };
    if (form.lastName.trimmed().isEmpty())
        return { false, FormField::LastName, 0 };
    if (Has_Hidden_Characters(form.firstName.trimmed()))
        return { false, FormField::FirstName, HiddenCharactersText };
    if (Has_Hidden_Characters(form.lastName.trimmed()))
        return { false, FormField::LastName, HiddenCharactersText };
    if (form.usePassword && !Keeps_Current_Password(form)) {
        if (form.password.trimmed().isEmpty())
            return { false, FormField::Password, 0 };
        if (form.password2.trimmed().isEmpty())
            return { false, FormField::Password2, 0 };
        if (form.password != form.password2)
            return { false, FormField::None, 36 };
    }
    if (!form.editing) {
        const QString name = Name_Key(Form_Display_Name(form));
        for (const QString& other : existing) {
            if (Name_Key(other) == name)
                return { false, FormField::None, NameTakenText };
        }
    }
    return { true, FormField::None, 0 };
}

QVariant Password_To_Store(const StudentForm& form)
{
    if (!form.usePassword)
        return form.editing ? QVariant(QString()) : QVariant();
    if (Keeps_Current_Password(form))
        return form.storedPassword;
    return Hash_Password(form.password.trimmed());
}
