#include "classphrases.h"

#include <algorithm>

#include <QHash>

#include "students/scoreexport.h"

namespace {

QString recallText(double recall) { return QString::number(recall, 'f', 3); }

}

QVector<ClassPhrase> Class_Hardest_Phrases(const UserFile& users, const QDateTime& now)
{
    QVector<ClassPhrase> phrases;
    QHash<QString, qsizetype> found;
    For_Each_Phrase_History(users, QString(), QString(), now, [&](const QString&, const PhraseMemory& memory) {
        const auto at = found.constFind(memory.phrase);
        const qsizetype index = at != found.constEnd() ? *at : phrases.size();
        if (index == phrases.size()) {
            found.insert(memory.phrase, index);
            phrases.push_back({ memory.phrase, 0, 0, 0 });
        }
        ClassPhrase& phrase = phrases[index];
        ++phrase.students;
        phrase.lapses += memory.state.lapses;
        // The sum until every student is counted.
        phrase.meanRecall += memory.recall;
    });
    for (ClassPhrase& phrase : phrases)
        phrase.meanRecall /= phrase.students;
    std::sort(phrases.begin(), phrases.end(), [](const ClassPhrase& a, const ClassPhrase& b) {
        if (a.lapses != b.lapses)
            return a.lapses > b.lapses;
        if (a.meanRecall != b.meanRecall)
            return a.meanRecall < b.meanRecall;
        return a.phrase < b.phrase;
    });
    return phrases;
}

QVector<StudentPhrase> Phrase_Students(const UserFile& users, const QString& phrase, const QDateTime& now)
{
    if (phrase.isEmpty())
        return {};
    return Read_Phrase_Histories(users, QString(), phrase, now);
}

QVector<QStringList> Class_Phrase_Rows(const QVector<ClassPhrase>& phrases, const PhraseText& text)
{
    QVector<QStringList> rows;
    rows.reserve(phrases.size());
    for (const ClassPhrase& phrase : phrases)
        rows.push_back({ Formula_Safe(text ? text(phrase.phrase) : phrase.phrase), QString::number(phrase.students),
            QString::number(phrase.lapses), recallText(phrase.meanRecall) });
    return rows;
}

QVector<QStringList> Phrase_Student_Rows(const QVector<StudentPhrase>& students)
{
    QVector<QStringList> rows;
    rows.reserve(students.size());
    for (const StudentPhrase& student : students) {
        const fsrs::PhraseState& state = student.memory.state;
        rows.push_back({ Formula_Safe(student.student), QString::number(state.reviews), QString::number(state.lapses),
            recallText(student.memory.recall), state.due.toUTC().toString(Qt::ISODate) });
    }
    return rows;
}
