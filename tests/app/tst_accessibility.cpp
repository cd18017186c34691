#include <QtTest>

#include <QAccessible>

#include "app/frmmain.h"
#include "common/frmmsgbox.h"
#include "custom/frmcustomsubject.h"
#include "custom/frmedit.h"
#include "students/frmadmin.h"
#include "students/frmlogin.h"
#include "students/frmnewuser.h"
#include "students/frmprogress.h"
#include "students/loginlist.h"
#include "subjects/phraselookup.h"
#include "tests/students/scoredata.h"
#include "tests/support/customeditor.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/mainsession.h"

namespace {
// What a screen reader lets the student act on: each has to be read out by a name.
bool interactive(QAccessible::Role role)
{
    static const QAccessible::Role roles[] = { QAccessible::Button, QAccessible::CheckBox, QAccessible::RadioButton,
        QAccessible::ButtonMenu, QAccessible::ButtonDropDown, QAccessible::EditableText, QAccessible::List,
        QAccessible::ListItem, QAccessible::Tree, QAccessible::TreeItem, QAccessible::ComboBox, QAccessible::PageTab,
        QAccessible::PageTabList, QAccessible::Slider, QAccessible::SpinBox, QAccessible::Link };
    return std::find(std::begin(roles), std::end(roles), role) != std::end(roles);
}

void collectUnnamed(QAccessibleInterface* node, const QString& path, QStringList& unnamed)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child || child->state().invisible)
            continue;
        const QString where = path + QLatin1Char('/')
            + (child->object() ? child->object()->objectName() : QString()) + QLatin1Char('#') + QString::number(i);
        if (interactive(child->role()) && child->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << QStringLiteral("%1 (role %2)").arg(where).arg(int(child->role()));
        collectUnnamed(child, where, unnamed);
    }
}
}

using Opener = std::function<QWidget*()>;
Q_DECLARE_METATYPE(Opener)

class TestAccessibility : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<fakes::Environment> m_env;
    std::unique_ptr<fixtures::ProgramFolder> m_program;
    std::unique_ptr<frmMain> m_main;
    std::unique_ptr<fixtures::CustomEditorFolder> m_editorFolder;
    std::vector<std::unique_ptr<QWidget>> m_made;

    QWidget* own(QWidget* window)
    {
        m_made.emplace_back(window);
        return window;
    }

    // The main window logged in as the administrator, over a school with results.
    frmMain* main()
    {
        if (!m_main) {
            m_program = std::make_unique<fixtures::ProgramFolder>();
            fixtures::useProgramFolder(m_program->path());
            m_main = std::make_unique<frmMain>();
            if (!m_main->Form_Load())
                return nullptr;
            // The folder's template stops short of the newest texts.
            fixtures::loadNumberedCaptions();
            scoredata::addSchool(Users_Of(modMain));
            m_main->login()->Get_Users();
            m_main->Student_Logged_In(QStringLiteral("Zoe Adams"), true);
        }
        return m_main.get();
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<fakes::Environment>(); }
    void cleanup()
    {
        frmMsgBox::Unload();
        m_made.clear();
        m_editorFolder.reset();
        m_main.reset();
        m_program.reset();
        m_env.reset();
    }

    void everyControlHasAName_data()
    {
        QTest::addColumn<Opener>("open");
        QTest::newRow("log-in") << Opener([this] { return main()->login(); });
        QTest::newRow("new student") << Opener([this] {
            auto* form = new frmNewUser(modMain, { main()->login(), main()->login()->ListView1 }, false);
            form->chkPassword->setChecked(true);
            return own(form);
        });
        QTest::newRow("main window") << Opener([this] { return main(); });
        QTest::newRow("custom subject editor") << Opener([this] {
            m_editorFolder = std::make_unique<fixtures::CustomEditorFolder>();
            return m_editorFolder->open();
        });
        QTest::newRow("phrase editor") << Opener([this] { return own(new frmEdit(modMain)); });
        QTest::newRow("tracked scores")
            << Opener([this] { return main() ? own(new frmAdmin(modMain, Phrase_Text_Of(modMain))) : nullptr; });
        QTest::newRow("my progress")
            << Opener([this] { return main() ? own(new frmProgress(modMain, Phrase_Text_Of(modMain))) : nullptr; });
        QTest::newRow("message box") << Opener([] {
            frmMsgBox::Show_Busy(QStringLiteral("T1"), QStringLiteral("T2"), frmMsgBox::DesignHeight);
            return frmMsgBox::showing();
        });
    }

    void everyControlHasAName()
    {
        QFETCH(Opener, open);
        fixtures::loadNumberedCaptions();
        QWidget* window = open();
        QVERIFY(window);
        window->show();
        QStringList unnamed;
        collectUnnamed(QAccessible::queryAccessibleInterface(window), window->objectName(), unnamed);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("; "))));
    }

    // A screen reader ticks the box through its action, not with a click: the password rows come all the same,
    // and the student is stored with the password typed there.
    void passwordBoxTickedByAssistiveTechnology()
    {
        frmLogin* login = main()->login();
        frmNewUser form(modMain, { login, login->ListView1 }, false);
        form.show();
        form.txtFirst->setText(QStringLiteral("Eva"));
        form.txtLast->setText(QStringLiteral("Lind"));
        QAccessibleActionInterface* actions = QAccessible::queryAccessibleInterface(form.chkPassword)->actionInterface();
        QVERIFY(actions && actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        actions->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(form.chkPassword->isChecked());
        QVERIFY(form.txtPassword->isVisible() && form.txtPassword2->isVisible() && form.lblTypePass->isVisible());
        form.txtPassword->setText(QStringLiteral("secret"));
        form.txtPassword2->setText(QStringLiteral("secret"));
        QAccessible::queryAccessibleInterface(form.btnEdit[0])->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(form.result(), int(QDialog::Accepted));
        const auto stored = login->ListView1->findItems(QStringLiteral("Eva Lind"), Qt::MatchExactly);
        QCOMPARE(stored.size(), 1);
        QVERIFY(!LoginItem::student(stored.first()).password.isEmpty());
        // Chosen by the face's own action, the student is the one the window logs in.
        login->ListView1->setCurrentRow(0);
        QAccessible::queryAccessibleInterface(login->ListView1)
            ->tableInterface()
            ->cellAt(login->ListView1->row(stored.first()), 0)
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(login->ListView1->currentItem(), stored.first());
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
