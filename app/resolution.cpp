#include "resolution.h"

bool Resolution_Too_Small(int widthPixels, int heightPixels)
{
    return static_cast<qint64>(widthPixels) * heightPixels <= 459999;
}
