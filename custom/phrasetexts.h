#pragma once

#include <QString>

#include "subjects/subjectfile.h"

class QTreeWidgetItem;

// The administrator's corrections of an installed phrase's three texts.

// Writes the texts that are not blank once trimmed into row number of the installed subject file (in
// InstalledSubjectsDir), all in one update; a blank text leaves its column as stored. Returns the row as
// stored afterwards. Throws when the file does not open or has no such row; nothing is written then.
PhraseRow Store_Phrase_Texts(const QString& installedSubjectsDir, const QString& file, int number,
    const QString& tPhrase, const QString& tTranslation, const QString& tTranslation2);

// Shows a stored row on its phrase node: the translation as the node's text, the five-field phrase tag.
void Show_Stored_Phrase(QTreeWidgetItem* node, const QString& file, const PhraseRow& stored);
