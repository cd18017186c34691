#include "buildinfo.h"

QString Built_Program_Code() { return QStringLiteral(PARLANTA_PROGRAM_CODE); }

BuildVersion Built_Version() { return { PARLANTA_VERSION_MAJOR, PARLANTA_VERSION_MINOR, PARLANTA_VERSION_REVISION }; }

QString Built_Copyright() { return QStringLiteral(PARLANTA_COPYRIGHT); }
