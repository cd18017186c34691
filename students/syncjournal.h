#pragma once

#include <QDateTime>

#include "students/syncrows.h"
#include "students/userdatabase.h"

// This computer's side of the exchange with the school server, kept in its own user database beside the rows it
// tracks: the database's identity, how far its rows have been sent and the server's rows brought in, the origin of
// every row brought in, and the students as the server last had them from here. A computer without a server never
// gets these tables.
//
// Every change below is one transaction: a program killed in the middle leaves the file as it was before it, and
// the next exchange does the work again; the server stores a row sent twice once.

// The identity of this database, made on its first exchange (a UUID). Throws platform::DbError.
QString Sync_Database_Id(const UserFile& users);
// At most limit score rows and limit phrase rows made here and not yet sent, and every student added, changed or
// removed here since the last exchange. A phrase row waits while its round's score row is not sent.
Outbox Read_Outbox(const UserFile& users, int limit);
// Records that the server stored the outbox.
void Mark_Sent(const UserFile& users, const Outbox& outbox);

// How far the server's changes have been brought in.
struct PullPoint
{
    qint64 studentSeq = 0;
    qint64 scoreSeq = 0;
    qint64 phraseSeq = 0;
};
PullPoint Read_Pull_Point(const UserFile& users);
// Stores what came from the server, all of it or nothing: rows this database does not have yet, the students'
// changes except where this computer has a change of its own still to send (it reaches the server later, so it
// wins), and the server's administrator as the first student here. The number of rows added, changed or removed.
int Apply_Inbox(const UserFile& users, const Inbox& inbox);

// The rows and students' changes made here that the server does not have yet: all of them before the first exchange.
qint64 Waiting_Rows(const UserFile& users);
QDateTime Last_Exchange(const UserFile& users); // invalid when there was none
void Record_Exchange(const UserFile& users, const QDateTime& moment);
