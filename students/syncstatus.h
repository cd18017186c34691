#pragma once

#include <QDateTime>
#include <QString>

// How this computer stands with its school's server, for the words the log-in and administration windows show.
struct SyncStatus
{
    bool configured = false; // a server is set for this computer
    bool connected = false; // the last attempt reached the server and exchanged
    bool busy = false; // an exchange is running now
    QDateTime lastExchange; // when the last complete exchange ended; invalid when there was none
    qint64 waiting = 0; // rows made on this computer that the server does not have yet
    QString problem; // why the last attempt failed, in the server's or the system's words; "" when it did not
    bool operator==(const SyncStatus& other) const = default;
};
