#include "messageline.h"

#include <algorithm>

int Message_Font_Size(int length)
{
    struct Band
    {
        int upTo;
        int points;
    };
    static constexpr Band bands[] = { { 20, 20 }, { 30, 18 }, { 49, 16 }, { 60, 15 }, { 70, 14 }, { 80, 13 },
        { 100, 12 }, { 130, 11 }, { 160, 10 }, { 215, 9 } };
    if (length <= 0)
        return 8;
    for (const Band& b : bands) {
        if (length <= b.upTo)
            return b.points;
    }
    return 8;
}

int Message_Open_Interval(int length) { return std::min(150 * length, 59000); }

QColor Message_Colour(int k)
{
    // The sixteen console colours; 7, 10, 11 and 14 are too light for the line and become blue.
    static const QColor colours[]
        = { QColor(0, 0, 0), QColor(0, 0, 128), QColor(0, 128, 0), QColor(0, 128, 128), QColor(128, 0, 0),
              QColor(128, 0, 128), QColor(128, 128, 0), QColor(192, 192, 192), QColor(128, 128, 128), QColor(0, 0, 255),
              QColor(0, 255, 0), QColor(0, 255, 255), QColor(255, 0, 0), QColor(255, 0, 255), QColor(255, 255, 0) };
    if (k == 7 || k == 10 || k == 11 || k == 14 || k < 0 || k > 14)
        k = 1;
    return colours[k];
}

MessageLine::MessageLine(std::function<double()> random)
    : m_random(std::move(random))
{
}

MessageLine::Event MessageLine::tick1(int& height, QString& tag, Shown* shown)
{
    if (tag != QLatin1String("GOUP")) {
        height += Step;
        if (height >= OpenHeight) {
            tag = QStringLiteral("GOUP");
            return Event::Opened;
        }
        return Event::None;
    }
    height -= Step;
    if (height > ClosedHeight)
        return Event::None;
    Shown next;
    if (!m_pendingText.isEmpty()) {
        // A queued message takes the place of the next tip; the tip position does not move for it.
        next.text = m_pendingText;
        next.link = m_pendingLink;
        m_pendingText.clear();
        m_pendingLink.clear();
    } else if (m_tips && m_tips->size() > 1) {
        m_tipPosition = m_tipPosition + 1 >= m_tips->size() ? 1 : m_tipPosition + 1;
        next.text = m_tips->at(m_tipPosition);
    }
    const int length = static_cast<int>(next.text.size());
    next.interval = Message_Open_Interval(length);
    next.fontSize = Message_Font_Size(length);
    next.colour = static_cast<int>(m_random() * 15);
    if (shown)
        *shown = next;
    tag = QStringLiteral("GODOWN");
    return Event::Closed;
}

void MessageLine::tick2()
{
    if (static_cast<int>(m_random() * 2) == 1 && m_messages && m_messages->count > 0) {
        ++m_messagePosition;
        if (m_messagePosition > m_messages->count)
            m_messagePosition = 1;
        m_pendingText = m_messages->texts.value(m_messagePosition);
        m_pendingLink = m_messages->links.value(m_messagePosition);
        if (m_messagePosition >= m_messages->count)
            m_messagePosition = 0;
    } else {
        m_pendingText.clear();
        m_pendingLink.clear();
    }
}
