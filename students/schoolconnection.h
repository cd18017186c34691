#pragma once

#include <QString>

#include "platform/pgconnection.h"

// What trying the school server's settings found.
struct ConnectionTest
{
    bool ok = false;
    bool unreachable = false; // no server answered, as opposed to one that refused to let this computer in
    int serverVersion = 0; // PostgreSQL's version number, e.g. 150018, when ok
    QString detail; // libpq's own words when it failed
};

// Signs in to the server as the settings say and leaves at once. It waits on the network, up to the connection's
// time limit, so a window runs it off its own thread.
ConnectionTest Test_School_Connection(const platform::ServerAddress& address);

// "15.18" for 150018; "9.6.24" for 90624, before PostgreSQL 10 numbered its versions in two parts.
QString Server_Version_Text(int version);

// The outcome in words for the person setting up the computer: what it means and what to check. libpq's own words,
// in test.detail, are shown apart.
QString Connection_Test_Text(const ConnectionTest& test);
