#pragma once

#include "app/modmain.h"
#include "tests/support/fixtures.h"

namespace fixtures {

// The main program's own state set to programSession's, for the tests of the main program as a whole; restores
// nothing (tests reset).
inline void useProgramFolder(const QString& folder, const QString& programCode = QStringLiteral("prlale"))
{
    modMain = programSession(folder, programCode);
}

}
