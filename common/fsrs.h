#pragma once

#include <QDateTime>
#include <QVector>

#include <array>
#include <optional>

// Review scheduling with FSRS-6: from a phrase's ratings, how well the student holds it (stability: the days
// until recall falls to 90 %; difficulty: 1..10) and when it is next due, in whole days from the first rating.
namespace fsrs {

enum class Rating { Again = 1, Hard = 2, Good = 3, Easy = 4 };

struct MemoryState
{
    double stability = 0;
    double difficulty = 0;
};

struct Review
{
    QDateTime moment; // UTC
    Rating rating = Rating::Good;
};

struct PhraseState
{
    int reviews = 0;
    int lapses = 0; // ratings of Again after the first
    MemoryState memory;
    int intervalDays = 0;
    QDateTime lastReview;
    QDateTime due; // invalid while the phrase has no review: due at once
};

// Days from one moment to a later one as the schedule counts them: UTC calendar days, so a review just before
// midnight and one just after are a day apart.
int elapsedDays(const QDateTime& from, const QDateTime& to);

// The default FSRS-6 parameters, desired retention 0.9, no fuzz, intervals of at most 36500 days.
class Scheduler
{
public:
    Scheduler();

    // Probability of recall after the given days at the given stability.
    double retrievability(double elapsedDays, double stability) const;
    // The memory after a rating given the elapsed days after the previous one (none before the first rating).
    MemoryState next(const std::optional<MemoryState>& before, int elapsedDays, Rating rating) const;
    // Whole days until recall is expected to fall to the desired retention.
    int intervalDays(double stability) const;
    // The phrase after one more review, which is not earlier than its last one.
    PhraseState reviewed(const PhraseState& before, const Review& review) const;
    // The phrase after its reviews in order of time; those after now are left out.
    PhraseState replay(QVector<Review> reviews, const QDateTime& now) const;
    // Probability of recall now (0 for a phrase not yet reviewed).
    double recallProbability(const PhraseState& phrase, const QDateTime& now) const;

private:
    std::array<double, 21> m_w;
    double m_desiredRetention = 0.9;
    int m_maximumInterval = 36500;
    double m_decay;
    double m_factor;
    double m_intervalFactor; // days of stability to days until the desired retention
    // Terms of every rating's formulas that depend on the parameters alone.
    double m_growthFactor;
    double m_easyDifficulty;
};

}
