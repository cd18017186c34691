#include "studentreview.h"

#include "common/session.h"
#include "platform/database.h"
#include "students/phrasememory.h"

DueReview Student_Due_Review(const Session& session, const QDateTime& now)
{
    if (session.CurrentStudent.isEmpty())
        return {};
    try {
        const QVector<PhraseMemory> memory = Phrase_Memory(Users_Of(session), session.CurrentStudent, now);
        return { Due_Phrases(memory, now, -1), Next_Due(memory, now) };
    } catch (const platform::DbError&) {
        return {};
    }
}
