#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "platform/lessons/outcome.h"
#include "platform/lessons/products.h"
#include "platform/lessons/speaker.h"

namespace subjecttool {

using namespace lessons;

// The languages every phrasebook entry is written in, by column name.
QStringList phrasebookLanguages();

// One phrasebook subject: a UTF-8 tab-separated file whose name (without .tsv) is the English title in lower-case
// words joined by "_" (the key of its names in the names table, see booknames.h); a header line names the language
// columns.
struct Phrasebook
{
    QString path;
    QString stem;
    struct Entry
    {
        int line = 0;
        QHash<QString, QString> texts; // language column -> text
    };
    QList<Entry> entries;
    Outcome outcome;
};

Phrasebook readPhrasebook(const QString& path);

// The language of tTranslation2 for a product: the other interface language, or empty when that is the language
// taught itself (prlspa, prleng), in which case the second text is the phrase's pronunciation.
QString secondTranslationLanguage(const ProductInfo& product);

// Writes the teacher's text file and its sounds for product into workDir (so a teacher has a worked example of the
// format), then builds outputPath from them the way parlanta-subject build does.
Outcome makePhrasebookSubject(const Phrasebook& book, const ProductInfo& product, const Speaker& speaker,
    const QString& workDir, const QString& outputPath);

}
