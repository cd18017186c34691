#include "busyprogress.h"

#include <QCoreApplication>

#include "common/frmmsgbox.h"

BusyProgress::~BusyProgress()
{
    if (frmMsgBox* box = frmMsgBox::showing(); box && !m_notShown.isNull())
        box->setMessage(m_notShown);
}

void BusyProgress::report(const QString& text)
{
    if (frmMsgBox* box = frmMsgBox::showing()) {
        if (!m_lastShown.isValid() || m_lastShown.elapsed() >= FrameMs) {
            box->setMessage(text);
            m_lastShown.start();
            m_notShown = QString();
        } else {
            m_notShown = text;
        }
    }
    // Straight to the event loop: the clock service's pass is made for waits and pauses after each run.
    QCoreApplication::processEvents();
}
