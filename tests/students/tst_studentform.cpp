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
        // One name however its accents were typed, and stored in the form typed with one key.
        QCOMPARE(Check_Student_Form(form("Jose\u0301", "Gil"), { "JOS\u00C9 GIL" }).message, NameTakenText);
        QCOMPARE(Form_Display_Name(form(" Jose\u0301 ", "Gil")), QStringLiteral("Jos\u00E9 Gil"));
    }

    // Names that would look like another student's, or like nothing, are refused in the box they were typed in.
    void hiddenCharactersAreRefused_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<int>("focus");
        QTest::newRow("zero-width space") << "Admin\u200B"
                                          << "Uno" << int(FormField::FirstName);
        QTest::newRow("right-to-left mark") << "Ana"
                                            << "Uno\u200F" << int(FormField::LastName);
        QTest::newRow("no-break space") << "Ana\u00A0Mar\u00EDa"
                                        << "Uno" << int(FormField::FirstName);
        QTest::newRow("tab") << "Ana"
                             << "U\tno" << int(FormField::LastName);
        QTest::newRow("Hangul filler") << "\u3164"
                                       << "Uno" << int(FormField::FirstName);
        QTest::newRow("accents and scripts are names") << "Jos\u00E9 \u00D1and\u00FA"
                                                       << "\u0417\u043E\u044F \u674E" << int(FormField::None);
    }
    void hiddenCharactersAreRefused()
    {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(int, focus);
        const FormCheck check = Check_Student_Form(form(first, last), {});
        QCOMPARE(check.ok, focus == int(FormField::None));
        QCOMPARE(int(check.focus), focus);
        QCOMPARE(check.message, check.ok ? 0 : HiddenCharactersText);
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
