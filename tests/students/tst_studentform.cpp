#include <QtTest>

#include "students/passwords.h"
#include "students/studentform.h"

class TestStudentForm : public QObject
{
    Q_OBJECT
private:
    static StudentForm form(const QString& first, const QString& last)
    {
        StudentForm f;
        f.firstName = first;
        f.lastName = last;
        return f;
    }

private Q_SLOTS:
    void checksRunInTheirOrder()
    {
        QCOMPARE(Check_Student_Form(form("  ", ""), {}).focus, FormField::FirstName);
        QCOMPARE(Check_Student_Form(form("Ana", "   "), {}).focus, FormField::LastName);
        StudentForm f = form("Ana", "Ruiz");
        f.usePassword = true;
        f.password = "   ";
        QCOMPARE(Check_Student_Form(f, {}).focus, FormField::Password);
        f.password = "abc";
        QCOMPARE(Check_Student_Form(f, {}).focus, FormField::Password2);
        // Letter case counts here, although the log-in ignores it.
        f.password2 = "ABC";
        const FormCheck differ = Check_Student_Form(f, {});
        QVERIFY(!differ.ok);
        QCOMPARE(differ.message, 36);
        f.password2 = "abc";
        QVERIFY(Check_Student_Form(f, {}).ok);
    }

    void duplicatesAreRefusedOnlyWhenCreating()
    {
        const QStringList existing { "Ana Ruiz", "Luis Gil" };
        const FormCheck dup = Check_Student_Form(form("  ana ", " RUIZ"), existing);
        QVERIFY(!dup.ok);
        QCOMPARE(dup.message, 42);
        QCOMPARE(Form_Display_Name(form("  ana ", " RUIZ")), QStringLiteral("ana RUIZ"));
        StudentForm change = form("ana", "ruiz");
        change.editing = true;
        QVERIFY(Check_Student_Form(change, existing).ok);
        QVERIFY(Check_Student_Form(form("Ana", "Ruiz Gil"), existing).ok);
        QVERIFY(Check_Student_Form(form("José*", "O'Brien \"Pepe\""), existing).ok);
    }

    void passwordToStore()
    {
        StudentForm f = form("Ana", "Ruiz");
        QVERIFY(Password_To_Store(f).isNull());
        f.editing = true;
        QCOMPARE(Password_To_Store(f), QVariant(QString()));
        QVERIFY(!Password_To_Store(f).isNull());

        f.usePassword = true;
        f.password = f.password2 = "  Clave ";
        const QString hash = Password_To_Store(f).toString();
        QVERIFY(Is_Password_Hash(hash));
        QVERIFY(Password_Matches(hash, "CLAVE")); // stored trimmed
        QVERIFY(!Password_Matches(hash, "  Clave "));
    }

    void aChangeWithEmptyBoxesKeepsThePassword()
    {
        StudentForm f = form("Ana", "Ruiz");
        f.editing = true;
        f.usePassword = true;
        f.storedPassword = Hash_Password("old");
        QVERIFY(Keeps_Current_Password(f));
        QVERIFY(Check_Student_Form(f, {}).ok);
        QCOMPARE(Password_To_Store(f).toString(), f.storedPassword);
        // Typing once is not enough: the second box is asked for.
        f.password = "new";
        QVERIFY(!Keeps_Current_Password(f));
        QCOMPARE(Check_Student_Form(f, {}).focus, FormField::Password2);
        // Without a current password a ticked box needs one.
        StudentForm none = form("Ana", "Ruiz");
        none.editing = true;
        none.usePassword = true;
        QCOMPARE(Check_Student_Form(none, {}).focus, FormField::Password);
    }
};

QTEST_GUILESS_MAIN(TestStudentForm)
#include "tst_studentform.moc"
