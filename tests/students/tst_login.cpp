#include <QtTest>

#include "common/apppath.h"
#include "common/files.h"
#include "common/session.h"
#include "platform/database.h"
#include "students/frmlogin.h"
#include "students/frmnewuser.h"
#include "students/loginlist.h"
#include "students/passwords.h"
#include "students/userdatabase.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/modal.h"

class TestLogin : public QObject
{
    Q_OBJECT
private:
    Session m_session;
    UserFile users() const { return Users_Of(m_session); }
    fixtures::ProgramFolder* m_program = nullptr;
    fakes::Environment* m_env = nullptr;

    // Fills the new-student window and stores it.
    static std::function<void(QWidget*)> enter(
        const QString& first, const QString& last, int face, const QString& password = QString())
    {
        return [=](QWidget* w) {
            auto* form = qobject_cast<frmNewUser*>(w);
            QVERIFY(form);
            form->txtFirst->setText(first);
            form->txtLast->setText(last);
            form->imageCombo1->setCurrentIndex(face - 1);
            if (!password.isNull()) {
                form->chkPassword->setChecked(true);
                form->txtPassword->setText(password);
                form->txtPassword2->setText(password);
            }
            form->btnEdit_Click(0);
        };
    }

    QListWidgetItem* itemNamed(frmLogin& login, const QString& name)
    {
        const auto found = login.ListView1->findItems(name, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }

private Q_SLOTS:
    void init()
    {
        m_env = new fakes::Environment;
        m_program = new fixtures::ProgramFolder;
        m_session = fixtures::programSession(m_program->path());
        fixtures::loadNumberedCaptions();
        m_session.DataDir = m_program->path();
    }
    void cleanup()
    {
        delete m_program;
        delete m_env;
    }

    void firstStartCreatesTheDatabaseAndAnEmptyList()
    {
        auto* login = new frmLogin(m_session);
        QSignalSpy loggedIn(login, &frmLogin::loggedIn);
        login->Form_Load();
        QVERIFY(QFile::exists(users().path));
        QCOMPARE(login->ListView1->count(), 0);
        QVERIFY(login->lblPassword->isHidden());
        QVERIFY(login->txtPassword->isHidden());
        QCOMPARE(login->windowTitle(), QStringLiteral("T29 Parlanta Alemán"));
        QCOMPARE(login->btnLogin[0]->text(), QStringLiteral("T28"));
        // Log in, Enter and change on an empty list say what to do.
        ModalScript script;
        login->btnLogin_Click(0);
        login->btnNull_Click();
        login->btnLogin_Click(2);
        QCOMPARE(script.notices, QStringList({ "T173", "T173", "T173" }));
        QCOMPARE(loggedIn.size(), 0);
        delete login;
    }

    void passwordBoxFollowsTheSelectedStudent()
    {
        QPointer<frmLogin> login = new frmLogin(m_session);
        QSignalSpy loggedIn(login.data(), &frmLogin::loggedIn);
        login->Form_Load();
        login->show();
        QVERIFY(QTest::qWaitForWindowActive(login));
        ModalScript script;
        script.onDialog(enter("Zoe", "Adams", 5, "Gato"));
        login->btnLogin_Click(1);
        QCOMPARE(script.notices, QStringList({ "T43" }));
        QTRY_COMPARE(QApplication::activeWindow(), login.data());
        QCOMPARE(login->focusWidget(), login->txtPassword);

        // A new student without a password leaves the administrator selected, and her password asked.
        script.onDialog(enter("Ana", "Ruiz", 12));
        login->btnLogin_Click(1);
        QCOMPARE(login->ListView1->currentItem()->text(), QStringLiteral("Zoe Adams"));
        QVERIFY(login->txtPassword->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), login.data());
        QCOMPARE(login->focusWidget(), login->txtPassword);

        login->ListView1->setFocus();
        QTest::keyClick(login->ListView1, Qt::Key_Home);
        QCOMPARE(login->ListView1->currentItem()->text(), QStringLiteral("Ana Ruiz"));
        QVERIFY(login->txtPassword->isHidden());
        QTest::mouseClick(login->ListView1->viewport(), Qt::LeftButton, {},
            login->ListView1->visualItemRect(itemNamed(*login, "Zoe Adams")).center());
        QVERIFY(login->txtPassword->isVisible());

        login->ListView1->setCurrentItem(nullptr);
        login->btnLogin_Click(0);
        QCOMPARE(script.notices, QStringList({ "T43", "T173" }));
        QVERIFY(login->txtPassword->isHidden());

        login->ListView1->setCurrentItem(itemNamed(*login, "Zoe Adams"));
        login->txtPassword->setText("Gato");
        login->btnNull_Click();
        QTRY_VERIFY(!login);
        QCOMPARE(loggedIn.size(), 1);
    }

