#include "phrasememory.h"

#include <algorithm>

#include <QSet>

#include "platform/database.h"
#include "platform/userschema.h"

namespace {

char16_t codeOf(QChar c) { return c.unicode(); }
char16_t codeOf(char c) { return static_cast<unsigned char>(c); }

// The whole number written in count plain digits at from; -1 when any of them is not a digit.
template <typename Text> int digitsAt(const Text& text, qsizetype from, int count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = codeOf(text[i]);
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// Exactly the form the activities write, as SQLite holds it; read by hand, as the school's results are hundreds
// of thousands.
QDateTime storedMoment(QByteArrayView text)
{
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':'
        || text[19] != 'Z')
        return {};
    const QDate date(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
    const QTime time(digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2));
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

std::optional<fsrs::Rating> storedRating(std::optional<qint64> rating)
{
    if (!rating || *rating < 1 || *rating > 4)
        return {};
    return static_cast<fsrs::Rating>(*rating);
}

enum Column { StudentColumn, PhraseColumn, RatingColumn, MomentColumn };

}

std::optional<PhraseId> Parse_Phrase_Id(const QString& identity)
{
    const qsizetype at = identity.lastIndexOf(QLatin1Char('#'));
    const int digits = static_cast<int>(identity.size() - at - 1);
    // Nine digits stay within an int.
    const int number = at > 0 && digits >= 1 && digits <= 9 ? digitsAt(identity, at + 1, digits) : -1;
    if (number < 0)
        return {};
    return PhraseId { identity.left(at), number };
}

void For_Each_Phrase_History(const UserFile& users, const QString& student, const QString& phrase,
    const QDateTime& now, const std::function<void(const QString& student, const PhraseMemory& memory)>& use)
{
    using namespace platform::users;
    QStringList conditions;
    QVariantList values;
    for (const auto& [column, value] : { std::pair(ResultStudent, student), std::pair(ResultPhrase, phrase) }) {
        if (!value.isEmpty()) {
            conditions << column + QStringLiteral(" = ?");
            values << value;
        }
    }
    // The order of the history index, which holds every column read: one student's results come in order without
    // a sort or a visit to the rows, and each history is one run of them.
    const QString sql
        = QStringLiteral("SELECT %1, %2, %3, %4 FROM %5%6 ORDER BY %1, %2, %4")
              .arg(ResultStudent, ResultPhrase, ResultRating, ResultMoment, PhraseResultsTable,
                  conditions.isEmpty() ? QString()
                                       : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND ")));

    const fsrs::Scheduler scheduler;
    // The run being read: its student and phrase as stored, to tell where it ends without making texts of every
    // row, and as texts.
    QByteArray runStudent;
    QByteArray runPhrase;
    QString name;
    PhraseMemory memory;
    bool readable = false;
    const auto finish = [&] {
        if (!readable || memory.reviews.isEmpty())
            return;
        memory.state = scheduler.replay(memory.reviews, now);
        memory.recall = scheduler.recallProbability(memory.state, now);
        memory.due = memory.state.due <= now;
        use(name, memory);
    };
    platform::Database::open(users.connectionString()).forEachRow({ sql, values }, [&](const platform::RowView& row) {
        const QByteArrayView rowStudent = row.text(StudentColumn);
        const QByteArrayView rowPhrase = row.text(PhraseColumn);
        const bool otherStudent = rowStudent != runStudent;
        if (otherStudent || rowPhrase != runPhrase) {
            finish();
            // Only what changed is made a text again: a student's name once for all his or her phrases.
            if (otherStudent) {
                runStudent = rowStudent.toByteArray();
                name = QString::fromUtf8(runStudent);
            }
            if (rowPhrase != runPhrase) {
                runPhrase = rowPhrase.toByteArray();
                memory.phrase = QString::fromUtf8(runPhrase);
            }
            // Emptied, not made anew: a history's results mostly fit where the last one's were.
            memory.reviews.clear();
            readable = !name.isEmpty() && Parse_Phrase_Id(memory.phrase);
        }
        if (!readable)
            return;
        const QDateTime moment = storedMoment(row.text(MomentColumn));
        const std::optional<fsrs::Rating> rating = storedRating(row.integer(RatingColumn));
        if (moment.isValid() && rating && moment <= now)
            memory.reviews.push_back({ moment, *rating });
    });
    finish();
}

QVector<StudentPhrase> Read_Phrase_Histories(
    const UserFile& users, const QString& student, const QString& phrase, const QDateTime& now)
{
    QVector<StudentPhrase> histories;
    For_Each_Phrase_History(users, student, phrase, now,
        [&histories](const QString& name, const PhraseMemory& memory) { histories.push_back({ name, memory }); });
    return histories;
}

QVector<PhraseMemory> Phrase_Memory(const UserFile& users, const QString& student, const QDateTime& now)
{
    QVector<PhraseMemory> memory;
    if (student.isEmpty())
        return memory;
    const QVector<StudentPhrase> histories = Read_Phrase_Histories(users, student, QString(), now);
    memory.reserve(histories.size());
    for (const StudentPhrase& history : histories)
        memory.push_back(history.memory);
    return memory;
}

QStringList Due_Phrases(const QVector<PhraseMemory>& memory, const QDateTime& now, int limit)
{
    QVector<const PhraseMemory*> due;
    for (const PhraseMemory& phrase : memory) {
        if (phrase.state.due <= now)
            due.push_back(&phrase);
    }
    const auto first = [](const PhraseMemory* a, const PhraseMemory* b) {
        if (a->state.due != b->state.due)
            return a->state.due < b->state.due;
        if (a->recall != b->recall)
            return a->recall < b->recall;
        return a->phrase < b->phrase;
    };
    const qsizetype count = limit < 0 ? due.size() : std::min<qsizetype>(limit, due.size());
    std::partial_sort(due.begin(), due.begin() + count, due.end(), first);
    QStringList phrases;
    phrases.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        phrases << due[i]->phrase;
    return phrases;
}

int Due_Count(const QVector<PhraseMemory>& memory, const QDateTime& now)
{
    return static_cast<int>(std::count_if(
        memory.begin(), memory.end(), [&now](const PhraseMemory& phrase) { return phrase.state.due <= now; }));
}

QDateTime Next_Due(const QVector<PhraseMemory>& memory, const QDateTime& now)
{
    QDateTime next;
    for (const PhraseMemory& phrase : memory) {
        if (phrase.state.due > now && (!next.isValid() || phrase.state.due < next))
            next = phrase.state.due;
    }
    return next;
}

std::optional<double> ProgressFigures::retention() const
{
    if (retentionTested == 0)
        return {};
    return static_cast<double>(retentionKept) / retentionTested;
}

ProgressFigures Progress_Figures(
    const QVector<PhraseMemory>& memory, const QDateTime& now, const QTimeZone& zone, int hardest)
{
    ProgressFigures figures;
    const QDate today = now.toTimeZone(zone).date();
    const QDate firstStudyDay = today.addDays(-364);
    const QDateTime retentionStart = now.addDays(-30);
    QSet<QDate> studyDays;
    for (const PhraseMemory& phrase : memory) {
        figures.known += phrase.recall >= 0.9 ? 1 : 0;
        figures.dueToday += phrase.state.due.toTimeZone(zone).date() <= today ? 1 : 0;
        for (qsizetype i = 0; i < phrase.reviews.size(); ++i) {
            const fsrs::Review& review = phrase.reviews[i];
            if (i > 0 && review.moment > retentionStart
                && fsrs::elapsedDays(phrase.reviews[i - 1].moment, review.moment) >= 1) {
                ++figures.retentionTested;
                figures.retentionKept += review.rating != fsrs::Rating::Again ? 1 : 0;
            }
            const QDate day = review.moment.toTimeZone(zone).date();
            if (day >= firstStudyDay && day <= today)
                studyDays.insert(day);
        }
    }
    figures.studyDays = QVector<QDate>(studyDays.begin(), studyDays.end());
    std::sort(figures.studyDays.begin(), figures.studyDays.end());

    figures.hardest = memory;
    const qsizetype count = std::clamp<qsizetype>(hardest, 0, memory.size());
    std::partial_sort(figures.hardest.begin(), figures.hardest.begin() + count, figures.hardest.end(),
        [](const PhraseMemory& a, const PhraseMemory& b) {
            if (a.state.lapses != b.state.lapses)
                return a.state.lapses > b.state.lapses;
            if (a.recall != b.recall)
                return a.recall < b.recall;
            return a.phrase < b.phrase;
        });
    figures.hardest.resize(count);
    return figures;
}
