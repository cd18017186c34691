#include "studyset.h"

#include <stdexcept>

#include <QFile>
#include <QTreeWidgetItem>

#include "common/apppath.h"
#include "common/errorreport.h"
#include "common/files.h"
#include "common/modmain.h"
#include "subjects/nodetag.h"
#include "subjects/subjectchecks.h"
#include "subjects/subjectfile.h"
#include "subjects/treenode.h"

using platform::Recordset;

namespace {
const QString VirtualSubjectField = QStringLiteral("VIRTUALSUBJECT");

QString soundFile(int position) { return Get_Temp_Path() + Exchange_Sound_File_Name(position); }

// The phrase of a row of a phrase recordset as the next record of the set, with its sound file written anew.
void addRecord(StudySet& set, const QString& file, const Recordset& rs, int row)
{
    const int position = static_cast<int>(set.size()) + 1;
    if (position > MaxStudyPhrases)
        throw std::out_of_range("Subscript out of range");
    const PhraseRow phrase = phraseAt(rs, row);
    // The sound writer keeps an older file's tail; a file left by a failed launch must not lend it one.
    const QString target = soundFile(position);
    QFile::remove(target);
    writePhraseSound(modMain.InstalledSubjectsDir + file, phrase.pkPhraseNo, target);
    set.push_back({ file, phrase.pkPhraseNo, phrase.tPhrase, phrase.tTranslation, phrase.tTranslation2 });
}
}

StudySet Get_Phraes_to_Study(QTreeWidgetItem* subject)
{
    Delete_Temp_Files();
    StudySet set;
    const bool isVirtual = subject && NodeTag::of(subject).field(1) == VirtualSubjectField;
    try {
        if (!subject)
            throw std::runtime_error("No subject is selected.");
        if (isVirtual) {
            // Phrases whose source is gone or unusable are skipped and leave no gap.
            for (int i = 0; i < subject->childCount(); ++i) {
                const NodeTag tag = NodeTag::of(subject->child(i));
                const QString file = tag.field(0);
                const QString path = modMain.InstalledSubjectsDir + file;
                if (!File_Exists(path) || Check_Subject(file) != ValidSubject)
                    continue;
                addRecord(set, file, readSubjectFile(path, phraseByKeySql(tag.number(1))), 0);
            }
        } else {
            const QString file = NodeTag::of(subject).field(1);
            const Recordset rs = readSubjectFile(modMain.InstalledSubjectsDir + file, AllPhrasesSql);
            for (int row = 0; row < rs.count(); ++row)
                addRecord(set, file, rs, row);
        }
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Get_Phraes_to_Study"), failureDescription(e));
        // Sound files this failed gathering wrote and no activity will get are not left behind.
        const int keep = isVirtual ? static_cast<int>(set.size()) : 0;
        for (int i = keep + 1; i <= MaxStudyPhrases; ++i)
            QFile::remove(soundFile(i));
        set.resize(keep);
    }
    return set;
}
