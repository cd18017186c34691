#pragma once

#include <QElapsedTimer>
#include <QString>

// A frame of a screen that shows 60 pictures a second: what changes faster than this is drawn once a frame.
inline constexpr int FrameMs = 16;

// The progress of a fill that adds thousands of nodes: pending window events run at every step, so the window
// stays responsive, while the busy notice, when one is up, takes the newest name only once a frame. Drawing the
// notice for every node would cost far more than reading the nodes, and nobody reads names faster than a screen
// shows them. One lives for one fill; when it ends, the notice shows the last name.
class BusyProgress
{
public:
    BusyProgress() = default;
    ~BusyProgress();
    BusyProgress(const BusyProgress&) = delete;
    BusyProgress& operator=(const BusyProgress&) = delete;
    void report(const QString& text);

private:
    QElapsedTimer m_lastShown;
    QString m_notShown;
};
