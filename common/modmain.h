#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "common/session.h"

// The program-wide state; it lives for the whole run. Its session part is what the windows are handed.
struct ModMain : Session
{
    int LogoImage = 0;
    QStringList Captions; // indexes 0 to n + 1; 0 and n + 1 are empty
    bool VirtualSubjectsChanged = false;
    QByteArray ClickSoundBuffer;
    // The number that names this run's exchange files (one for the whole run).
    qint64 WindowHandle = 0;
    // The program folder; empty means the folder of the running program.
    QString AppPathOverride;
};

extern ModMain modMain;

// Interface text k; "" for a number the template does not have.
QString Caption(int k);
// Sets the product identity from the product table; false when the code has no row.
bool Set_Product(const QString& programCode);
