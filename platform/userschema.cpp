#include "userschema.h"

namespace platform::users {

QString schemaScript()
{
    const QString users = QStringLiteral(
        "CREATE TABLE %1 (%2 INTEGER PRIMARY KEY AUTOINCREMENT, %3 TEXT, %4 TEXT, %5 TEXT, %6 INTEGER);\n")
                              .arg(UsersTable, StudentId, FirstName, LastName, Password, Icon);
    const QString scores = QStringLiteral("CREATE TABLE %1 (%2 INTEGER PRIMARY KEY AUTOINCREMENT, %3 TEXT, %4 TEXT, "
                                          "%5 TEXT, %6 TEXT, %7 REAL, %8 TEXT, %9 TEXT);\n")
                               .arg(ScoresTable, ScoreId, ScoreStudent, ScoreSubject, ScoreActivity, TextScore,
                                   NumberScore, ScoreDate, ScoreTime);
    const QString view = QStringLiteral("CREATE VIEW %1 AS SELECT DISTINCT %2 FROM %3 ORDER BY %2;\n");
    return users + scores + view.arg(ActivitiesView, ScoreActivity, ScoresTable)
        + view.arg(SubjectsView, ScoreSubject, ScoresTable);
}

}
