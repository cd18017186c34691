#include "mainframe.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRandomGenerator>

#include <QTimer>

#include "app/menupanel.h"
#include "app/modmain.h"
#include "common/actinglabel.h"
#include "common/online.h"
#include "common/sounds.h"
#include "platform/services.h"

using platform::twips;

MainFrame::MainFrame(const FrameControls& controls)
    : m_c(controls)
    , m_line([] { return QRandomGenerator::global()->generateDouble(); })
    , m_lineHeight(platform::toTwips(controls.PicMsg->height()))
    , m_menuLeft(100 - MenuPanel::DesignWidth)
{
    m_line.setTexts(&Tips, &Messages);
    connect(m_c.Timer1, &QTimer::timeout, this, &MainFrame::Timer1_Timer);
    connect(m_c.Timer2, &QTimer::timeout, this, &MainFrame::Timer2_Timer);
    connect(m_c.TimShowMenu, &QTimer::timeout, this, &MainFrame::TimShowMenu_Timer);
    connect(m_c.TimHideMenu, &QTimer::timeout, this, &MainFrame::TimHideMenu_Timer);
    for (QWidget* w : { m_c.window, m_c.picMenu, static_cast<QWidget*>(m_c.imgLogo), m_c.PicMsg,
             static_cast<QWidget*>(m_c.lblMsg), static_cast<QWidget*>(m_c.lblURL) }) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    Act_As(m_c.lblURL, QAccessible::Link);
}

void MainFrame::Watch_Menu_Links()
{
    for (QLabel* label : m_c.menu->lblMenu) {
        label->setMouseTracking(true);
        label->installEventFilter(this);
        Act_As(label, QAccessible::Link);
    }
}

void MainFrame::watchArea(QWidget* widget)
{
    m_areas << widget;
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

namespace {
void underline(QLabel* label, bool on)
{
    QFont font = label->font();
    if (font.underline() == on)
        return;
    font.setUnderline(on);
    label->setFont(font);
}

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}
}

// The link labels: the menu entries, the message line when its text has a link, and the maker's address.
bool MainFrame::linkEvent(QLabel* label, QEvent* event)
{
    const QString link = label->property("tag").toString();
    const bool isMenu = m_c.menu->lblMenu.contains(label);
    const bool isMessage = label == m_c.lblMsg;
    const bool isAddress = label == m_c.lblURL;
    switch (event->type()) {
    case QEvent::MouseMove:
        if (isMenu) {
            for (QLabel* other : m_c.menu->lblMenu)
                underline(other, other == label);
            Show_Menu();
            return true;
        }
        if (isMessage) {
            Hide_Menu();
            underline(label, !link.isEmpty());
            label->setCursor(link.isEmpty() ? QCursor() : Link_Cursor());
            return true;
        }
        if (isAddress)
            underline(label, true);
        return false;
    case QEvent::MouseButtonPress:
        if (isMenu)
            label->setStyleSheet(QStringLiteral("color: black; font-weight: bold;"));
        else if (isMessage && !link.isEmpty())
            setTextColour(label, Qt::red);
        return false;
    case QEvent::MouseButtonRelease: {
        const bool inside = label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (isMenu)
            label->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
        else if (isMessage && !link.isEmpty())
            setTextColour(label, Qt::blue);
        if (inside)
            followLink(label, link, isAddress);
        return false;
    }
    case QEvent::FocusIn:
        // The menu entries wait off the window's edge; one reached with the Tab key brings the panel out.
        if (isMenu)
            Show_Menu();
        return false;
    case QEvent::FocusOut:
        // Tab leaving the entries puts the panel back, as the pointer leaving it does; it would cover the tree.
        if (isMenu && !m_c.menu->lblMenu.contains(qobject_cast<QLabel*>(QApplication::focusWidget())))
            Hide_Menu();
        return false;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        return (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)
            && followLink(label, link, isAddress);
    }
    default:
        return false;
    }
}

bool MainFrame::followLink(QLabel* label, const QString& link, bool isAddress)
{
    if (isAddress) {
        Play_Click();
        Open_Web_Address(modMain, QStringLiteral("https://") + label->text());
        return true;
    }
    if (link.isEmpty())
        return false;
    Play_Click();
    Open_Online_Page(modMain, link);
    return true;
}

int MainFrame::Menu_Slide(int left, int width, bool showing, bool* done)
{
    if (showing ? left >= -100 : left <= 100 - width) {
        *done = true;
        return left;
    }
    *done = false;
    return showing ? left + SlideStep : left - SlideStep;
}

void MainFrame::slide(bool showing)
{
    bool done = false;
    m_menuLeft = Menu_Slide(m_menuLeft, MenuPanel::DesignWidth, showing, &done);
    if (done) {
        (showing ? m_c.TimShowMenu : m_c.TimHideMenu)->stop();
        return;
    }
    m_c.picMenu->move(twips(m_menuLeft), m_c.picMenu->y());
    m_c.picMenu->raise();
}

void MainFrame::TimShowMenu_Timer() { slide(true); }

void MainFrame::TimHideMenu_Timer() { slide(false); }

void MainFrame::Show_Menu()
{
    m_c.TimHideMenu->stop();
    m_c.TimShowMenu->start();
}

void MainFrame::Hide_Menu()
{
    m_c.TimShowMenu->stop();
    m_c.TimHideMenu->start();
}

void MainFrame::Timer1_Timer()
{
    if (!m_started) {
        // The settings step chose the first tip and queued the first text before the line ever moved.
        m_started = true;
        m_line.setTipPosition(TipPosition);
        m_line.queue(PendingMessage, PendingLink);
    }
    QString tag = m_c.PicMsg->property("tag").toString();
    MessageLine::Shown shown;
    const auto event = m_line.tick1(m_lineHeight, tag, &shown);
    m_c.PicMsg->setProperty("tag", tag);
    m_c.PicMsg->setFixedHeight(std::max(1, twips(m_lineHeight)));
    if (event == MessageLine::Event::Opened) {
        m_c.Timer1->stop();
        m_c.Timer2->start();
    } else if (event == MessageLine::Event::Closed) {
        m_c.Timer2->stop();
        QLabel* label = m_c.lblMsg;
        label->setText(shown.text);
        label->setProperty("tag", shown.link);
        QFont font = label->font();
        font.setPointSize(shown.fontSize);
        font.setUnderline(false);
        label->setFont(font);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Message_Colour(shown.colour));
        label->setPalette(palette);
        m_c.Timer2->setInterval(shown.interval);
    }
}

void MainFrame::Timer2_Timer()
{
    m_line.tick2();
    m_c.Timer1->start();
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* label = qobject_cast<QLabel*>(watched);
        label && (label == m_c.lblMsg || label == m_c.lblURL || m_c.menu->lblMenu.contains(label)))
        return linkEvent(label, event);
    if (event->type() == QEvent::MouseMove) {
        if (watched == m_c.picMenu) {
            for (QLabel* entry : m_c.menu->lblMenu)
                underline(entry, false);
            underline(m_c.lblURL, false);
            Show_Menu();
            // Unhandled moves travel on to the window, whose own move would hide the menu again.
            return true;
        }
        if (watched == m_c.window || watched == m_c.imgLogo || watched == m_c.PicMsg || m_areas.contains(watched)) {
            Hide_Menu();
            underline(m_c.lblMsg, false);
        }
    }
    return QObject::eventFilter(watched, event);
}
