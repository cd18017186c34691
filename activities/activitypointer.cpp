// The pointer and mouse behaviour of the activity panel.
#include "activitypanel.h"

#include <QMouseEvent>

#include "app/frmmain.h"
#include "app/util/online.h"
#include "app/util/sounds.h"
#include "platform/services.h"

void ActivityPanel::watchPointer()
{
    frmMain& w = m_window;
    for (QWidget* widget : { static_cast<QWidget*>(w.picActs), w.PicActsHolder, w.TreeFolders->viewport(),
             static_cast<QWidget*>(w.lblMoreActs) }) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    for (QLabel* button : w.btnAct)
        watchButton(button);
    w.VScroll->setSingleStep(640);
    w.VScroll->setPageStep(5000);
    connect(w.VScroll, &QScrollBar::valueChanged, this,
        [this](int value) { m_window.picActs->move(m_window.picActs->x(), -platform::twips(value)); });
    connect(this, &ActivityPanel::activityClicked, this, &ActivityPanel::btnAct_Click);
}

void ActivityPanel::watchButton(QLabel* button)
{
    button->setScaledContents(true);
    button->setMouseTracking(true);
    button->installEventFilter(this);
}

void ActivityPanel::highlight(int index)
{
    const QVector<QLabel*>& buttons = m_window.btnAct;
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

void ActivityPanel::startHidingMenu()
{
    if (!m_window.TimHideMenu->isActive())
        m_window.TimHideMenu->start();
    m_window.TimShowMenu->stop();
}

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
    QLabel* button = m_window.btnAct[index];
    switch (event->type()) {
    case QEvent::MouseMove:
        highlight(index);
        startHidingMenu();
        setUnderline(m_window.lblMoreActs, false);
        return true;
    case QEvent::MouseButtonPress:
        Play_Click();
        button->setFrameStyle(QFrame::Box | QFrame::Plain);
        button->setLineWidth(1);
        m_pressed = index;
        return true;
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
    frmMain& w = m_window;
    if (auto* label = qobject_cast<QLabel*>(watched)) {
        const int index = static_cast<int>(w.btnAct.indexOf(label));
        if (index >= 0)
            return buttonEvent(index, event);
    }
    if (watched == w.lblMoreActs && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Open_Online_Page(QStringLiteral("activities.htm"));
        return true;
    }
    if (event->type() != QEvent::MouseMove)
        return false;
    // Moves are consumed where handled, or they would reach the parent, whose own move handling undoes this.
    if (watched == w.lblMoreActs) {
        setUnderline(w.lblMoreActs, true);
        return true;
    }
    if (watched == w.picActs) {
        Reset_Buttons();
        startHidingMenu();
        setUnderline(w.lblMoreActs, false);
        return true;
    }
    if (watched == w.PicActsHolder) {
        Reset_Buttons();
        startHidingMenu();
        return true;
    }
    if (watched == w.TreeFolders->viewport()) {
        Reset_Buttons();
        startHidingMenu();
        setUnderline(w.lblMsg, false);
    }
    return false;
}