    void firstStudentBecomesAdministratorAndLogsIn()
    {
        QPointer<frmLogin> login = new frmLogin(m_session);
        QSignalSpy loggedIn(login.data(), &frmLogin::loggedIn);
        QSignalSpy quit(login.data(), &frmLogin::quitRequested);
        login->Form_Load();
        login->show();
        ModalScript script;
        script.onDialog(enter("  Zoe ", " Adams ", 5));
        login->btnLogin_Click(1);
        QCOMPARE(script.notices, QStringList({ "T43" }));
        QCOMPARE(login->ListView1->count(), 1);
        QListWidgetItem* zoe = login->ListView1->item(0);
        QCOMPARE(zoe->text(), QStringLiteral("Zoe Adams"));
        QVERIFY(LoginItem::isAdministrator(zoe));

        script.onDialog(enter("Ana", "Ruiz", 12, "Gato"));
        login->btnLogin_Click(1);
        QCOMPARE(script.notices.size(), 1); // no second administrator message
        QCOMPARE(login->ListView1->count(), 2);
        // Sorted by name; the administrator keeps the bold mark wherever the sort puts her.
        QCOMPARE(login->ListView1->item(0)->text(), QStringLiteral("Ana Ruiz"));
        QVERIFY(!LoginItem::isAdministrator(login->ListView1->item(0)));
        QVERIFY(LoginItem::isAdministrator(login->ListView1->item(1)));
        const auto stored = Read_Students(users());
        QCOMPARE(stored[0].displayName(), QStringLiteral("Zoe Adams"));
        QCOMPARE(stored[0].icon, 5);
        QVERIFY(Is_Password_Hash(stored[1].password));

        login->ListView1->setCurrentItem(itemNamed(*login, "Zoe Adams"));
        QVERIFY(login->txtPassword->isHidden());
        login->btnNull_Click();
        QTRY_VERIFY(!login);
        QCOMPARE(loggedIn.size(), 1);
        QCOMPARE(loggedIn[0][0].toString(), QStringLiteral("Zoe Adams"));
        QCOMPARE(loggedIn[0][1].toBool(), true);
        // Closing after a log-in is no request to quit.
        QCOMPARE(quit.size(), 0);
    }

