#pragma once

#include <functional>

#include <QColor>
#include <QString>
#include <QStringList>

#include "common/templatetexts.h"

// The rolling message line at the top of the main window: it closes, changes its text (the next tip, or a
// system message queued at random) and opens again, staying open longer for longer texts.
int Message_Font_Size(int length);
int Message_Open_Interval(int length);
// The text colour for a draw k of 0..14 (QBColor index); the light colours become blue.
QColor Message_Colour(int k);

class MessageLine
{
public:
    static constexpr int Step = 15; // twips per Timer1 tick
    static constexpr int OpenHeight = 950;
    static constexpr int ClosedHeight = 20;

    struct Shown
    {
        QString text;
        QString link;
        int fontSize = 0;
        int interval = 0;
        int colour = 0;
    };

    // Random numbers in [0, 1); tests give their own.
    explicit MessageLine(std::function<double()> random);

    void setTexts(const QStringList* tips, const SystemMessages* messages) { m_tips = tips, m_messages = messages; }
    void setTipPosition(int position) { m_tipPosition = position; }
    void queue(const QString& text, const QString& link) { m_pendingText = text, m_pendingLink = link; }
    int tipPosition() const { return m_tipPosition; }
    int messagePosition() const { return m_messagePosition; }
    const QString& pendingText() const { return m_pendingText; }

    // One Timer1 tick on a line of the given height (twips) and tag; the new height is returned.
    enum class Event { None, Opened, Closed };
    Event tick1(int& height, QString& tag, Shown* shown);
    // One Timer2 tick: queue the next system message or nothing, at even odds.
    void tick2();

private:
    std::function<double()> m_random;
    const QStringList* m_tips = nullptr;
    const SystemMessages* m_messages = nullptr;
    int m_tipPosition = 0;
    int m_messagePosition = 0;
    QString m_pendingText;
    QString m_pendingLink;
};
