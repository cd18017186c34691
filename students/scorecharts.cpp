#include "scorecharts.h"

#include <QMap>

#include "platform/database.h"
#include "students/scorepercent.h"
#include "students/scores.h"
#include "students/userdatabase.h"

namespace {
QVector<ActivitySeries> progress(const UserFile& users, QString condition, QVariantList values, const QString& subject)
{
    if (!subject.isEmpty()) {
        condition += QStringLiteral(" AND tSubject = ?");
        values << subject;
    }
    const auto rs
        = platform::Database::open(users.connectionString())
              .query(QStringLiteral("SELECT tActivity, textScore, numberScore, nDate, nTime FROM tblscores WHERE ")
                      + condition + QStringLiteral(" ORDER BY nDate, nTime, pkScoreID"),
                  values);
    QMap<QString, QVector<TimedScore>> byActivity;
    for (int i = 0; i < rs.count(); ++i) {
        const std::optional<double> percent = Score_Percent(rs.value(i, 1), rs.value(i, 2));
        const QDateTime when(QDate::fromString(Stored_Text(rs.value(i, 3)), Qt::ISODate),
            QTime::fromString(Stored_Text(rs.value(i, 4)), Qt::ISODate));
        if (!percent || !when.isValid())
            continue;
        byActivity[Stored_Text(rs.value(i, 0))].push_back({ when, *percent });
    }
    QVector<ActivitySeries> series;
    for (auto it = byActivity.cbegin(); it != byActivity.cend(); ++it)
        series.push_back({ it.key(), it.value() });
    return series;
}
}

QVector<ActivitySeries> Student_Progress(const UserFile& users, const QString& student, const QString& subject)
{
    return progress(users, QStringLiteral("tName = ?"), { student }, subject);
}

QVector<ActivitySeries> Pair_Progress(
    const UserFile& users, int view, const QString& parentText, const QString& nodeText, const QString& subject)
{
    return progress(users, Score_Pair_Condition(view), { parentText, nodeText }, subject);
}

QVector<StudentMean> Pair_Means(const UserFile& users, const QString& activity, const QString& subject)
{
    const auto rs = platform::Database::open(users.connectionString())
                        .query(QStringLiteral("SELECT tName, textScore, numberScore FROM tblscores WHERE ")
                                + Score_Pair_Condition(ActivityView) + QStringLiteral(" ORDER BY tName"),
                            { activity, subject });
    // The rows come in name order, so each student's results follow one another.
    QVector<StudentMean> means;
    for (int i = 0; i < rs.count(); ++i) {
        const std::optional<double> percent = Score_Percent(rs.value(i, 1), rs.value(i, 2));
        if (!percent)
            continue;
        const QString student = Stored_Text(rs.value(i, 0));
        if (means.isEmpty() || means.last().student != student)
            means.push_back({ student, 0, 0 });
        StudentMean& mean = means.last();
        mean.mean += (*percent - mean.mean) / ++mean.results;
    }
    return means;
}

QStringList Student_Subjects(const UserFile& users, const QString& student)
{
    const auto rs
        = platform::Database::open(users.connectionString())
              .query(QStringLiteral("SELECT DISTINCT tSubject FROM tblscores WHERE tName = ? ORDER BY tSubject"),
                  { student });
    QStringList subjects;
    for (int i = 0; i < rs.count(); ++i)
        subjects << Stored_Text(rs.value(i, 0));
    return subjects;
}
