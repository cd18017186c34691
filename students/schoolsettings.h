#pragma once

#include <QString>

#include "platform/pgconnection.h"

// Where this computer finds its school's server. The administrator's choice is kept in "SchoolServer.ini" beside
// the user database, readable and writable by its owner alone, since it holds the password. A school's IT may
// instead deploy the same file as Parlanta/SchoolServer.ini in the system's configuration folder (/etc/xdg on
// Debian); the data folder's own file, when there is one, comes first.
//
// The file has one "key = value" a line (host, port, database, user, password, sslmode, sslrootcert); a line that
// starts with '#' or ';', and a "[section]" line, are passed over. A value runs to the end of its line, so a password
// needs no quoting; the blanks around a value are dropped, except a password's own after the one blank "=" has.
QString School_Settings_Path(const QString& dataDir);
// The deployed file, when the system has one; "" when it has none.
QString Deployed_School_Settings_Path();
// The file Read_School_Settings reads: the data folder's own, else the deployed one; "" when there is neither.
QString School_Settings_In_Use(const QString& dataDir);
// The school server of this data folder; an address that is not set when there is none.
platform::ServerAddress Read_School_Settings(const QString& dataDir);
// The file's text for an address; what Write_School_Settings stores.
QString School_Settings_Text(const platform::ServerAddress& address);
platform::ServerAddress Parse_School_Settings(const QString& text);
// Stores the address as one whole file that only its owner may read, from its first byte on. False with the reason
// in the interface language when it could not, or when a value holds a line break, which the file cannot keep; the
// old file stays then.
bool Write_School_Settings(const QString& dataDir, const platform::ServerAddress& address, QString* error);
// Leaves this computer on its own again: its file is removed. The deployed file, the school's, stays.
bool Forget_School_Settings(const QString& dataDir);
