#pragma once

#include <QLatin1StringView>
#include <QString>

// The user database "Users.dat": the students, the score rows the activities add, and the two lists of names the
// tracked-scores window reads. The template carries it empty and the program copies it on the first start, so
// every database that holds students is made by the script below.
namespace platform::users {

inline constexpr QLatin1StringView UsersTable("tblUsers");
inline constexpr QLatin1StringView StudentId("pkStudentID");
inline constexpr QLatin1StringView FirstName("tFirstname");
inline constexpr QLatin1StringView LastName("tLastname");
inline constexpr QLatin1StringView Password("tPassword");
inline constexpr QLatin1StringView Icon("nIcon");

inline constexpr QLatin1StringView ScoresTable("tblscores");
inline constexpr QLatin1StringView ScoreId("pkScoreID");
inline constexpr QLatin1StringView ScoreStudent("tName"); // the student's display name
inline constexpr QLatin1StringView ScoreSubject("tSubject");
inline constexpr QLatin1StringView ScoreActivity("tActivity");
inline constexpr QLatin1StringView TextScore("textScore");
inline constexpr QLatin1StringView NumberScore("numberScore");
inline constexpr QLatin1StringView ScoreDate("nDate"); // yyyy-MM-dd
inline constexpr QLatin1StringView ScoreTime("nTime"); // HH:mm:ss

// One row per phrase of a finished round, stored with its score row in one transaction: what feeds the phrases'
// review schedule. A phrase is named by its installed subject file and its number there ("zoo.ale#3"), so the same
// phrase reached through a virtual subject or the random phrases is one item.
inline constexpr QLatin1StringView PhraseResultsTable("tblphraseresults");
inline constexpr QLatin1StringView ResultId("pkResultID");
inline constexpr QLatin1StringView ResultScore("fkScoreID"); // the round's tblscores row
inline constexpr QLatin1StringView ResultStudent("tName"); // as tblscores
inline constexpr QLatin1StringView ResultPhrase("tPhraseID");
inline constexpr QLatin1StringView ResultActivity("tActivity"); // as tblscores
inline constexpr QLatin1StringView ResultRating("nRating"); // 1 again, 2 hard, 3 good, 4 easy
inline constexpr QLatin1StringView ResultMoment("tMoment"); // UTC, yyyy-MM-ddTHH:mm:ssZ
inline constexpr QLatin1StringView ResultAnswerMs("nAnswerMs"); // NULL when the activity measures none

// Every activity and every subject that has a score, each name once, sorted.
inline constexpr QLatin1StringView ActivitiesView("qryActivities");
inline constexpr QLatin1StringView SubjectsView("qrySubjects");

// What a file made by an older version lacks: the indexes behind the tracked-scores window (each of its three
// result statements and each of the two views reads only the results it lists instead of all of them) and the
// phrase results with theirs. Harmless on a file that has them already; it never touches a row.
QString upgradeScript();
// The statements that create the empty tables, the views and the indexes, for Database::executeScript.
QString schemaScript();

}
