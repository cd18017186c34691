#include "frmnewuser.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

#include "common/captions.h"
#include "common/frmmsgbox.h"
#include "common/sounds.h"
#include "common/tilebackground.h"
#include "platform/services.h"
#include "resources/resourcepaths.h"
#include "students/loginlist.h"
#include "students/studentnames.h"
#include "students/userdbfailure.h"
#include "students/windowsize.h"

using platform::twips;

namespace {
// The window's size in its design; it grows where the interface texts need more room.
constexpr int NewUserWidth = 7560;
constexpr int NewUserHeight = 5700;
// A box the student has to fill is marked until something is typed in it.
const char* const MissingProperty = "missing";

QLabel* makeLabel(QWidget* parent, const QString& name, int caption)
{
    auto* label = new QLabel(Caption(caption), parent);
    label->setObjectName(name);
    label->setStyleSheet(QStringLiteral("font-size: 11pt; font-weight: bold; color: #1d3557;"));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit* makeBox(QWidget* parent, const QString& name, int length, bool masked)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    // The limit is the box's own, so typing stops where the stored name would end.
    box->setMaxLength(length);
    box->setStyleSheet(
        QStringLiteral("QLineEdit { font-size: 11pt; }"
                       "QLineEdit[missing=\"true\"] { border: 2px solid #c0392b; background: #fdecea; }"));
    // Wide enough to show the longest text it takes.
    box->setMinimumWidth(box->fontMetrics().averageCharWidth() * (length + 4));
    if (masked)
        box->setEchoMode(QLineEdit::Password);
    QObject::connect(box, &QLineEdit::textEdited, box, [box] { Mark_Missing(box, false); });
    return box;
}

// The password rows keep their room while hidden, so the window does not change size under the mouse.
void retainWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
    widget->hide();
}
}

void Mark_Missing(QLineEdit* box, bool missing)
{
    if (box->property(MissingProperty).toBool() == missing)
        return;
    box->setProperty(MissingProperty, missing);
    // A style sheet reads a dynamic property only when the widget is polished again.
    box->style()->unpolish(box);
    box->style()->polish(box);
}

bool Is_Marked_Missing(const QLineEdit* box) { return box->property(MissingProperty).toBool(); }

frmNewUser::frmNewUser(const Session& session, const Login& login, bool editing)
    : QDialog(login.window)
    , m_session(session)
    , m_users(Users_Of(session))
    , m_login(login)
{
    setObjectName(QStringLiteral("frmNewUser"));
    setModal(true);
    setWindowTitle(editing ? Caption(45) : Caption(30));
    lblfirst = makeLabel(this, QStringLiteral("lblfirst"), 31);
    txtFirst = makeBox(this, QStringLiteral("txtFirst"), 20, false);
    lblLast = makeLabel(this, QStringLiteral("lblLast"), 32);
    txtLast = makeBox(this, QStringLiteral("txtLast"), 20, false);

    lblIcon = makeLabel(this, QStringLiteral("lblIcon"), 33);
    imageCombo1 = new QComboBox(this);
    imageCombo1->setObjectName(QStringLiteral("imageCombo1"));
    imageCombo1->setIconSize(QSize(48, 48));
    for (int i = 1; i <= resources::FaceCount; ++i) {
        imageCombo1->addItem(QIcon(resources::facePicture(i)), QString(), i);
        // A picture alone says nothing to a screen reader: each face is read by its number.
        imageCombo1->setItemData(imageCombo1->count() - 1, Caption(179).arg(i), Qt::AccessibleTextRole);
    }
    imageCombo1->setCurrentIndex(0);

    chkPassword = new QCheckBox(Caption(35), this);
    chkPassword->setObjectName(QStringLiteral("chkPassword"));
    chkPassword->setStyleSheet(QStringLiteral("font-size: 11pt; font-weight: bold; color: #1d3557;"));
    // Toggled, not clicked: the keyboard and a screen reader's toggle action change the box without a click.
    connect(chkPassword, &QCheckBox::toggled, this, [this] { chkPassword_Click(); });
    lblTypePass = makeLabel(this, QStringLiteral("lblTypePass"), 37);
    txtPassword = makeBox(this, QStringLiteral("txtPassword"), 15, true);
    lblRetypePass = makeLabel(this, QStringLiteral("lblRetypePass"), 38);
    txtPassword2 = makeBox(this, QStringLiteral("txtPassword2"), 15, true);
    for (QWidget* w : { static_cast<QWidget*>(lblTypePass), static_cast<QWidget*>(txtPassword),
             static_cast<QWidget*>(lblRetypePass), static_cast<QWidget*>(txtPassword2) })
        retainWhenHidden(w);
    lblfirst->setBuddy(txtFirst);
    lblLast->setBuddy(txtLast);
    lblIcon->setBuddy(imageCombo1);
    lblTypePass->setBuddy(txtPassword);
    lblRetypePass->setBuddy(txtPassword2);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(twips(180));
    fields->setVerticalSpacing(twips(120));
    const QList<QPair<QWidget*, QWidget*>> rows { { lblfirst, txtFirst }, { lblLast, txtLast },
        { lblIcon, imageCombo1 }, { nullptr, chkPassword }, { lblTypePass, txtPassword },
        { lblRetypePass, txtPassword2 } };
    for (int r = 0; r < rows.size(); ++r) {
        if (rows[r].first)
            fields->addWidget(rows[r].first, r, 0);
        // The face list and the check box keep their own width; the boxes take the rest.
        const bool box = qobject_cast<QLineEdit*>(rows[r].second);
        fields->addWidget(rows[r].second, r, 1, box ? Qt::Alignment() : Qt::AlignLeft);
    }
    fields->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(twips(300));
    buttons->addStretch(1);
    for (int i = 0; i < 2; ++i) {
        btnEdit[i] = new QPushButton(this);
        btnEdit[i]->setObjectName(QStringLiteral("btnEdit%1").arg(i));
        btnEdit[i]->setStyleSheet(QStringLiteral("font-size: 11pt; font-weight: bold; padding: 0 12px;"));
        btnEdit[i]->setMinimumSize(twips(2400), twips(600));
        connect(btnEdit[i], &QPushButton::pressed, this, [] { Play_Click(); });
        connect(btnEdit[i], &QPushButton::released, this, [] { Play_Click(); });
        connect(btnEdit[i], &QPushButton::clicked, this, [this, i] { btnEdit_Click(i); });
        buttons->addWidget(btnEdit[i]);
    }
    buttons->addStretch(1);
    // The mode lives in the store button's caption.
    btnEdit[0]->setText(editing ? Caption(44) : Caption(8));
    btnEdit[0]->setDefault(true);
    btnEdit[1]->setText(Caption(9));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(twips(360), twips(360), twips(360), twips(360));
    layout->setSpacing(twips(240));
    layout->addLayout(fields);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(Fit_Size(this, QSize(twips(NewUserWidth), twips(NewUserHeight))));
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
    }
}

