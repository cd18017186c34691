#include "studyset.h"

#include <stdexcept>

#include <QFile>

#include "common/apppath.h"
#include "common/errorreport.h"
#include "common/files.h"
#include "common/session.h"
#include "subjects/subjectchecks.h"
#include "subjects/subjectfile.h"
#include "subjects/subjectref.h"
#include "common/subjectfolders.h"

using platform::Recordset;

namespace {
QString soundFile(qint64 number, int position) { return Get_Temp_Path() + Exchange_Sound_File_Name(number, position); }

// The phrase of a row of a phrase recordset as the next record of the set, with its sound file written anew.
void addRecord(StudySet& set, const Session& session, const QString& file, const Recordset& rs, int row)
{
    const int position = static_cast<int>(set.size()) + 1;
    if (position > MaxStudyPhrases)
        throw std::out_of_range("Subscript out of range");
    const PhraseRow phrase = phraseAt(rs, row);
    // The sound writer keeps an older file's tail; a file left by a failed launch must not lend it one.
    const QString target = soundFile(session.ExchangeNumber, position);
    QFile::remove(target);
    writePhraseSound(Installed_Subject_Path(session, file), phrase.pkPhraseNo, target);
    set.push_back({ file, phrase.pkPhraseNo, phrase.tPhrase, phrase.tTranslation, phrase.tTranslation2 });
}
}

StudySet Get_Phraes_to_Study(const SubjectRef& subject, const Session& session, SubjectChecks& checks)
{
    Delete_Temp_Files(session.ExchangeNumber);
    StudySet set;
    const bool isVirtual = subject.kind == SubjectRef::Kind::VirtualSubject;
    try {
        if (!subject.isSubject())
            throw std::runtime_error("No subject is selected.");
        if (isVirtual) {
            // Phrases whose source is gone or unusable are skipped and leave no gap.
            for (const SubjectRef& phrase : subject.phrases) {
                if (phrase.kind != SubjectRef::Kind::Phrase || !checks.usable(phrase.file))
                    continue;
                const QString path = Installed_Subject_Path(session, phrase.file);
                addRecord(set, session, phrase.file, readSubjectFile(path, phraseByKeySql(phrase.phraseNo)), 0);
            }
        } else {
            const Recordset rs = readSubjectFile(Installed_Subject_Path(session, subject.file), AllPhrasesSql);
            for (int row = 0; row < rs.count(); ++row)
                addRecord(set, session, subject.file, rs, row);
        }
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Get_Phraes_to_Study"), failureDescription(e));
        // Sound files this failed gathering wrote and no activity will get are not left behind.
        const int keep = isVirtual ? static_cast<int>(set.size()) : 0;
        for (int i = keep + 1; i <= MaxStudyPhrases; ++i)
            QFile::remove(soundFile(session.ExchangeNumber, i));
        set.resize(keep);
    }
    return set;
}
