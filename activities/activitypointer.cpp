// The pointer and mouse behaviour of the activity panel.
#include "activitypanel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>

#include "common/actinglabel.h"
#include "common/online.h"
#include "common/sounds.h"
#include "platform/services.h"

namespace {
bool activates(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}
}

void ActivityPanel::watchPointer()
{
    for (QWidget* widget : { picActs, PicActsHolder, static_cast<QWidget*>(lblMoreActs) }) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    for (QLabel* button : btnAct)
        watchButton(button);
    Act_As(lblMoreActs, QAccessible::Link);
    VScroll->setSingleStep(640);
    VScroll->setPageStep(5000);
    connect(VScroll, &QScrollBar::valueChanged, this,
        [this](int value) { picActs->move(picActs->x(), -platform::twips(value)); });
}

void ActivityPanel::watchArea(QWidget* widget)
{
    m_areas << widget;
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

void ActivityPanel::watchButton(QLabel* button)
{
    button->setScaledContents(true);
    button->setMouseTracking(true);
    button->installEventFilter(this);
    Act_As(button, QAccessible::Button);
}

void ActivityPanel::showFrame(QLabel* label)
{
    const bool pressed = m_pressed >= 0 && m_pressed < btnAct.size() && btnAct[m_pressed] == label;
    // The focus frame is the wider one, so that a press on the focused button still shows as a press.
    const bool focusFrame = label->hasFocus() && !pressed;
    label->setFrameStyle(pressed || focusFrame ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    label->setLineWidth(focusFrame ? 2 : 1);
}

void ActivityPanel::highlight(int index)
{
    const QVector<QLabel*>& buttons = btnAct;
    if (m_lit.size() < buttons.size())
        m_lit.resize(buttons.size());
    for (int i = 0; i < buttons.size(); ++i) {
        const bool lit = i == index;
        if (m_lit[i] == lit)
            continue;
        const QVector<QPixmap>& pictures = lit ? ImgON : ImgOFF;
        if (i + 1 < pictures.size())
            buttons[i]->setPixmap(pictures[i + 1]);
        m_lit[i] = lit;
    }
}

void ActivityPanel::Reset_Buttons() { highlight(-1); }

void ActivityPanel::setUnderline(QLabel* label, bool underline)
{
    if (label->font().underline() == underline)
        return;
    QFont font = label->font();
    font.setUnderline(underline);
    label->setFont(font);
}

bool ActivityPanel::buttonEvent(int index, QEvent* event)
{
    QLabel* button = btnAct[index];
    switch (event->type()) {
    case QEvent::MouseMove:
        highlight(index);
        Q_EMIT pointerMoved();
        setUnderline(lblMoreActs, false);
        return true;
    case QEvent::MouseButtonPress:
        Play_Click();
        m_pressed = index;
        showFrame(button);
        return true;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        showFrame(button);
        return false;
    case QEvent::KeyPress:
        if (!activates(event))
            return false;
        Play_Click();
        Q_EMIT activityClicked(index);
        return true;
    case QEvent::Leave:
        // The pointer left the button without crossing the panel: out of the window, or a game's window
        // came up over it. The button must not stay lit until the pointer happens to pass it again.
        if (index < m_lit.size() && m_lit[index])
            Reset_Buttons();
        return false;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click is no new press: no sound, and its release is no click.
        m_pressed = -1;
        return true;
    case QEvent::MouseButtonRelease: {
        Play_Click();
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = m_pressed == index && mouse->button() == Qt::LeftButton
            && button->rect().contains(mouse->position().toPoint());
        m_pressed = -1;
        showFrame(button);
        if (click)
            Q_EMIT activityClicked(index);
        return true;
    }
    default:
        return false;
    }
}

bool ActivityPanel::moreActsEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        showFrame(lblMoreActs);
        return false;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        break;
    default:
        if (!activates(event))
            return false;
    }
    Open_Online_Page(m_session, QStringLiteral("activities.htm"));
    return true;
}

bool ActivityPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* label = qobject_cast<QLabel*>(watched)) {
        const int index = static_cast<int>(btnAct.indexOf(label));
        if (index >= 0)
            return buttonEvent(index, event);
    }
    if (watched == lblMoreActs && moreActsEvent(event))
        return true;
    if (event->type() != QEvent::MouseMove)
        return false;
    // Moves are consumed where handled, or they would reach the parent, whose own move handling undoes this.
    if (watched == lblMoreActs) {
        setUnderline(lblMoreActs, true);
        return true;
    }
    if (watched == picActs) {
        Reset_Buttons();
        Q_EMIT pointerMoved();
        setUnderline(lblMoreActs, false);
        return true;
    }
    if (watched == PicActsHolder) {
        Reset_Buttons();
        Q_EMIT pointerMoved();
        return true;
    }
    if (m_areas.contains(watched)) {
        Reset_Buttons();
        Q_EMIT pointerMoved();
    }
    return false;
}
