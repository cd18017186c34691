#pragma once

#include <QPointer>
#include <QWidget>

// Keeps a window from input while the user must not interrupt, and gives it back on every way out,
// an exception included. A window that was disabled already stays so.
class WindowLock
{
public:
    explicit WindowLock(QWidget* window)
        : m_window(window)
        , m_wasEnabled(window && window->isEnabled())
        , m_focus(window ? window->focusWidget() : nullptr)
    {
        if (m_window)
            m_window->setEnabled(false);
    }
    ~WindowLock()
    {
        if (m_window && m_wasEnabled)
            m_window->setEnabled(true);
        // A disabled window drops its focus: a student at the keyboard would have to find his place again.
        if (m_focus && m_focus->isEnabled())
            m_focus->setFocus();
    }
    WindowLock(const WindowLock&) = delete;
    WindowLock& operator=(const WindowLock&) = delete;

private:
    QPointer<QWidget> m_window;
    bool m_wasEnabled;
    QPointer<QWidget> m_focus;
};
