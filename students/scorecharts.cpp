#include "scorecharts.h"

#include <QMap>

#include "platform/database.h"
#include "students/scores.h"
#include "students/userdatabase.h"

QVector<ActivitySeries> Student_Progress(const QString& student, const QString& subject)
{
    QString sql = QStringLiteral(
        "SELECT tActivity, numberScore, nDate, nTime FROM tblscores WHERE tName = ? AND numberScore IS NOT NULL");
    QVariantList values { student };
    if (!subject.isEmpty()) {
        sql += QStringLiteral(" AND tSubject = ?");
        values << subject;
    }
    sql += QStringLiteral(" ORDER BY nDate, nTime, pkScoreID");
    const auto rs = platform::Database::open(Users_Connection_String()).query(sql, values);
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

QVector<StudentMean> Subject_Means(const QString& subject)
{
    const auto rs = platform::Database::open(Users_Connection_String())
                        .query(QStringLiteral("SELECT tName, avg(numberScore), count(numberScore) FROM tblscores "
                                              "WHERE tSubject = ? AND numberScore IS NOT NULL GROUP BY tName "
                                              "ORDER BY tName"),
                            { subject });
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
