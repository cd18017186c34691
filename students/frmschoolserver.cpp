#include "frmschoolserver.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "common/captions.h"
#include "common/failuretext.h"
#include "common/sounds.h"
#include "common/textbutton.h"
#include "common/tilebackground.h"
#include "platform/services.h"
#include "students/schoolsettings.h"
#include "students/syncstatustext.h"
#include "students/windowsize.h"

using platform::twips;

namespace {
constexpr int SchoolWindowWidth = 12000;
constexpr int SchoolWindowHeight = 6600;
constexpr int SchoolButtonCaption = 212;
const QString SchoolLabelStyle = QStringLiteral("font-size: 11pt; font-weight: bold; color: #1d3557;");
const QString SchoolBoxStyle = QStringLiteral("font-size: 11pt;");
const QString SchoolButtonStyle = QStringLiteral("font-size: 10pt; padding: 0 12px;");

// libpq's secure connection modes, each with its words, from none to the strictest.
struct SslModeChoice
{
    const char* mode;
    int caption;
    bool checksCertificate;
};
const SslModeChoice SslModes[] = { { "disable", 219, false }, { "allow", 220, false }, { "prefer", 221, false },
    { "require", 222, false }, { "verify-ca", 223, true }, { "verify-full", 224, true } };

QString withoutSchoolColon(QString text)
{
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

QString schoolWindowTitle() { return Caption(SchoolButtonCaption).remove(QStringLiteral("...")); }

QPushButton* makeSchoolButton(QWidget* parent, const QString& name, int caption)
{
    return Make_Text_Button(parent, name, Caption(caption));
}

QLineEdit* makeSchoolBox(QWidget* parent, const QString& name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setStyleSheet(SchoolBoxStyle);
    return box;
}
}

frmSchoolServer::frmSchoolServer(const QString& dataDir, const QLocale& locale, const SyncStatus& status,
    std::function<void()> settingsChanged, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_dataDir(dataDir)
    , m_locale(locale)
    , m_settingsChanged(std::move(settingsChanged))
{
    setObjectName(QStringLiteral("frmSchoolServer"));
    setModal(true);
    setWindowTitle(schoolWindowTitle());
    buildControls();
    Load_Settings();
    showStatus(status);
    connect(&m_test, &QFutureWatcher<ConnectionTest>::finished, this, [this] { Test_Finished(); });
    resize(Fit_Size(this, QSize(twips(SchoolWindowWidth), twips(SchoolWindowHeight))));
}

void frmSchoolServer::buildControls()
{
    lblDeployed = new QLabel(this);
    lblDeployed->setObjectName(QStringLiteral("lblDeployed"));
    lblDeployed->setWordWrap(true);
    lblDeployed->setTextFormat(Qt::PlainText);
    lblDeployed->setStyleSheet(QStringLiteral("font-size: 10pt; color: #1d3557; background: rgba(255,255,255,215); "
                                              "border: 1px solid #8aa5b8; border-radius: 6px; padding: 6px;"));

    txtHost = makeSchoolBox(this, QStringLiteral("txtHost"));
    txtPort = new QSpinBox(this);
    txtPort->setObjectName(QStringLiteral("txtPort"));
    txtPort->setRange(1, 65535);
    txtPort->setStyleSheet(SchoolBoxStyle);
    // A port is read as a number, never with a thousands separator.
    txtPort->setGroupSeparatorShown(false);
    txtDatabase = makeSchoolBox(this, QStringLiteral("txtDatabase"));
    txtUser = makeSchoolBox(this, QStringLiteral("txtUser"));
    txtPassword = makeSchoolBox(this, QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    cboSslMode = new QComboBox(this);
    cboSslMode->setObjectName(QStringLiteral("cboSslMode"));
    cboSslMode->setStyleSheet(SchoolBoxStyle);
    // The school's IT knows the modes by libpq's names, the teacher by the words.
    for (const SslModeChoice& choice : SslModes) {
        const QString mode = QLatin1String(choice.mode);
        cboSslMode->addItem(Caption(choice.caption) + QStringLiteral(" (") + mode + QLatin1Char(')'), mode);
    }
    txtRootCert = makeSchoolBox(this, QStringLiteral("txtRootCert"));
    btnBrowse = new QToolButton(this);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    btnBrowse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    btnBrowse->setToolTip(withoutSchoolColon(Caption(225)));
    btnBrowse->setAccessibleName(withoutSchoolColon(Caption(225)));
    connect(btnBrowse, &QToolButton::clicked, this, [this] { btnBrowse_Click(); });

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(twips(180));
    fields->setVerticalSpacing(twips(120));
    auto* certificate = new QHBoxLayout;
    certificate->setSpacing(twips(90));
    certificate->addWidget(txtRootCert, 1);
    certificate->addWidget(btnBrowse);
    const QList<QPair<int, QWidget*>> rows { { 213, txtHost }, { 214, txtPort }, { 215, txtDatabase }, { 216, txtUser },
        { 217, txtPassword }, { 218, cboSslMode }, { 225, txtRootCert } };
    for (int r = 0; r < rows.size(); ++r) {
        auto* label = new QLabel(Caption(rows[r].first), this);
        label->setStyleSheet(SchoolLabelStyle);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(rows[r].second);
        fields->addWidget(label, r, 0);
        if (rows[r].second == txtRootCert)
            fields->addLayout(certificate, r, 1);
        else
            fields->addWidget(rows[r].second, r, 1, rows[r].second == txtPort ? Qt::AlignLeft : Qt::Alignment());
    }
    fields->setColumnStretch(1, 1);

    prgTest = new QProgressBar(this);
    prgTest->setObjectName(QStringLiteral("prgTest"));
    prgTest->setRange(0, 0);
    prgTest->setTextVisible(false);
    prgTest->setFixedWidth(twips(1500));
    prgTest->hide();
    lblResult = new QLabel(this);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblDetail = new QLabel(this);
    lblDetail->setObjectName(QStringLiteral("lblDetail"));
    // libpq's words are for whoever looks after the server: they can be copied into a message.
    lblDetail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblDetail->setStyleSheet(QStringLiteral("font-size: 9pt; color: #3d4f5c;"));
    auto* words = new QVBoxLayout;
    words->setSpacing(twips(90));
    // Room for two lines of each, so the window keeps its size when they come.
    int wordsHeight = words->spacing();
    for (QLabel* label : { lblResult, lblDetail }) {
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        words->addWidget(label);
        wordsHeight += label->fontMetrics().lineSpacing() * 2;
    }
    words->addStretch(1);
    auto* result = new QHBoxLayout;
    result->addWidget(prgTest, 0, Qt::AlignTop);
    result->addLayout(words, 1);
    result->addStrut(wordsHeight);

    btnTest = makeSchoolButton(this, QStringLiteral("btnTest"), 226);
    btnSave = makeSchoolButton(this, QStringLiteral("btnSave"), 227);
    btnSave->setDefault(true);
    btnDisconnect = makeSchoolButton(this, QStringLiteral("btnDisconnect"), 228);
    // Red while it can be pressed; greyed like any other button when there is nothing of this computer's to forget.
    btnDisconnect->setStyleSheet(
        QStringLiteral("QPushButton { %1 } QPushButton:enabled { color: #9b2226; }").arg(SchoolButtonStyle));
    btnClose = makeSchoolButton(this, QStringLiteral("btnClose"), 165);
    connect(btnTest, &QPushButton::clicked, this, [this] { btnTest_Click(); });
    connect(btnSave, &QPushButton::clicked, this, [this] { btnSave_Click(); });
    connect(btnDisconnect, &QPushButton::clicked, this, [this] { btnDisconnect_Click(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(twips(180));
    buttons->addWidget(btnDisconnect);
    buttons->addStretch(1);
    buttons->addWidget(btnTest);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnClose);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    lblStatus->setTextFormat(Qt::PlainText);
    lblStatus->setStyleSheet(QStringLiteral("font-size: 10pt; color: #3d4f5c; border-top: 1px solid #8aa5b8; "
                                            "padding-top: 6px;"));

    for (QLineEdit* box : { txtHost, txtDatabase })
        connect(box, &QLineEdit::textChanged, this, [this] { Enable_Controls(); });
    connect(cboSslMode, &QComboBox::currentIndexChanged, this, [this] { Enable_Controls(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(twips(360), twips(300), twips(360), twips(240));
    layout->setSpacing(twips(180));
    layout->addWidget(lblDeployed);
    layout->addLayout(fields);
    layout->addLayout(result);
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->addWidget(lblStatus);
}

void frmSchoolServer::Load_Settings()
{
    showAddress(Read_School_Settings(m_dataDir));
    const QString source = School_Settings_In_Use(m_dataDir);
    const bool deployed = !source.isEmpty() && source == Deployed_School_Settings_Path();
    lblDeployed->setText(deployed ? Caption(233).arg(QDir::toNativeSeparators(source)) : QString());
    lblDeployed->setVisible(deployed);
    Enable_Controls();
}

void frmSchoolServer::showAddress(const platform::ServerAddress& address)
{
    txtHost->setText(address.host);
    txtPort->setValue(address.port);
    txtDatabase->setText(address.database);
    txtUser->setText(address.user);
    txtPassword->setText(address.password);
    const int mode = cboSslMode->findData(address.sslMode);
    cboSslMode->setCurrentIndex(mode >= 0 ? mode : cboSslMode->findData(platform::ServerAddress().sslMode));
    txtRootCert->setText(address.sslRootCert);
}

platform::ServerAddress frmSchoolServer::typedAddress() const
{
    platform::ServerAddress address;
    address.host = txtHost->text().trimmed();
    address.port = txtPort->value();
    address.database = txtDatabase->text().trimmed();
    address.user = txtUser->text().trimmed();
    address.password = txtPassword->text();
    address.sslMode = cboSslMode->currentData().toString();
    // The authority is only read by the modes that check the server's certificate.
    if (SslModes[cboSslMode->currentIndex()].checksCertificate)
        address.sslRootCert = txtRootCert->text().trimmed();
    return address;
}

void frmSchoolServer::Enable_Controls()
{
    // Nothing can be tried or kept without a server and a database to ask for.
    const bool addressed = typedAddress().isSet();
    btnTest->setEnabled(addressed && !isTesting());
    btnSave->setEnabled(addressed);
    btnDisconnect->setEnabled(QFile::exists(School_Settings_Path(m_dataDir)));
    const bool checks = cboSslMode->currentIndex() >= 0 && SslModes[cboSslMode->currentIndex()].checksCertificate;
    txtRootCert->setEnabled(checks);
    btnBrowse->setEnabled(checks);
}

void frmSchoolServer::btnTest_Click()
{
    if (isTesting() || !typedAddress().isSet())
        return;
    lblResult->clear();
    lblDetail->clear();
    prgTest->show();
    m_testing = true;
    m_test.setFuture(QtConcurrent::run(Test_School_Connection, typedAddress()));
    Enable_Controls();
}

void frmSchoolServer::Test_Finished()
{
    const ConnectionTest test = m_test.result();
    m_testing = false;
    prgTest->hide();
    lblResult->setStyleSheet(QStringLiteral("font-size: 10pt; color: %1;")
                                 .arg(test.ok ? QStringLiteral("#2d6a4f") : QStringLiteral("#9b2226")));
    lblResult->setText(Connection_Test_Text(test));
    lblDetail->setText(test.detail);
    Enable_Controls();
}

void frmSchoolServer::btnSave_Click()
{
    QString error;
    if (!Write_School_Settings(m_dataDir, typedAddress(), &error)) {
        platform::services().dialogs->message(error, schoolWindowTitle(), platform::Icon::Warning);
        return;
    }
    if (m_settingsChanged)
        m_settingsChanged();
    accept();
}

void frmSchoolServer::btnDisconnect_Click()
{
    if (!platform::services().dialogs->askYesNo(
            Caption(232), schoolWindowTitle(), platform::Icon::Question, platform::Answer::No))
        return;
    if (!Forget_School_Settings(m_dataDir)) {
        platform::services().dialogs->message(Failure_Text(platform::FileFailure::Unwritable,
                                                  QDir::toNativeSeparators(School_Settings_Path(m_dataDir)), QString()),
            schoolWindowTitle(), platform::Icon::Warning);
        return;
    }
    lblResult->clear();
    lblDetail->clear();
    Load_Settings();
    if (!typedAddress().isSet())
        showStatus(SyncStatus());
    if (m_settingsChanged)
        m_settingsChanged();
}

void frmSchoolServer::btnBrowse_Click()
{
    const QString proposed = txtRootCert->text().isEmpty() ? QDir::homePath() : txtRootCert->text();
    const QString path = platform::services().dialogs->openFileName(
        withoutSchoolColon(Caption(225)), proposed, QStringLiteral("*.crt *.pem *.cer;;*"));
    if (!path.isEmpty())
        txtRootCert->setText(QDir::toNativeSeparators(path));
}

void frmSchoolServer::showStatus(const SyncStatus& status)
{
    const QString text = School_Status_Text(status, platform::services().clock->now(), m_locale);
    lblStatus->setText(text);
    lblStatus->setVisible(!text.isEmpty());
}

void frmSchoolServer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, *this, Background_Picture());
}

SchoolServerButton::SchoolServerButton(const QString& dataDir, const QLocale& locale, QWidget* parent)
    : QPushButton(Caption(SchoolButtonCaption), parent)
    , m_dataDir(dataDir)
    , m_locale(locale)
{
    setObjectName(QStringLiteral("btnSchoolServer"));
    setIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));
    setStyleSheet(SchoolButtonStyle);
    setMinimumSize(twips(2400), twips(540));
    setAutoDefault(false);
    connect(this, &QPushButton::pressed, this, [] { Play_Click(); });
    connect(this, &QPushButton::released, this, [] { Play_Click(); });
    connect(this, &QPushButton::clicked, this, [this] { Open_Window(); });
}

void SchoolServerButton::showStatus(const SyncStatus& status)
{
    m_status = status;
    if (m_window)
        m_window->showStatus(status);
}

void SchoolServerButton::Open_Window()
{
    frmSchoolServer window(
        m_dataDir, m_locale, m_status, [this] { Q_EMIT settingsChanged(); }, this->window());
    m_window = &window;
    window.exec();
}
