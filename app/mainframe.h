#pragma once

#include <QObject>
#include <QStringList>

#include "app/messageline.h"
#include "common/templatetexts.h"

class MenuPanel;
class QLabel;
class QTimer;
class QWidget;

// The controls of the main window that the frame drives.
struct FrameControls
{
    QWidget* window;
    QWidget* picMenu;
    QLabel* imgLogo;
    QWidget* PicMsg;
    QLabel* lblMsg;
    QLabel* lblURL;
    QTimer* Timer1;
    QTimer* Timer2;
    QTimer* TimShowMenu;
    QTimer* TimHideMenu;
    MenuPanel* menu;
};

// The frame around the main window's tree and panel: the menu panel that slides in from the left edge and
// the rolling message line.
class MainFrame : public QObject
{
    Q_OBJECT
public:
    static constexpr int SlideStep = 250; // twips per tick

    explicit MainFrame(const FrameControls& controls);
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
    // Pointer moves over widget (the subject tree) slide the menu away and end the message line's link look.
    void watchArea(QWidget* widget);

    // The texts the message line rolls through, and the first one it shows.
    SystemMessages Messages;
    QStringList Tips { QString() };
    int TipPosition = 0;
    QString PendingMessage;
    QString PendingLink;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void slide(bool showing);
    bool linkEvent(QLabel* label, QEvent* event);
    // A click, the keyboard or a screen reader follows a link label; false when the label has no link now.
    bool followLink(QLabel* label, const QString& link, bool isAddress);
    FrameControls m_c;
    QList<QObject*> m_areas;
    MessageLine m_line;
    int m_lineHeight;
    int m_menuLeft;
    bool m_started = false;
};
