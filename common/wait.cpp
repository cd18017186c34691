#include "wait.h"

#include <cmath>

#include "platform/services.h"

void Wait_Seconds(short n)
{
    platform::Clock* clock = platform::services().clock;
    // The start is rounded to a whole second, so a wait of n lasts between n - 0.5 and n + 0.5 seconds.
    const double start = std::round(static_cast<double>(clock->monotonicMs()) / 1000.0);
    while (static_cast<double>(clock->monotonicMs()) / 1000.0 - start < n)
        clock->processEvents();
}
