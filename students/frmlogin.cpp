#include "frmlogin.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

#include "app/frmmain.h"
#include "app/modmain.h"

frmLogin::frmLogin(frmMain& main)
    : QWidget(nullptr)
    , m_main(main)
{
    setWindowTitle(modMain.ProductName);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(Caption(26), this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    resize(480, 360);
}

void frmLogin::closeEvent(QCloseEvent* event)
{
    // Closing the login window without a log-in ends the program.
    event->accept();
    QCoreApplication::quit();
}
