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
        + view.arg(SubjectsView, ScoreSubject, ScoresTable) + upgradeScript();
}

QString upgradeScript()
{
    // The views list the leading column of the activity and the subject index in its order, so they never sort.
    const QString index = QStringLiteral("CREATE INDEX IF NOT EXISTS %1_%2_%3 ON %1 (%2, %3);\n");
    const QString results = QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2 INTEGER PRIMARY KEY AUTOINCREMENT, "
                                           "%3 INTEGER, %4 TEXT, %5 TEXT, %6 TEXT, %7 INTEGER, %8 TEXT, %9 INTEGER);\n")
                                .arg(PhraseResultsTable, ResultId, ResultScore, ResultStudent, ResultPhrase,
                                    ResultActivity, ResultRating, ResultMoment, ResultAnswerMs);
    // A student's history of one phrase in time order, for the review schedule, holding the ratings too: the
    // schedules are replayed from the index alone, without a visit to each row. It takes the place of the index
    // of the first version, which lacked the ratings.
    const QString history
        = QStringLiteral("CREATE INDEX IF NOT EXISTS %1_%2_%3_%4_%5 ON %1 (%2, %3, %4, %5);\n"
                         "DROP INDEX IF EXISTS %1_%2_%3_%4;\n")
              .arg(PhraseResultsTable, ResultStudent, ResultPhrase, ResultMoment, ResultRating);
    const QString phrase
        = QStringLiteral("CREATE INDEX IF NOT EXISTS %1_%2 ON %1 (%2);\n").arg(PhraseResultsTable, ResultPhrase);
    return index.arg(ScoresTable, ScoreStudent, ScoreActivity) + index.arg(ScoresTable, ScoreActivity, ScoreSubject)
        + index.arg(ScoresTable, ScoreSubject, ScoreStudent) + results + history + phrase;
}

}
