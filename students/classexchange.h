#pragma once

#include "platform/pgconnection.h"
#include "students/syncrows.h"
#include "students/userdatabase.h"

// One exchange of a computer's user database with the school server: what is new here goes up, what the other
// computers sent comes down. It waits on the network, so it runs off the user-interface thread.

struct ExchangeReport
{
    qint64 sent = 0; // rows and students' changes the server took from here
    qint64 received = 0; // rows and students' changes stored here from the server
};

// Rows a statement carries, and rows an exchange moves at a time: a batch is one transaction on either side, so a
// computer that is cut off or killed in the middle loses at most the batch it was on, and sends or brings it again.
inline constexpr int ExchangeBatch = 2000;

// Throws platform::ServerError when the server fails or cannot be reached, platform::DbError when the user database
// does; what was exchanged before the failure stays exchanged.
ExchangeReport Exchange_With_Server(const UserFile& users, const platform::ServerAddress& address);

// The two halves, on a connection whose tables are up to date.
void Send_Outbox(const platform::PgConnection& db, const Outbox& outbox);
struct PullPoint;
Inbox Fetch_Inbox(const platform::PgConnection& db, const PullPoint& from, int limit);
