#include "autoscroll.h"

#include <QScrollBar>
#include <QTimer>

#include "custom/customtrees.h"
#include "platform/services.h"

namespace {
constexpr int TopBand = 100;
constexpr int BottomBand = 200;
}

ScrollDirection Auto_Scroll_Direction(int y, int height)
{
    if (y > 0 && y < TopBand)
        return ScrollDirection::Up;
    if (y > height - BottomBand && y < height)
        return ScrollDirection::Down;
    return ScrollDirection::None;
}

AutoScroll::AutoScroll(VirtualTree* tree, QTimer* timer)
    : QObject(tree)
    , m_tree(tree)
    , m_timer(timer)
{
    connect(m_timer, &QTimer::timeout, this, &AutoScroll::Timer1_Timer);
}

void AutoScroll::dragOver(const QPoint& at)
{
    m_tree->highlightAt(at);
    m_last = at;
    const ScrollDirection direction
        = Auto_Scroll_Direction(platform::toTwips(at.y()), platform::toTwips(m_tree->height()));
    switch (direction) {
    case ScrollDirection::Up:
    case ScrollDirection::Down:
        ScrollUp = direction == ScrollDirection::Up;
        // Started once: every move of the pointer would otherwise put the first tick off again.
        if (!m_timer->isActive())
            m_timer->start();
        break;
    case ScrollDirection::None:
        m_timer->stop();
        break;
    }
}

void AutoScroll::Timer1_Timer()
{
    m_tree->highlightAt(m_last);
    m_tree->verticalScrollBar()->triggerAction(
        ScrollUp ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
}

void AutoScroll::stop()
{
    m_timer->stop();
    m_tree->setDropHighlight(nullptr);
}
