#pragma once

#include "common/session.h"

// The program's state for its whole run: the product, the folders and the student logged in. It lives here, in the
// main program alone; every window and procedure below is handed what it needs of it.
extern Session modMain;
