#pragma once

#include <memory>

#include <QObject>

class QLabel;

#include "app/messageline.h"

class frmMain;

// The frame around the main window's tree and panel: the menu panel that slides in from the left edge and
// the rolling message line.
class MainFrame : public QObject
{
    Q_OBJECT
public:
    static constexpr int SlideStep = 250; // twips per tick

    explicit MainFrame(frmMain& window);
    MessageLine& messageLine() { return m_line; }
    // The menu panel's next left edge (twips) while it slides in or out; done when it has arrived.
    static int Menu_Slide(int left, int width, bool showing, bool* done);

    void Timer1_Timer();
    void Timer2_Timer();
    void TimShowMenu_Timer();
    void TimHideMenu_Timer();
    void Show_Menu();
    void Hide_Menu();
    // The menu entries exist only once the template's links are read.
    void Watch_Menu_Links();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void slide(bool showing);
    bool linkEvent(QLabel* label, QEvent* event);
    frmMain& m_window;
    MessageLine m_line;
    int m_lineHeight;
    int m_menuLeft;
    bool m_started = false;
};
