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
        + view.arg(SubjectsView, ScoreSubject, ScoresTable) + indexScript();
}

QString indexScript()
{
    // The views list the leading column of the activity and the subject index in its order, so they never sort.
    const QString index = QStringLiteral("CREATE INDEX IF NOT EXISTS %1_%2_%3 ON %1 (%2, %3);\n");
    return index.arg(ScoresTable, ScoreStudent, ScoreActivity) + index.arg(ScoresTable, ScoreActivity, ScoreSubject)
        + index.arg(ScoresTable, ScoreSubject, ScoreStudent);
}

}