void frmNewUser::chkPassword_Click()
{
    const bool ticked = chkPassword->isChecked();
    txtPassword->clear();
    txtPassword2->clear();
    Mark_Missing(txtPassword, false);
    Mark_Missing(txtPassword2, false);
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

QLineEdit* frmNewUser::boxOf(FormField field) const
{
    switch (field) {
    case FormField::FirstName:
        return txtFirst;
    case FormField::LastName:
        return txtLast;
    case FormField::Password:
        return txtPassword;
    case FormField::Password2:
        return txtPassword2;
    case FormField::None:
        break;
    }
    return nullptr;
}

void frmNewUser::Store()
{
    const StudentForm f = form();
    const FormCheck check = Check_Student_Form(f, LoginItem::names(m_login.ListView1));
    for (QLineEdit* box : { txtFirst, txtLast, txtPassword, txtPassword2 })
        Mark_Missing(box, false);
    if (!check.ok) {
        if (QLineEdit* box = boxOf(check.focus)) {
            Mark_Missing(box, true);
            box->setFocus();
        }
        if (check.message)
            frmMsgBox::Show_Notice(m_session.ProductName, Caption(check.message));
        return;
    }
    try {
        if (f.editing)
            Change_Student(f);
        else if (!Create_Student(f))
            return;
    } catch (const std::exception& e) {
        // Nothing was stored; the window stays open so the student can try again.
        Show_User_Database_Failure(m_session.ProductName, e, m_users.path);
        return;
    }
    QListWidget* list = m_login.ListView1;
    list->sortItems(Qt::AscendingOrder);
    accept();
}

bool frmNewUser::Create_Student(const StudentForm& f)
{
    Student s;
    s.firstName = Stored_Name(f.firstName);
    s.lastName = Stored_Name(f.lastName);
    s.icon = f.icon;
    const QVariant password = Password_To_Store(f);
    s.password = password.toString();
    const AddedStudent added = Insert_Student(m_users, s.firstName, s.lastName, password, s.icon);
    if (added.nameTaken) {
        // Another copy of the program stored the name since this list was filled.
        frmMsgBox::Show_Notice(m_session.ProductName, Caption(NameTakenText));
        return false;
    }
    s.id = added.id;
    QListWidget* list = m_login.ListView1;
    QListWidgetItem* current = list->currentItem();
    QListWidgetItem* item = LoginItem::make(s);
    list->addItem(item);
    if (current)
        list->setCurrentItem(current);
    if (added.administrator) {
        frmMsgBox::instance()->setFontSize(10);
        frmMsgBox::Show_Notice(m_session.ProductName, Caption(43), 10);
        LoginItem::setAdministrator(item);
        list->setCurrentItem(item);
    }
    return true;
}

void frmNewUser::Change_Student(const StudentForm& f)
{
    QListWidgetItem* item = m_login.ListView1->currentItem();
    if (!item)
        return;
    Student s = LoginItem::student(item);
    s.firstName = Stored_Name(f.firstName);
    s.lastName = Stored_Name(f.lastName);
    s.icon = f.icon;
    s.password = Password_To_Store(f).toString();
    Update_Student(m_users, s.id, s.firstName, s.lastName, s.password, s.icon);
    LoginItem::update(item, s);
}

void frmNewUser::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, *this, Background_Picture());
}
