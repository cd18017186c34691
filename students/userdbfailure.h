#pragma once

#include <exception>

#include <QString>

#include "platform/database.h"

// What the user is told when the students' file fails in a way he or she can do something about: another program
// holding it, a file or folder that cannot be written, a file that is gone. In the interface language, naming the
// file and saying what to do; "" for any other kind of failure.
QString User_Database_Advice(platform::DbFailure failure, const QString& path);

// The message for any failure of an operation on the students' file at path: the advice where there is one,
// otherwise the failure's own description.
QString User_Database_Failure(const std::exception& e, const QString& path);

// Tells the user of that failure in the message window, under the product's name.
void Show_User_Database_Failure(const QString& productName, const std::exception& e, const QString& path);
