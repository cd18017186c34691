#include "scoreexport.h"

#include <algorithm>

#include <QDir>

#include "common/captions.h"
#include "common/failuretext.h"
#include "platform/database.h"
#include "platform/wholefile.h"
#include "students/scores.h"
#include "students/userdatabase.h"

QString Csv_Field(const QString& text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return special.contains(c); }))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString Formula_Safe(const QString& text)
{
    static const QString starts = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && starts.contains(text.front()) ? QLatin1Char('\'') + text : text;
}

QByteArray Csv_File(const QStringList& header, const QVector<QStringList>& rows)
{
    auto line = [](const QStringList& fields) {
        QStringList quoted;
        quoted.reserve(fields.size());
        for (const QString& field : fields)
            quoted << Csv_Field(field);
        return quoted.join(QLatin1Char(',')) + QLatin1String("\r\n");
    };
    QString text = line(header);
    for (const QStringList& row : rows)
        text += line(row);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QVector<QStringList> Read_Results(const UserFile& users, const ResultChoice& choice)
{
    QString sql
        = QStringLiteral("SELECT tName, tSubject, tActivity, textScore, numberScore, nDate, nTime FROM tblscores");
    QVariantList values;
    if (choice.view != -1) {
        const QString condition = Score_Pair_Condition(choice.view);
        if (condition.isEmpty())
            throw platform::DbError(QStringLiteral("There is no view %1 of the tracked scores.").arg(choice.view));
        sql += QStringLiteral(" WHERE ") + condition;
        values = { choice.parentText, choice.nodeText };
    }
    const auto rs
        = platform::Database::open(users.connectionString()).query(sql + QStringLiteral(" ORDER BY pkScoreID"), values);
    QVector<QStringList> rows;
    rows.reserve(rs.count());
    for (int i = 0; i < rs.count(); ++i) {
        rows.push_back({ Stored_Text(rs.value(i, 0)), Stored_Text(rs.value(i, 1)), Stored_Text(rs.value(i, 2)),
            Score_Text(rs.value(i, 3), rs.value(i, 4)), Stored_Text(rs.value(i, 4)), Stored_Text(rs.value(i, 5)),
            Stored_Text(rs.value(i, 6)) });
    }
    return rows;
}

QStringList Results_Header()
{
    return { Caption(50), Caption(10), Caption(46), Caption(47), Caption(153), Caption(48), Caption(49) };
}

QString Export_Results(const UserFile& users, const QString& path, const ResultChoice& choice)
{
    try {
        QVector<QStringList> rows = Read_Results(users, choice);
        // Students and teachers type the names; the number, date and time come from the activities, and so does
        // the score listed when it is the number.
        for (QStringList& row : rows)
            for (int c = 0; c < 4; ++c)
                if (c < 3 || row[3] != row[4])
                    row[c] = Formula_Safe(row[c]);
        return Write_Csv(path, Results_Header(), rows);
    } catch (const platform::DbError& e) {
        return Failure_Text(e);
    }
}

QString Write_Csv(const QString& path, const QStringList& header, const QVector<QStringList>& rows)
{
    QString error;
    return platform::writeWholeFile(path, Csv_File(header, rows), &error)
        ? QString()
        : Failure_Text(platform::FileFailure::Unwritable, QDir::toNativeSeparators(path), error);
}
