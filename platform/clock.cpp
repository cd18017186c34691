#include "clock.h"

namespace platform {

int clockShiftDays()
{
    bool ok = false;
    const int days = qEnvironmentVariableIntValue(ClockShiftVariable, &ok);
    return ok ? days : 0;
}

QDateTime currentUtc() { return QDateTime::currentDateTimeUtc().addDays(clockShiftDays()); }

}
