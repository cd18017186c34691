#pragma once

#include <QWidget>

class frmMain;

// The login window: the student picks a name and reaches the main window.
class frmLogin : public QWidget
{
    Q_OBJECT
public:
    explicit frmLogin(frmMain& main);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    frmMain& m_main;
};
