#pragma once

#include <optional>

#include <QtGlobal>

// How well the learner knew a phrase in a round, as its phrase row stores it for the review schedule.
namespace games {

enum class Rating { NotRated = 0, Again = 1, Hard = 2, Good = 3, Easy = 4 };

// An answer right at the first try within this time is an easy one.
inline constexpr qint64 QuickAnswerMs = 5000;

// The one rule behind every game's ratings (each game counts its own mistakes: "not yet" marks, wrong picks,
// mismatches; a dictation 0 all right, 1 only accents wrong, 2 any other mistake):
//   no mistake, answered within QuickAnswerMs   4 easy
//   no mistake                                  3 good (a game that measures no answer time gives 3 at most)
//   one mistake                                 2 hard
//   two or more                                 1 again
Rating rateAnswer(int mistakes, std::optional<qint64> answerMs);

}
