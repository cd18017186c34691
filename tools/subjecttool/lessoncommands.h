#pragma once

#include <QString>
#include <QStringList>

// The subject tool's exchange with other programs' lesson files; each returns the tool's exit status (0 done,
// 1 refused, 2 wrong usage) and prints what happened, naming files and notes.
struct ImportRequest
{
    QString programCode; // empty: the product whose subjects the folder holds
    QString map; // "phrase=1,sound=Audio": fields by number from 1 or by name
    bool speakMissing = true;
    bool preview = false;
    QString deckPath;
    QString folder;
};
int importLessons(const ImportRequest& request);

struct ExportRequest
{
    QString programCode; // empty: the product of the first subject's extension
    QString ankiPath;
    QString kvtmlPath;
    QStringList subjects;
};
int exportLessons(const ExportRequest& request);

// Prints the message and the hint to --help to the standard error; 2.
int wrongUsage(const QString& message);
