#pragma once

#include <QStringList>

#include "platform/pgconnection.h"

// The school server's tables, made and upgraded by the program itself: each step of the list below is applied once,
// in order, and recorded with its number in the table "migrations", all in one transaction per step. Every computer
// of the class may connect first; the server makes them take their turns.
//
// The tables (one database per school):
// - students: one row per display name (its case-folded form is the key). removed marks a student the administrator
//   removed, purged that his or her results went too; born orders the arrivals, and the first that is not removed is
//   the administrator; seq numbers the changes, which computers bring in by it.
// - scores, phrase_results: every row once, named by where it was born (the computer's database identity and its
//   key there); seq numbers the arrivals.
// - computers: each database identity that ever exchanged, and when it last did.
namespace server {

// The statements of each step, oldest first; step k is number k + 1.
const QStringList& Migrations();
// Brings the server's tables to the newest step; the number of the newest step. Throws platform::ServerError,
// and refuses a server whose tables come from a newer program, which this one might damage.
int Upgrade_Server_Schema(const platform::PgConnection& db);
// Serialises the writers of the exchange: the changes a transaction numbers become visible in the order of their
// numbers, so a reader that has seen number n has seen every number below it.
inline constexpr qint64 WriteLock = 0x5061726C616E7461; // "Parlanta"

}
