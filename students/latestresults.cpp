#include "latestresults.h"

#include "platform/database.h"
#include "students/scores.h"
#include "students/userdatabase.h"

QVector<LatestResult> Latest_Results(const UserFile& users, const QString& student, int count)
{
    // The same order as the chart's time axis; rows of one moment in the order they were written.
    const auto rs = platform::Database::open(users.connectionString())
                        .query(QStringLiteral("SELECT tSubject, tActivity, textScore, numberScore, nDate, nTime "
                                              "FROM tblscores WHERE tName = ? "
                                              "ORDER BY nDate DESC, nTime DESC, pkScoreID DESC LIMIT ?"),
                            { student, count });
    QVector<LatestResult> results;
    results.reserve(rs.count());
    for (int i = 0; i < rs.count(); ++i)
        results.push_back({ Stored_Text(rs.value(i, 0)), Stored_Text(rs.value(i, 1)),
            Score_Text(rs.value(i, 2), rs.value(i, 3)), Stored_Text(rs.value(i, 4)), Stored_Text(rs.value(i, 5)) });
    return results;
}
