// The pointer and mouse behaviour of the activity panel.
#include "activitypanel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>

#include "common/online.h"
#include "common/sounds.h"
#include "platform/services.h"

void ActivityPanel::watchPointer()
{
    for (QWidget* widget : { picActs, PicActsHolder, static_cast<QWidget*>(lblMoreActs) }) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    for (QLabel* button : btnAct)
        watchButton(button);
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
        button->setFrameStyle(QFrame::Box | QFrame::Plain);
        button->setLineWidth(1);
        m_pressed = index;
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
        button->setFrameStyle(QFrame::NoFrame);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = m_pressed == index && mouse->button() == Qt::LeftButton
            && button->rect().contains(mouse->position().toPoint());
        m_pressed = -1;
        if (click)
            Q_EMIT activityClicked(index);
        return true;
    }
    default:
        return false;
    }
}

bool ActivityPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* label = qobject_cast<QLabel*>(watched)) {
        const int index = static_cast<int>(btnAct.indexOf(label));
        if (index >= 0)
            return buttonEvent(index, event);
    }
    if (watched == lblMoreActs && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Open_Online_Page(QStringLiteral("activities.htm"));
        return true;
    }
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
