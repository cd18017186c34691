#include "phrasetexts.h"

#include <QTreeWidgetItem>

#include "common/files.h"
#include "subjects/nodetag.h"
#include "subjects/subjectfile.h"
#include "subjects/treenode.h"

using platform::Database;
using platform::DbError;
using platform::Recordset;

namespace {
Recordset phraseRow(const Database& db, const QString& file, int number)
{
    Recordset rs = db.query(phraseByKeySql(number));
    if (rs.isEmpty())
        throw DbError(QStringLiteral("'%1' has no phrase %2.").arg(file).arg(number));
    return rs;
}
}

PhraseRow Store_Phrase_Texts(const QString& installedSubjectsDir, const QString& file, int number,
    const QString& tPhrase, const QString& tTranslation, const QString& tTranslation2)
{
    return changeSubjectFile(installedSubjectsDir + file, [&](const Database& db) {
        // A row that is gone is reported before anything is written.
        phraseRow(db, file, number);
        QStringList assignments;
        QVariantList values;
        const std::pair<QString, QString> boxes[] = { { QStringLiteral("tPhrase"), tPhrase },
            { QStringLiteral("tTranslation"), tTranslation }, { QStringLiteral("tTranslation2"), tTranslation2 } };
        for (const auto& [column, text] : boxes) {
            const QString trimmed = text.trimmed();
            if (trimmed.isEmpty())
                continue;
            assignments << column + QStringLiteral(" = ?");
            values << trimmed;
        }
        if (!assignments.isEmpty()) {
            values << number;
            db.execute(
                QStringLiteral("UPDATE tblPhrases SET %1 WHERE pkPhraseNo = ?").arg(assignments.join(u',')), values);
        }
        return phraseAt(phraseRow(db, file, number), 0);
    });
}

void Show_Stored_Phrase(QTreeWidgetItem* node, const QString& file, const PhraseRow& stored)
{
    node->setText(0, stored.tTranslation);
    Set_Phrase_Tag(node, Phrase_Tag(file, stored));
}
