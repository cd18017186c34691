#pragma once

#include <QLocale>
#include <QString>

// The locale whose dates the learner reads: the system's when it speaks the interface language, otherwise that
// language's own.
QLocale Interface_Locale(const QString& interfaceLanguage);
