#include "modmain.h"

Session modMain;
