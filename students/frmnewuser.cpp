#include "frmnewuser.h"

#include <QListWidget>
#include <QPainter>

#include "common/frmmsgbox.h"
#include "common/modmain.h"
#include "common/sounds.h"
#include "common/tilebackground.h"
#include "platform/services.h"
#include "resources/resourcepaths.h"
#include "students/loginlist.h"

using platform::twips;

namespace {
QLabel* fieldLabel(QWidget* parent, int top)
{
    auto* label = new QLabel(parent);
    label->setGeometry(twips(360), twips(top), twips(2700), twips(420));
    label->setStyleSheet(QStringLiteral("font-size: 11pt; font-weight: bold; color: #1d3557;"));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit* fieldBox(QWidget* parent, int top, int length, bool masked)
{
    auto* box = new QLineEdit(parent);
    box->setGeometry(twips(3240), twips(top), twips(3900), twips(420));
    box->setMaxLength(length);
    box->setStyleSheet(QStringLiteral("font-size: 11pt;"));
    if (masked)
        box->setEchoMode(QLineEdit::Password);
    return box;
}
}

frmNewUser::frmNewUser(const Login& login, bool editing)
    : QDialog(login.window)
    , m_login(login)
{
    setModal(true);
    setFixedSize(twips(7560), twips(5700));
    setWindowTitle(editing ? Caption(45) : Caption(30));
    lblfirst = fieldLabel(this, 360);
    lblfirst->setText(Caption(31));
    txtFirst = fieldBox(this, 360, 20, false);
    lblLast = fieldLabel(this, 900);
    lblLast->setText(Caption(32));
    txtLast = fieldBox(this, 900, 20, false);

    lblIcon = fieldLabel(this, 1620);
    lblIcon->setText(Caption(33));
    imageCombo1 = new QComboBox(this);
    imageCombo1->setGeometry(twips(3240), twips(1440), twips(1500), twips(900));
    imageCombo1->setIconSize(QSize(48, 48));
    for (int i = 1; i <= resources::FaceCount; ++i)
        imageCombo1->addItem(QIcon(resources::facePicture(i)), QString(), i);
    imageCombo1->setCurrentIndex(0);

    chkPassword = new QCheckBox(Caption(35), this);
    chkPassword->setGeometry(twips(3240), twips(2580), twips(3900), twips(420));
    chkPassword->setStyleSheet(QStringLiteral("font-size: 11pt; font-weight: bold; color: #1d3557;"));
    connect(chkPassword, &QCheckBox::clicked, this, [this] { chkPassword_Click(); });
    lblTypePass = fieldLabel(this, 3120);
    lblTypePass->setText(Caption(37));
    txtPassword = fieldBox(this, 3120, 15, true);
    lblRetypePass = fieldLabel(this, 3660);
    lblRetypePass->setText(Caption(38));
    txtPassword2 = fieldBox(this, 3660, 15, true);
    for (QWidget* w : { static_cast<QWidget*>(lblTypePass), static_cast<QWidget*>(txtPassword),
             static_cast<QWidget*>(lblRetypePass), static_cast<QWidget*>(txtPassword2) })
        w->hide();

    for (int i = 0; i < 2; ++i) {
        btnEdit[i] = new QPushButton(this);
        btnEdit[i]->setGeometry(twips(1260 + i * 2700), twips(4560), twips(2400), twips(600));
        btnEdit[i]->setStyleSheet(QStringLiteral("font-size: 11pt; font-weight: bold;"));
        connect(btnEdit[i], &QPushButton::pressed, this, [] { Play_Click(); });
        connect(btnEdit[i], &QPushButton::released, this, [] { Play_Click(); });
        connect(btnEdit[i], &QPushButton::clicked, this, [this, i] { btnEdit_Click(i); });
    }
    // The mode lives in the store button's caption.
    btnEdit[0]->setText(editing ? Caption(44) : Caption(8));
    btnEdit[0]->setDefault(true);
    btnEdit[1]->setText(Caption(9));
}

void frmNewUser::Fill_From(const Student& student)
{
    txtFirst->setText(student.firstName);
    txtLast->setText(student.lastName);
    const int index = imageCombo1->findData(student.icon);
    imageCombo1->setCurrentIndex(index >= 0 ? index : 0);
    m_storedPassword = student.password;
    if (!student.password.isEmpty()) {
        // A hash cannot be shown: the boxes stay empty and storing them empty keeps the password.
        chkPassword->setChecked(true);
        chkPassword_Click();
    }
}

void frmNewUser::chkPassword_Click()
{
    const bool ticked = chkPassword->isChecked();
    txtPassword->clear();
    txtPassword2->clear();
    txtPassword->setVisible(ticked);
    txtPassword2->setVisible(ticked);
    if (ticked)
        txtPassword->setFocus();
    lblTypePass->setVisible(ticked);
    lblRetypePass->setVisible(ticked);
}

StudentForm frmNewUser::form() const
{
    StudentForm f;
    f.firstName = txtFirst->text();
    f.lastName = txtLast->text();
    f.usePassword = chkPassword->isChecked();
    f.password = txtPassword->text();
    f.password2 = txtPassword2->text();
    f.icon = imageCombo1->currentData().toInt();
    f.editing = btnEdit[0]->text() == Caption(44);
    f.storedPassword = m_storedPassword;
    return f;
}

void frmNewUser::btnEdit_Click(int index)
{
    if (index == 1) {
        reject();
        return;
    }
    Store();
}

void frmNewUser::focusField(FormField field)
{
    switch (field) {
    case FormField::FirstName:
        txtFirst->setFocus();
        break;
    case FormField::LastName:
        txtLast->setFocus();
        break;
    case FormField::Password:
        txtPassword->setFocus();
        break;
    case FormField::Password2:
        txtPassword2->setFocus();
        break;
    case FormField::None:
        break;
    }
}

void frmNewUser::Store()
{
    const StudentForm f = form();
    const FormCheck check = Check_Student_Form(f, LoginItem::names(m_login.ListView1));
    if (!check.ok) {
        focusField(check.focus);
        if (check.message)
            frmMsgBox::Show_Notice(modMain.ProductName, Caption(check.message));
        return;
    }
    try {
        if (f.editing)
            Change_Student(f);
        else
            Create_Student(f);
    } catch (const std::exception& e) {
        // Nothing was stored; the window stays open so the student can try again.
        frmMsgBox::Show_Notice(modMain.ProductName, QString::fromUtf8(e.what()));
        return;
    }
    QListWidget* list = m_login.ListView1;
    list->sortItems(Qt::AscendingOrder);
    if (!f.usePassword)
        m_login.showPassword(false);
    accept();
}

void frmNewUser::Create_Student(const StudentForm& f)
{
    Student s;
    s.firstName = f.firstName.trimmed();
    s.lastName = f.lastName.trimmed();
    s.icon = f.icon;
    const QVariant password = Password_To_Store(f);
    s.password = password.toString();
    s.id = Insert_Student(s.firstName, s.lastName, password, s.icon);
    QListWidget* list = m_login.ListView1;
    QListWidgetItem* current = list->currentItem();
    list->addItem(LoginItem::make(s));
    if (current)
        list->setCurrentItem(current);
    if (list->count() == 1) {
        // The very first student is the administrator.
        frmMsgBox::instance()->setFontSize(10);
        frmMsgBox::Show_Notice(modMain.ProductName, Caption(43), 10);
        LoginItem::setAdministrator(list->item(0));
        list->setCurrentRow(0);
    }
}

void frmNewUser::Change_Student(const StudentForm& f)
{
    QListWidgetItem* item = m_login.ListView1->currentItem();
    if (!item)
        return;
    Student s = LoginItem::student(item);
    s.firstName = f.firstName.trimmed();
    s.lastName = f.lastName.trimmed();
    s.icon = f.icon;
    s.password = Password_To_Store(f).toString();
    Update_Student(s.id, s.firstName, s.lastName, s.password, s.icon);
    LoginItem::update(item, s);
    m_login.showPassword(!s.password.isEmpty());
}

void frmNewUser::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, *this, Background_Picture());
}