    void passwordIsAskedInAnyLetterCase()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        Insert_Student(users(), "Zoe", "Adams", QVariant(), 1);
        Insert_Student(users(), "Ana", "Ruiz", Hash_Password("Gato"), 2);
        QPointer<frmLogin> login = new frmLogin(m_session);
        QSignalSpy loggedIn(login.data(), &frmLogin::loggedIn);
        login->Form_Load();
        login->show();
        login->ListView1->setCurrentItem(itemNamed(*login, "Ana Ruiz"));
        QVERIFY(login->txtPassword->isVisible());
        ModalScript script;
        login->txtPassword->setText(" gato");
        login->btnLogin_Click(0);
        login->txtPassword->setText("perro");
        login->btnLogin_Click(0);
        QCOMPARE(script.notices, QStringList({ "T39", "T39" }));
        QVERIFY(login && loggedIn.isEmpty());
        login->txtPassword->setText("gATO");
        login->btnLogin_Click(0);
        QTRY_VERIFY(!login);
        QCOMPARE(loggedIn.size(), 1);
        QCOMPARE(loggedIn[0][0].toString(), QStringLiteral("Ana Ruiz"));
        QCOMPARE(loggedIn[0][1].toBool(), false);
    }

    void enterInThePasswordBoxWarnsOnceAndSelectsTheWrongText()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        Insert_Student(users(), "Ana", "Ruiz", Hash_Password("Gato"), 2);
        QPointer<frmLogin> login = new frmLogin(m_session);
        QSignalSpy loggedIn(login.data(), &frmLogin::loggedIn);
        login->Form_Load();
        login->show();
        QVERIFY(QTest::qWaitForWindowExposed(login));
        ModalScript script;
        QTest::keyClicks(login->txtPassword, "perro");
        QTest::keyClick(login->txtPassword, Qt::Key_Return);
        QCOMPARE(script.notices, QStringList({ "T39" }));
        QCOMPARE(login->focusWidget(), login->txtPassword);
        // Typing again replaces the wrong password instead of adding to it.
        QCOMPARE(login->txtPassword->selectedText(), QStringLiteral("perro"));
        QTest::keyClicks(login->txtPassword, "gato");
        QCOMPARE(login->txtPassword->text(), QStringLiteral("gato"));
        QTest::keyClick(login->txtPassword, Qt::Key_Enter);
        QTRY_VERIFY(!login);
        QCOMPARE(loggedIn.size(), 1);
        QCOMPARE(script.notices.size(), 1);
    }

    void anEmptyPasswordBoxIsAWrongPassword()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        Insert_Student(users(), "Ana", "Ruiz", Hash_Password("Gato"), 2);
        QPointer<frmLogin> login = new frmLogin(m_session);
        QSignalSpy loggedIn(login.data(), &frmLogin::loggedIn);
        login->Form_Load();
        login->show();
        QVERIFY(QTest::qWaitForWindowExposed(login));
        ModalScript script;
        QTest::keyClick(login->txtPassword, Qt::Key_Return);
        QCOMPARE(script.notices, QStringList({ "T39" }));
        QVERIFY(loggedIn.isEmpty());
        delete login;
    }

    void theStudentWhoLeftIsSelectedAgain_data()
    {
        QTest::addColumn<QString>("leaving");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("passwordAsked");
        QTest::newRow("first start") << QString() << "Ana Ruiz" << true;
        QTest::newRow("last in the list") << "Zoe Adams"
                                          << "Zoe Adams" << false;
        QTest::newRow("with a password") << "Luis Gil"
                                         << "Luis Gil" << true;
        QTest::newRow("renamed meanwhile") << "Luis Gi"
                                           << "Ana Ruiz" << true;
    }

    void theStudentWhoLeftIsSelectedAgain()
    {
        QFETCH(QString, leaving);
        QFETCH(QString, selected);
        QFETCH(bool, passwordAsked);
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        // Only whether a password is set matters here; plain ones spare the slow hashing.
        Insert_Student(users(), "Zoe", "Adams", QVariant(), 1);
        Insert_Student(users(), "Luis", "Gil", QStringLiteral("Perro"), 3);
        Insert_Student(users(), "Ana", "Ruiz", QStringLiteral("Gato"), 2);
        m_session.CurrentStudent = leaving;
        auto* login = new frmLogin(m_session);
        login->Form_Load();
        QVERIFY(login->ListView1->currentItem());
        QCOMPARE(login->ListView1->currentItem()->text(), selected);
        QVERIFY(login->ListView1->currentItem()->isSelected());
        QCOMPARE(!login->txtPassword->isHidden(), passwordAsked);
        delete login;
    }

    void emptyNamesMarkTheirBoxAndStoreNothing()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        auto* login = new frmLogin(m_session);
        login->Form_Load();
        login->show();
        ModalScript script;
        script.onDialog([](QWidget* w) {
            auto* form = qobject_cast<frmNewUser*>(w);
            form->txtLast->setText("Adams");
            form->txtFirst->setText("   ");
            form->btnEdit_Click(0);
            QCOMPARE(form->focusWidget(), form->txtFirst);
            QVERIFY(Is_Marked_Missing(form->txtFirst));
            QVERIFY(!Is_Marked_Missing(form->txtLast));
            // Typing takes the mark away.
            QTest::keyClicks(form->txtFirst, "Zoe");
            QVERIFY(!Is_Marked_Missing(form->txtFirst));
            form->txtLast->clear();
            form->btnEdit_Click(0);
            QCOMPARE(form->focusWidget(), form->txtLast);
            QVERIFY(Is_Marked_Missing(form->txtLast));
            QVERIFY(!Is_Marked_Missing(form->txtFirst));
            // A ticked password box left empty is marked the same way.
            form->txtLast->setText("Adams");
            form->chkPassword->setChecked(true);
            form->btnEdit_Click(0);
            QCOMPARE(form->focusWidget(), form->txtPassword);
            QVERIFY(Is_Marked_Missing(form->txtPassword));
            QVERIFY(!Is_Marked_Missing(form->txtLast));
            QVERIFY(form->isVisible());
            form->btnEdit_Click(1);
        });
        login->btnLogin_Click(1);
        // The boxes say what is missing; no message comes on top.
        QVERIFY(script.notices.isEmpty());
        QVERIFY(Read_Students(users()).isEmpty());
        QCOMPARE(login->ListView1->count(), 0);
        delete login;
    }

    void namesStopAtTheirLimitWhileTyped()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        auto* login = new frmLogin(m_session);
        login->Form_Load();
        ModalScript script;
        script.onDialog([](QWidget* w) {
            auto* form = qobject_cast<frmNewUser*>(w);
            QTest::keyClicks(form->txtFirst, "Maria Guadalupe Estefania");
            QTest::keyClicks(form->txtLast, "Villasenor de Cardenas y Ruiz");
            QCOMPARE(form->txtFirst->text(), QStringLiteral("Maria Guadalupe Este"));
            QCOMPARE(form->txtLast->text(), QStringLiteral("Villasenor de Carden"));
            form->btnEdit_Click(0);
        });
        login->btnLogin_Click(1);
        QCOMPARE(
            Read_Students(users()).value(0).displayName(), QStringLiteral("Maria Guadalupe Este Villasenor de Carden"));
        delete login;
    }

    // A school's database from before the scores had indexes gains them when the students are listed.
    void olderDatabaseGainsTheScoreIndexesAtTheList()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        const auto indexNames = [this] {
            return platform::Database::openFile(users().path)
                .query("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'tblscores'")
                .count();
        };
        const int made = indexNames();
        QVERIFY(made >= 3);
        {
            const auto db = platform::Database::openFile(users().path);
            const auto indexes
                = db.query("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'tblscores'");
            for (int i = 0; i < indexes.count(); ++i)
                db.execute("DROP INDEX \"" + indexes.text(i, 0) + "\"");
        }
        QCOMPARE(indexNames(), 0);
        Insert_Student(users(), "Zoe", "Adams", QVariant(), 1);
        auto* login = new frmLogin(m_session);
        login->Form_Load();
        QCOMPARE(login->ListView1->count(), 1);
        QCOMPARE(indexNames(), made);
        delete login;
    }

    void olderPlainPasswordIsReplacedByItsHash()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        Insert_Student(users(), "Zoe", "Adams", QStringLiteral("Perro"), 1);
        QPointer<frmLogin> login = new frmLogin(m_session);
        login->Form_Load();
        login->txtPassword->setText("PERRO");
        login->btnLogin_Click(0);
        QTRY_VERIFY(!login);
        const QString stored = Read_Students(users())[0].password;
        QVERIFY(Is_Password_Hash(stored));
        QVERIFY(Password_Matches(stored, "perro"));
    }

    void changingAStudentKeepsOrReplacesThePassword()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        Insert_Student(users(), "Zoe", "Adams", QVariant(), 1);
        const qint64 ana = Insert_Student(users(), "Ana", "Ruiz", Hash_Password("Gato"), 2).id;
        QPointer<frmLogin> login = new frmLogin(m_session);
        login->Form_Load();
        login->ListView1->setCurrentItem(itemNamed(*login, "Ana Ruiz"));
        ModalScript script;
        script.onDialog([](QWidget* w) {
            auto* form = qobject_cast<frmNewUser*>(w);
            QCOMPARE(form->windowTitle(), QStringLiteral("T45"));
            QCOMPARE(form->btnEdit[0]->text(), QStringLiteral("T44"));
            QVERIFY(form->chkPassword->isChecked());
            QVERIFY(form->txtPassword->text().isEmpty());
            QCOMPARE(form->imageCombo1->currentData().toInt(), 2);
            // Another student's name may be taken by a change.
            form->txtFirst->setText("zoe");
            form->txtLast->setText("adams");
            form->btnEdit_Click(0);
        });
        login->txtPassword->setText("gato");
        login->btnLogin_Click(2);
        QVERIFY(script.notices.isEmpty());
        auto stored = Read_Students(users());
        QCOMPARE(stored[1].id, ana);
        QCOMPARE(stored[1].displayName(), QStringLiteral("zoe adams"));
        QVERIFY(Password_Matches(stored[1].password, "GATO"));

        // Unticking removes the password: the row then holds an empty text.
        login->ListView1->setCurrentItem(itemNamed(*login, "zoe adams"));
        script.onDialog([](QWidget* w) {
            auto* form = qobject_cast<frmNewUser*>(w);
            form->chkPassword->setChecked(false);
            form->btnEdit_Click(0);
        });
        login->txtPassword->setText("gato");
        login->btnLogin_Click(2);
        stored = Read_Students(users());
        QCOMPARE(stored[1].password, QString());
        const platform::Database db = platform::Database::openFile(users().path);
        QCOMPARE(db.query("SELECT count(*) FROM tblUsers WHERE tPassword = ''").text(0, 0), QStringLiteral("1"));
        QVERIFY(login->txtPassword->isHidden());
        delete login;
    }

    void duplicateAndMismatchKeepTheWindowOpen()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        Insert_Student(users(), "Zoe", "Adams", QVariant(), 1);
        QPointer<frmLogin> login = new frmLogin(m_session);
        login->Form_Load();
        ModalScript script;
        bool stillOpen = false;
        script.onDialog([&](QWidget* w) {
            auto* form = qobject_cast<frmNewUser*>(w);
            form->txtFirst->setText("ZOE");
            form->txtLast->setText("adams");
            form->btnEdit_Click(0);
            form->txtFirst->setText("Luis");
            form->chkPassword->setChecked(true);
            form->txtPassword->setText("abc");
            form->txtPassword2->setText("abd");
            form->btnEdit_Click(0);
            stillOpen = form->isVisible();
            form->btnEdit_Click(1);
        });
        login->btnLogin_Click(1);
        QCOMPARE(script.notices, QStringList({ "T42", "T36" }));
        QVERIFY(stillOpen);
        QCOMPARE(Read_Students(users()).size(), 1);
        delete login;
    }

    // Two copies of the program on one folder, each with the list it filled at its start: the file decides
    // whether a name is free and who the administrator is, at the moment of the insert and of the log-in.
    void twoCopiesShareOneAdministratorAndOneOfEachName()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        QPointer<frmLogin> first = new frmLogin(m_session);
        QPointer<frmLogin> second = new frmLogin(m_session);
        first->Form_Load();
        second->Form_Load();
        ModalScript script;
        script.onDialog(enter("Ana", "Uno", 1));
        first->btnLogin_Click(1);
        QCOMPARE(script.notices, QStringList({ "T43" }));
        // The other copy's list does not hold her, the file does: the name in another letter case is refused.
        bool stillOpen = false;
        script.onDialog([&](QWidget* w) {
            enter("ANA", "uno", 2)(w);
            stillOpen = w->isVisible();
            enter("Jose\u0301", "Uno", 2)(w);
        });
        second->btnLogin_Click(1);
        QVERIFY(stillOpen);
        QCOMPARE(script.notices, QStringList({ "T43", "T42" }));
        // Typed with one key instead of a combining accent, it is the same name.
        script.onDialog([&](QWidget* w) {
            enter("Jos\u00e9", "Uno", 3)(w);
            qobject_cast<frmNewUser*>(w)->btnEdit_Click(1);
        });
        first->btnLogin_Click(1);
        QCOMPARE(script.notices, QStringList({ "T43", "T42", "T42" }));
        const QVector<Student> stored = Read_Students(users());
        QCOMPARE(stored.size(), 2);
        QCOMPARE(stored[1].firstName, QStringLiteral("Jos\u00e9"));

        QSignalSpy loggedIn(second.data(), &frmLogin::loggedIn);
        second->ListView1->setCurrentItem(itemNamed(*second, "Jos\u00e9 Uno"));
        second->btnNull_Click();
        QCOMPARE(loggedIn.size(), 1);
        QCOMPARE(loggedIn[0][1].toBool(), false);
        delete first;
        delete second;
    }

    // Another program holds the file past the busy timeout: the student is told in the interface language what to
    // do, nothing is stored, and the window stays for another try.
    void aLockedDatabaseSaysWhatToDo()
    {
        QVERIFY(Create_User_Database(m_session.ProgramDir, users().path, nullptr));
        QPointer<frmLogin> login = new frmLogin(m_session);
        login->Form_Load();
        const platform::Database other = platform::Database::openFile(users().path);
        other.execute("BEGIN EXCLUSIVE");
        ModalScript script;
        bool stillOpen = false;
        script.onDialog([&](QWidget* w) {
            enter("Ana", "Uno", 1)(w);
            stillOpen = w->isVisible();
            qobject_cast<frmNewUser*>(w)->btnEdit_Click(1);
        });
        login->btnLogin_Click(1);
        QCOMPARE(script.notices, QStringList({ "T167 " + users().path }));
        QVERIFY(stillOpen);
        other.execute("ROLLBACK");
        QCOMPARE(Read_Students(users()).size(), 0);
        QCOMPARE(login->ListView1->count(), 0);
        delete login;
    }

    void unreadableDatabaseEndsTheProgramAndStaysUntouched_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("not a database") << QByteArray(3000, 'z');
        QTest::newRow("empty file") << QByteArray();
    }

    void unreadableDatabaseEndsTheProgramAndStaysUntouched()
    {
        QFETCH(QByteArray, contents);
        QFile f(users().path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contents);
        f.close();
        auto* login = new frmLogin(m_session);
        QSignalSpy quit(login, &frmLogin::quitRequested);
        QVERIFY(!login->Get_Users());
        QCOMPARE(quit.size(), 1);
        QCOMPARE(quit[0][0].toInt(), 1);
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QVERIFY(m_env->dialogs.shown[0].text.startsWith("T40 Error#001 "));
        QVERIFY(m_env->dialogs.shown[0].text.endsWith("\r\n\r\nParlanta Alemán T41"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), contents);
        delete login;
    }

    void databaseWithoutStudentsTableEndsTheProgram()
    {
        {
            const auto db = platform::Database::openFile(users().path, true);
            db.executeScript("CREATE TABLE other (x)");
        }
        auto* login = new frmLogin(m_session);
        QVERIFY(!login->Get_Users());
        QVERIFY(m_env->dialogs.shown[0].text.contains("Error#001"));
        // The file is named in the interface's words; the database's own English stays out of the message.
        QVERIFY(m_env->dialogs.shown[0].text.contains("T190 " + users().path));
        QVERIFY(!m_env->dialogs.shown[0].text.contains("tblUsers"));
        delete login;
    }

    void buttonsPressedBehindAnOpenWindowDoNothing()
    {
        // A screen reader reaches the log-in button while the new-student window waits over the log-in window.
        QPointer<frmLogin> login = new frmLogin(m_session);
        QSignalSpy loggedIn(login.data(), &frmLogin::loggedIn);
        login->Form_Load();
        login->show();
        ModalScript script;
        script.onDialog(enter("Zoe", "Adams", 5));
        login->btnLogin_Click(1);
        script.onDialog([&](QWidget* form) {
            login->btnLogin_Click(0);
            QVERIFY(login);
            QVERIFY(form->isVisible());
            form->close();
        });
        login->btnLogin_Click(1);
        QVERIFY(login);
        QCOMPARE(loggedIn.size(), 0);
        delete login;
    }

    void closingWithoutLoginAsksToQuit()
    {
        QPointer<frmLogin> login = new frmLogin(m_session);
        QSignalSpy quit(login.data(), &frmLogin::quitRequested);
        login->Form_Load();
        login->show();
        login->close();
        QTRY_VERIFY(!login);
        QCOMPARE(quit.size(), 1);
        QCOMPARE(quit[0][0].toInt(), 0);
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
