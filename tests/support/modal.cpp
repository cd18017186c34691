#include "modal.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>

#include "common/frmmsgbox.h"

ModalScript::ModalScript()
    : m_timer(new QTimer)
{
    m_timer->setInterval(10);
    QObject::connect(m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer->start();
}

ModalScript::~ModalScript() { delete m_timer; }

void ModalScript::poll()
{
    if (frmMsgBox* box = frmMsgBox::showing(); box && box->btnOK->isVisible()) {
        notices << box->lblMsg->text();
        QTest::mouseClick(box->btnOK, Qt::LeftButton);
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == m_handled || qobject_cast<frmMsgBox*>(modal) || m_dialogActions.isEmpty())
        return;
    m_handled = modal;
    // A timer's handler is not entered again while it runs, so the action (which may open a notice and
    // wait for it) runs outside it.
    QTimer::singleShot(0, modal, [modal, action = m_dialogActions.takeFirst()] { action(modal); });
}
