#include "fsrs.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace fsrs {

namespace {
    double initialDifficulty(const std::array<double, 21>& w, double grade)
    {
        return w[4] - std::exp((grade - 1) * w[5]) + 1;
    }

    constexpr std::array<double, 21> DefaultParameters { 0.212, 1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,
        1.8722, 0.1666, 0.796, 1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542 };
    constexpr double MinimumStability = 0.001;
    constexpr double MaximumStability = 36500;

    double boundedStability(double stability) { return std::clamp(stability, MinimumStability, MaximumStability); }
}

int elapsedDays(const QDateTime& from, const QDateTime& to)
{
    // The UTC date is the whole days since the epoch, counted from the moment itself instead of through a calendar
    // date: every review of a class's replay asks.
    constexpr qint64 Day = 24 * 60 * 60 * 1000;
    const auto day = [](const QDateTime& moment) {
        const qint64 ms = moment.toMSecsSinceEpoch();
        return ms / Day - (ms % Day < 0 ? 1 : 0);
    };
    return static_cast<int>(day(to) - day(from));
}

Scheduler::Scheduler()
    : m_w(DefaultParameters)
    , m_decay(-m_w[20])
    // Chosen so that recall after `stability` days is exactly 90 %.
    , m_factor(std::pow(0.9, 1 / m_decay) - 1)
    , m_intervalFactor(std::pow(m_desiredRetention, 1 / m_decay) - 1)
    , m_growthFactor(std::exp(m_w[8]))
    , m_easyDifficulty(initialDifficulty(m_w, 4))
{
}

double Scheduler::retrievability(double elapsedDays, double stability) const
{
    return std::pow(1 + m_factor * elapsedDays / stability, m_decay);
}

MemoryState Scheduler::next(const std::optional<MemoryState>& before, int elapsedDays, Rating rating) const
{
    const auto& w = m_w;
    const double g = static_cast<int>(rating);
    if (!before)
        return { std::max(w[static_cast<int>(rating) - 1], 0.1), std::clamp(initialDifficulty(w, g), 1.0, 10.0) };

    const double s = before->stability;
    const double d = before->difficulty;
    double stability;
    if (elapsedDays == 0) {
        // A second look the same day: the short-term formula, which never lowers stability unless forgotten.
        double growth = std::pow(s, -w[19]) * std::exp(w[17] * (g - 3 + w[18]));
        if (rating != Rating::Again)
            growth = std::max(growth, 1.0);
        stability = boundedStability(s * growth);
    } else {
        const double r = retrievability(elapsedDays, s);
        if (rating == Rating::Again) {
            // Forgotten: the post-lapse formula, kept below the old stability by the factor a same-day Good gives back.
            const double forgotten = boundedStability(
                w[11] * std::pow(d, -w[12]) * (std::pow(s + 1, w[13]) - 1) * std::exp((1 - r) * w[14]));
            stability = std::min(std::max(s / std::exp(w[17] * w[18]), MinimumStability), forgotten);
        } else {
            const double ratingFactor = (rating == Rating::Hard ? w[15] : 1) * (rating == Rating::Easy ? w[16] : 1);
            const double growth
                = m_growthFactor * (11 - d) * std::pow(s, -w[9]) * (std::exp((1 - r) * w[10]) - 1) * ratingFactor;
            stability = boundedStability(s * (1 + growth));
        }
    }
    // Damped towards 10, then pulled back a little towards the difficulty of a first Easy.
    const double damped = d - w[6] * (g - 3) * (10 - d) / 9;
    const double difficulty = w[7] * m_easyDifficulty + (1 - w[7]) * damped;
    return { stability, std::clamp(difficulty, 1.0, 10.0) };
}

int Scheduler::intervalDays(double stability) const
{
    const double days = stability / m_factor * m_intervalFactor;
    return static_cast<int>(std::clamp(std::round(days), 1.0, static_cast<double>(m_maximumInterval)));
}

PhraseState Scheduler::reviewed(const PhraseState& before, const Review& review) const
{
    PhraseState after = before;
    const std::optional<MemoryState> memory
        = before.reviews > 0 ? std::optional(before.memory) : std::optional<MemoryState>();
    const int elapsed = before.reviews > 0 ? std::max(0, elapsedDays(before.lastReview, review.moment)) : 0;
    after.memory = next(memory, elapsed, review.rating);
    int interval = intervalDays(after.memory.stability);
    if (before.reviews > 0 && review.rating == Rating::Again) {
        ++after.lapses;
    } else if (before.reviews > 0) {
        // A better rating never comes back sooner: Hard no later than Good, Good and Easy each a day further. The
        // rating given has its interval already: a class's hundreds of thousands of reviews are replayed at once.
        const auto intervalAfter = [&](Rating rating) {
            return rating == review.rating ? interval : intervalDays(next(memory, elapsed, rating).stability);
        };
        const int good = intervalAfter(Rating::Good);
        const int hard = std::min(intervalAfter(Rating::Hard), good);
        const int spacedGood = std::max(good, hard + 1);
        if (review.rating == Rating::Hard)
            interval = hard;
        else if (review.rating == Rating::Good)
            interval = spacedGood;
        else
            interval = std::max(interval, spacedGood + 1);
    }
    after.intervalDays = std::min(interval, m_maximumInterval);
    ++after.reviews;
    after.lastReview = review.moment.toUTC();
    after.due = after.lastReview.addDays(after.intervalDays);
    return after;
}

PhraseState Scheduler::replay(QVector<Review> reviews, const QDateTime& now) const
{
    // The rows come from programs on other computers: a clock set forward and back again must not push a phrase
    // years out, and equal moments are taken in one order whatever order they came in.
    reviews.removeIf([&now](const Review& review) { return !review.moment.isValid() || review.moment > now; });
    const auto earlier = [](const Review& a, const Review& b) {
        return a.moment != b.moment ? a.moment < b.moment : a.rating < b.rating;
    };
    // Read in order as they usually are, they are replayed without a copy.
    if (!std::is_sorted(reviews.cbegin(), reviews.cend(), earlier))
        std::sort(reviews.begin(), reviews.end(), earlier);
    PhraseState phrase;
    for (const Review& review : std::as_const(reviews))
        phrase = reviewed(phrase, review);
    return phrase;
}

double Scheduler::recallProbability(const PhraseState& phrase, const QDateTime& now) const
{
    if (phrase.reviews == 0)
        return 0;
    return retrievability(std::max(0, elapsedDays(phrase.lastReview, now)), phrase.memory.stability);
}

}
