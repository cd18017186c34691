#pragma once

#include <functional>

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QWidget;
class QTimer;

// Answers the program's own modal windows from a test: each time one shows, the next action runs on it.
// Notices of the message window are confirmed and their texts recorded.
class ModalScript
{
public:
    ModalScript();
    ~ModalScript();
    // Runs on the next modal dialog (not the message window) that shows.
    void onDialog(std::function<void(QWidget*)> action) { m_dialogActions << std::move(action); }
    QStringList notices;

private:
    void poll();
    QList<std::function<void(QWidget*)>> m_dialogActions;
    QPointer<QWidget> m_handled;
    QTimer* m_timer;
};
