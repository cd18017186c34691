#pragma once

#include <QString>

// What this build was configured for. Only buildinfo.cpp sees the configured values, so building another product
// or version compiles that one file again instead of every unit of the program.
struct BuildVersion
{
    int major = 0;
    int minor = 0;
    int revision = 0;
};

QString Built_Program_Code();
BuildVersion Built_Version();
QString Built_Copyright();
