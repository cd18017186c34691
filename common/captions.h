#pragma once

#include <QString>
#include <QStringList>

// The line break of the messages made of interface texts, as the template's own texts break their lines.
inline const QString Break = QStringLiteral("\r\n");

// Interface text k of the template in the interface language; "" for a number the template does not have.
// Like tr(), a lookup every layer may make: the texts are read once at start-up and never change.
QString Caption(int k);
// The texts 1 to n read from the template (the list holds "" at 0 and after n).
void Set_Captions(const QStringList& captions);
