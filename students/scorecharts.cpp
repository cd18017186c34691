#include "scorecharts.h"

#include <QMap>

#include "platform/database.h"
#include "students/scores.h"
#include "students/userdatabase.h"

namespace {
QVector<ActivitySeries> progress(QString condition, QVariantList values, const QString& subject)
{
    if (!subject.isEmpty()) {
        condition += QStringLiteral(" AND tSubject = ?");
        values << subject;
    }
    const auto rs
        = platform::Database::open(Users_Connection_String())
              .query(QStringLiteral("SELECT tActivity, numberScore, nDate, nTime FROM tblscores WHERE ") + condition
                      + QStringLiteral(" AND numberScore IS NOT NULL ORDER BY nDate, nTime, pkScoreID"),
                  values);
    QMap<QString, QVector<TimedScore>> byActivity;
    for (int i = 0; i < rs.count(); ++i) {
        const QDateTime when(QDate::fromString(Stored_Text(rs.value(i, 2)), Qt::ISODate),
            QTime::fromString(Stored_Text(rs.value(i, 3)), Qt::ISODate));
        if (!when.isValid())
            continue;
        byActivity[Stored_Text(rs.value(i, 0))].push_back({ when, rs.value(i, 1).toDouble() });
    }
    QVector<ActivitySeries> series;
    for (auto it = byActivity.cbegin(); it != byActivity.cend(); ++it)
        series.push_back({ it.key(), it.value() });
    return series;
}
}

QVector<ActivitySeries> Student_Progress(const QString& student, const QString& subject)
{
    return progress(QStringLiteral("tName = ?"), { student }, subject);
}

QVector<ActivitySeries> Pair_Progress(
    int view, const QString& parentText, const QString& nodeText, const QString& subject)
{
    return progress(Score_Pair_Condition(view), { parentText, nodeText }, subject);
}

QVector<StudentMean> Pair_Means(const QString& activity, const QString& subject)
{
    const auto rs
        = platform::Database::open(Users_Connection_String())
              .query(QStringLiteral("SELECT tName, avg(numberScore), count(numberScore) FROM tblscores WHERE ")
                      + Score_Pair_Condition(ActivityView)
                      + QStringLiteral(" AND numberScore IS NOT NULL GROUP BY tName ORDER BY tName"),
                  { activity, subject });
    QVector<StudentMean> means;
    for (int i = 0; i < rs.count(); ++i)
        means.push_back({ Stored_Text(rs.value(i, 0)), rs.value(i, 1).toDouble(), rs.value(i, 2).toInt() });
    return means;
}

QStringList Student_Subjects(const QString& student)
{
    const auto rs
        = platform::Database::open(Users_Connection_String())
              .query(QStringLiteral("SELECT DISTINCT tSubject FROM tblscores WHERE tName = ? ORDER BY tSubject"),
                  { student });
    QStringList subjects;
    for (int i = 0; i < rs.count(); ++i)
        subjects << Stored_Text(rs.value(i, 0));
    return subjects;
}
