#pragma once

#include <functional>

#include <QComboBox>
#include <QDialog>
#include <QFutureWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include "platform/pgconnection.h"
#include "students/schoolconnection.h"
#include "students/syncstatus.h"

// Where this computer finds its school's server: the settings of the data folder (or the school's deployed ones)
// to fill in, try, store or forget, and the exchange's status in words at the bottom. settingsChanged runs after
// the settings were stored or forgotten, so that the exchange starts again with them.
class frmSchoolServer : public QDialog
{
    Q_OBJECT
public:
    frmSchoolServer(const QString& dataDir, const QLocale& locale, const SyncStatus& status,
        std::function<void()> settingsChanged, QWidget* parent = nullptr);

    // The settings as typed.
    platform::ServerAddress typedAddress() const;
    // Tries the typed settings off the window's thread; the outcome shows in lblResult when it comes.
    void btnTest_Click();
    void btnSave_Click();
    void btnDisconnect_Click();
    void btnBrowse_Click();
    // From the click until its words show: the thread may have finished before the window hears of it.
    bool isTesting() const { return m_testing; }

    QLabel* lblDeployed;
    QLineEdit* txtHost;
    QSpinBox* txtPort;
    QLineEdit* txtDatabase;
    QLineEdit* txtUser;
    QLineEdit* txtPassword;
    QComboBox* cboSslMode; // the item data is libpq's sslmode
    QLineEdit* txtRootCert;
    QToolButton* btnBrowse;
    QProgressBar* prgTest; // moves while the test waits on the server
    QLabel* lblResult; // what the test found, in words
    QLabel* lblDetail; // and in libpq's
    QPushButton* btnTest;
    QPushButton* btnSave;
    QPushButton* btnDisconnect;
    QPushButton* btnClose;
    QLabel* lblStatus;

public Q_SLOTS:
    void showStatus(const SyncStatus& status);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    // Fills the boxes from the settings in use and says where they come from.
    void Load_Settings();
    void showAddress(const platform::ServerAddress& address);
    void Enable_Controls();
    void Test_Finished();
    const QString m_dataDir;
    const QLocale m_locale;
    const std::function<void()> m_settingsChanged;
    QFutureWatcher<ConnectionTest> m_test;
    bool m_testing = false;
};

// The tracked-scores window's way to the school server window. It keeps the exchange's latest status for the window
// and hands it on while the window is open.
class SchoolServerButton : public QPushButton
{
    Q_OBJECT
public:
    SchoolServerButton(const QString& dataDir, const QLocale& locale, QWidget* parent);
    void showStatus(const SyncStatus& status);

Q_SIGNALS:
    // The settings were stored or forgotten.
    void settingsChanged();

private:
    void Open_Window();
    const QString m_dataDir;
    const QLocale m_locale;
    SyncStatus m_status;
    QPointer<frmSchoolServer> m_window;
};
