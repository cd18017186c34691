#include "captions.h"

namespace {
QStringList& captions()
{
    static QStringList texts;
    return texts;
}
}

QString Caption(int k) { return k >= 0 && k < captions().size() ? captions()[k] : QString(); }

void Set_Captions(const QStringList& texts) { captions() = texts; }
