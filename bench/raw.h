#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The baselines' side: the sqlite3 library and plain file calls, with nothing of the program in between.
namespace bench::raw {

// Opens path (read-only unless write), runs each statement with its values bound in order, steps through every
// row reading every column; returns the rows read. Throws on a failure, so a baseline cannot pass by doing less.
int select(const QString& path, const QList<QByteArray>& statements, const QVariantList& values = {});
// Runs statements that change the file (inside one transaction when transaction is set).
void execute(
    const QString& path, const QList<QByteArray>& statements, const QList<QVariantList>& values, bool transaction);

// The names in folder matching the pattern, sorted, as a plain listing.
QStringList list(const QString& folder, const QString& pattern);
// Writes bytes to path, replacing what was there.
void write(const QString& path, const QByteArray& bytes);

}
