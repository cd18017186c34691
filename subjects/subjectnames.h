#pragma once

#include <QString>
#include <QStringList>

class QTreeWidgetItem;

// The display title of an installed subject file: each "_"-separated piece after a blank, the dot and the
// three-letter extension dropped, then proper case. The result starts with a blank; lists trim it.
// A name too short to hold an extension gives the error report and "".
QString Proper_Title(const QString& fileName);

// The display name of a virtual subject file: the name without ".v" and the three-letter extension.
QString virtualFileDisplayName(const QString& fileName);
// Virtual subject file names in the order people of the interface language read their display names: numbers by
// their value ("Folder 5" before "Folder 10"), letter case and accents only where nothing else tells two names apart.
QStringList inReadingOrder(const QStringList& virtualFileNames, const QString& interfaceLanguage);

// Field n (from 0) of a "*"-separated node tag; a field beyond the last gives the error report and "".
QString Tag_Item(int n, const QString& tag);
QString Tag_Item(int n, const QTreeWidgetItem* node);
