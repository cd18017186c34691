#pragma once

#include <QString>

#include "platform/lessons/deck.h"

namespace lessons {

// A spreadsheet saved as CSV or TSV: UTF-8 with or without a byte order mark, a header line naming the columns,
// then one note per line. The separator is whichever of comma, semicolon and tab splits the header into the most
// columns (tab first among equals in a .tsv file), as spreadsheets in some languages save "CSV" with semicolons.
// Quoting follows RFC 4180; line ends may be \n, \r\n or \r, even mixed, as files edited on several systems are.
// A note's where is the line it starts on; sound fields name files relative to the file's folder.
Deck readDelimitedText(const QString& path);

}
