#include "frmlogin.h"

#include <stdexcept>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "common/captions.h"
#include "common/failuretext.h"
#include "common/frmmsgbox.h"
#include "common/interfacelocale.h"
#include "common/placement.h"
#include "common/sounds.h"
#include "common/tilebackground.h"
#include "platform/database.h"
#include "platform/privatefiles.h"
#include "platform/services.h"
#include "students/frmnewuser.h"
#include "students/loginlist.h"
#include "students/passwords.h"
#include "students/syncstatustext.h"
#include "students/userdatabase.h"
#include "students/windowsize.h"

using platform::twips;

namespace {
// The window's size in its design; it grows where the interface texts need more room.
constexpr int LoginWidth = 10800;
constexpr int LoginHeight = 8700;
}

frmLogin::frmLogin(const Session& session)
    : QWidget(nullptr)
    , m_session(session)
    , m_users(Users_Of(session))
{
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
}

void frmLogin::buildControls()
{
    setObjectName(QStringLiteral("frmLogin"));
    lblInstructions = new QLabel(this);
    lblInstructions->setObjectName(QStringLiteral("lblInstructions"));
    lblInstructions->setStyleSheet(QStringLiteral("font-size: 13pt; font-weight: bold; color: #1d3557;"));
    lblInstructions->setWordWrap(true);

    ListView1 = new QListWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    Style_Login_List(ListView1);
    connect(ListView1, &QListWidget::itemClicked, this, [this] { ListView1_Click(); });
    connect(ListView1, &QListWidget::currentItemChanged, this, [this] { ListView1_Click(); });
    // A screen reader picks a face by selecting it, which leaves the current item where it was.
    connect(ListView1, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = ListView1->selectedItems();
        if (!chosen.isEmpty() && chosen.first() != ListView1->currentItem())
            ListView1->setCurrentItem(chosen.first());
    });
    connect(ListView1, &QListWidget::itemDoubleClicked, this, [this] { btnLogin_Click(0); });

    lblPassword = new QLabel(this);
    lblPassword->setObjectName(QStringLiteral("lblPassword"));
    lblPassword->setStyleSheet(QStringLiteral("font-size: 12pt; font-weight: bold; color: #1d3557;"));
    lblPassword->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Enter in the box reaches the window as in any other control, and logs in from there.
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setMaxLength(15);
    txtPassword->setStyleSheet(QStringLiteral("font-size: 12pt;"));
    txtPassword->setMinimumWidth(twips(3600));
    lblPassword->setBuddy(txtPassword);
    // The list keeps its place whether a password is asked or not.
    for (QWidget* w : { static_cast<QWidget*>(lblPassword), static_cast<QWidget*>(txtPassword) }) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
        w->hide();
    }
    auto* passwordRow = new QHBoxLayout;
    passwordRow->addStretch(1);
    passwordRow->addWidget(lblPassword);
    passwordRow->addWidget(txtPassword);
    passwordRow->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(twips(180));
    for (int i = 0; i < 3; ++i) {
        btnLogin[i] = new QPushButton(this);
        btnLogin[i]->setObjectName(QStringLiteral("btnLogin%1").arg(i));
        btnLogin[i]->setStyleSheet(QStringLiteral("font-size: 12pt; font-weight: bold; padding: 0 12px;"));
        btnLogin[i]->setMinimumHeight(twips(660));
        btnLogin[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(btnLogin[i], &QPushButton::pressed, this, [] { Play_Click(); });
        connect(btnLogin[i], &QPushButton::released, this, [] { Play_Click(); });
        connect(btnLogin[i], &QPushButton::clicked, this, [this, i] { btnLogin_Click(i); });
        buttons->addWidget(btnLogin[i], 1);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(twips(360), twips(240), twips(360), twips(360));
    layout->setSpacing(twips(180));
    layout->addWidget(lblInstructions);
    layout->addWidget(ListView1, 1);
    layout->addLayout(passwordRow);
    layout->addLayout(buttons);
    lblSchool = new QLabel(this);
    lblSchool->setObjectName(QStringLiteral("lblSchool"));
    lblSchool->setStyleSheet(QStringLiteral("font-size: 10pt; color: #1d3557;"));
    lblSchool->setAlignment(Qt::AlignCenter);
    lblSchool->setWordWrap(true);
    lblSchool->hide();
    layout->addWidget(lblSchool);

    // btnNull is the Enter key: the default button, out of sight and outside the layout.
    btnNull = new QPushButton(this);
    btnNull->setObjectName(QStringLiteral("btnNull"));
    btnNull->setGeometry(0, 0, 0, 0);
    btnNull->setDefault(true);
    connect(btnNull, &QPushButton::clicked, this, [this] { btnNull_Click(); });
}

bool frmLogin::Form_Load()
{
    LoginSucceeded = false;
    try {
        if (!Get_Users())
            return false;
        setWindowTitle(Caption(29) + QLatin1Char(' ') + m_session.ProductName);
        lblInstructions->setText(Caption(26));
        // A screen reader names a list by its own name only, not by the instructions above it.
        ListView1->setAccessibleName(Caption(26));
        lblPassword->setText(Caption(37));
        btnLogin[0]->setText(Caption(28));
        // The Enter key's button is out of sight, but a screen reader lists it: it logs in.
        btnNull->setAccessibleName(Caption(28));
        btnLogin[1]->setText(Caption(27));
        btnLogin[2]->setText(Caption(44));
        resize(Fit_Size(this, QSize(twips(LoginWidth), twips(LoginHeight))));
        Center_On_Screen(this);
        Follow_Selection();
        return true;
    } catch (const std::exception& e) {
        platform::services().dialogs->message(
            Caption(149) + QStringLiteral("\r\n\r\nFrmLogin_Load: ") + QString::fromUtf8(e.what()), windowTitle(),
            platform::Icon::Critical);
        Q_EMIT quitRequested(1);
        return false;
    }
}

bool frmLogin::Get_Users()
{
    const QString path = m_users.path;
    if (!QFileInfo::exists(path)) {
        QString error;
        if (!Create_User_Database(m_session.ProgramDir, path, &error)) {
            platform::services().dialogs->message(
                error + QStringLiteral("\r\n\r\n") + Caption(88) + QStringLiteral("\r\n") + path, m_session.ProductName,
                platform::Icon::None);
            Q_EMIT quitRequested(1);
            return false;
        }
        return true;
    }
    // A file an older version left readable to everybody is closed to those who may not write it.
    platform::restrictToWriters(path);
    Upgrade_User_Database(path);
    QVector<Student> students;
    try {
        students = Read_Students(m_users);
    } catch (const platform::DbError& e) {
        // The file stays as it is: it may hold every student's results.
        platform::services().dialogs->message(Caption(40) + QStringLiteral(" Error#001 ") + Failure_Text(e)
                + QStringLiteral("\r\n\r\n") + m_session.ProductName + QLatin1Char(' ') + Caption(41),
            m_session.ProductName, platform::Icon::None);
        Q_EMIT quitRequested(1);
        return false;
    }
    Fill_List(students, m_session.CurrentStudent);
    return true;
}

void frmLogin::Fill_List(const QVector<Student>& students, const QString& selectedName)
{
    ListView1->clear();
    for (int n = 0; n < students.size() && n < 32767; ++n) {
        QListWidgetItem* item = LoginItem::make(students[n]);
        if (n == 0)
            LoginItem::setAdministrator(item);
        ListView1->addItem(item);
    }
    ListView1->sortItems(Qt::AscendingOrder);
    Fit_Login_Grid(ListView1);
    if (ListView1->count() == 0)
        return;
    // After a change of user the student who has just left is the one most likely to come back.
    const QList<QListWidgetItem*> leaving = ListView1->findItems(selectedName, Qt::MatchExactly);
    QListWidgetItem* selected = leaving.isEmpty() ? ListView1->item(0) : leaving.first();
    ListView1->setCurrentItem(selected);
    ListView1->scrollToItem(selected);
}

void frmLogin::Refresh_Students()
{
    try {
        const QListWidgetItem* current = ListView1->currentItem();
        Fill_List(Read_Students(m_users), current ? current->text() : m_session.CurrentStudent);
    } catch (const platform::DbError&) {
        // The list stays as it was; the students come again with the next exchange.
    }
}

void frmLogin::ListView1_Click()
{
    Follow_Selection();
}

void frmLogin::btnNull_Click()
{
    btnLogin_Click(0);
}

void frmLogin::Show_Class_Status(const SyncStatus& status)
{
    const QString words
        = School_Status_Text(status, QDateTime::currentDateTime(), Interface_Locale(m_session.InterfaceLanguage));
    lblSchool->setText(words);
    lblSchool->setVisible(!words.isEmpty());
}

void frmLogin::btnLogin_Click(int index)
{
    // A screen reader can still press this window's buttons while a window opened from it waits over it: logging
    // in would close this window, and the waiting one with it, under the running wait.
    if (QApplication::activeModalWidget())
        return;
    switch (index) {
    case 0:
        Log_In();
        break;
    case 1:
        New_Student();
        break;
    case 2:
        Change_Student();
        break;
    default:
        break;
    }
}

bool frmLogin::Password_Accepted()
{
    const QListWidgetItem* item = ListView1->currentItem();
    if (item && Password_Matches(item->data(LoginItem::Password).toString(), txtPassword->text()))
        return true;
    frmMsgBox::Show_Notice(m_session.ProductName, Caption(39));
    if (txtPassword->isVisible()) {
        // Selected, so that the next key typed replaces the wrong password.
        txtPassword->setFocus();
        txtPassword->selectAll();
    }
    return false;
}

bool frmLogin::Student_Chosen()
{
    if (ListView1->currentItem())
        return true;
    frmMsgBox::Show_Notice(m_session.ProductName, Caption(173));
    return false;
}

void frmLogin::Log_In()
{
    if (!Student_Chosen() || !Password_Accepted())
        return;
    QListWidgetItem* item = ListView1->currentItem();
    // A password of an older file is replaced by its hash once it has proved right.
    const QString stored = item->data(LoginItem::Password).toString();
    if (!stored.isEmpty() && !Is_Password_Hash(stored)) {
        try {
            const QString hash = Hash_Password(stored);
            Update_Student_Password(m_users, LoginItem::student(item).id, hash);
            item->setData(LoginItem::Password, hash);
        } catch (const std::exception&) {
            // The plain password keeps working; the next log-in tries again.
        }
    }
    // Who is the administrator is the file's to say at this moment, not this list's: another copy of the program
    // may have stored the first student since the list was filled.
    bool administrator = false;
    try {
        administrator = Is_Administrator(m_users, LoginItem::student(item).id);
    } catch (const std::exception&) {
        // A file that cannot tell gives no administrator's rights.
    }
    LoginSucceeded = true;
    Q_EMIT loggedIn(item->text(), administrator);
    close();
}

void frmLogin::New_Student()
{
    frmNewUser form(m_session, newUserLogin(), false);
    Back_From(form);
}

void frmLogin::Change_Student()
{
    if (!Student_Chosen() || !Password_Accepted())
        return;
    frmNewUser form(m_session, newUserLogin(), true);
    form.Fill_From(LoginItem::student(ListView1->currentItem()));
    Back_From(form);
}

void frmLogin::Back_From(frmNewUser& form)
{
    form.exec();
    Q_EMIT studentsChanged();
    Fit_Login_Grid(ListView1);
    // The administrator's message and the closed window may leave no window active, and no key would reach this one.
    activateWindow();
    Follow_Selection();
}

bool frmLogin::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        LoginSucceeded = false;
    return QWidget::event(e);
}

void frmLogin::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, *this, Background_Picture());
}

void frmLogin::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        btnNull_Click();
        return;
    }
    QWidget::keyPressEvent(e);
}

void frmLogin::closeEvent(QCloseEvent* e)
{
    e->accept();
    if (!LoginSucceeded)
        Q_EMIT quitRequested(0);
}

frmNewUser::Login frmLogin::newUserLogin()
{
    return { this, ListView1 };
}

void frmLogin::Follow_Selection()
{
    txtPassword->clear();
    const QListWidgetItem* item = ListView1->currentItem();
    const bool asked = item && !item->data(LoginItem::Password).toString().isEmpty();
    lblPassword->setVisible(asked);
    txtPassword->setVisible(asked);
    if (asked)
        txtPassword->setFocus();
    else
        btnNull->setFocus();
}
