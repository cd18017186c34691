#pragma once

#include <QDateTime>

// The time of the program and its activities. A test, or a look ahead at what will be due, moves it by whole days
// through the environment variable PARLANTA_CLOCK_SHIFT_DAYS without touching the machine's clock; activities
// inherit it from the main program.
namespace platform {

inline constexpr char ClockShiftVariable[] = "PARLANTA_CLOCK_SHIFT_DAYS";

// The whole number of days in the variable; 0 when it is absent or not a whole number.
int clockShiftDays();
// The system time in UTC moved by clockShiftDays().
QDateTime currentUtc();

}
