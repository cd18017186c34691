#include "speechcompare.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "speechwarp.h"

namespace games {

namespace {

    // Measured with espeak-ng's German voices, a man's against two women's at other speeds and pitches: the same
    // phrase costs 1.4 to 1.9 (a score of 63 to 88), another phrase of a similar length 2.2 to 3.1 (45 to 3).
    constexpr double kFullScoreCost = 1.2;
    constexpr double kZeroScoreCost = 3.2;
    constexpr int kWorstStretchFrames = 300 / kSpeechFrameMs;

    // The learner's pitch at each reference frame: the mean of the voiced learner frames lined up with it.
    std::vector<SpeechPitchPoint> pitchCurves(
        const SpeechFeatures& reference, const SpeechFeatures& learner, const std::vector<WarpStep>& path)
    {
        std::vector<float> sums(reference.pitch.size(), 0.0f);
        std::vector<int> counts(reference.pitch.size(), 0);
        for (const WarpStep& step : path) {
            const float note = learner.pitch[std::size_t(step.learner)];
            if (!std::isnan(note)) {
                sums[std::size_t(step.reference)] += note;
                ++counts[std::size_t(step.reference)];
            }
        }
        std::vector<SpeechPitchPoint> points(reference.pitch.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            points[i].ms = reference.frameMs(int(i));
            points[i].reference = reference.pitch[i];
            points[i].learner = counts[i] > 0 ? sums[i] / float(counts[i]) : std::numeric_limits<float>::quiet_NaN();
        }
        return points;
    }

    // The window of reference frames with the highest mean cost of the steps that line them up.
    void findWorstStretch(const SpeechFeatures& reference, const std::vector<WarpStep>& path, SpeechComparison& out)
    {
        const int frames = reference.frames();
        std::vector<double> costs(std::size_t(frames), 0.0);
        std::vector<int> counts(std::size_t(frames), 0);
        for (const WarpStep& step : path) {
            costs[std::size_t(step.reference)] += step.cost;
            ++counts[std::size_t(step.reference)];
        }
        for (int i = 0; i < frames; ++i)
            costs[std::size_t(i)] /= std::max(1, counts[std::size_t(i)]);
        const int window = std::min(kWorstStretchFrames, frames);
        double sum = std::accumulate(costs.begin(), costs.begin() + window, 0.0);
        double worst = sum;
        int worstStart = 0;
        for (int start = 1; start + window <= frames; ++start) {
            sum += costs[std::size_t(start + window - 1)] - costs[std::size_t(start - 1)];
            if (sum > worst) {
                worst = sum;
                worstStart = start;
            }
        }
        out.worstFromMs = reference.frameMs(worstStart);
        out.worstToMs = reference.frameMs(worstStart + window);
    }

}

int speechScore(double meanCost)
{
    const double share = (kZeroScoreCost - meanCost) / (kZeroScoreCost - kFullScoreCost);
    return int(std::lround(100 * std::clamp(share, 0.0, 1.0)));
}

SpeechComparison compareSpeech(const SpeechFeatures& reference, const SpeechFeatures& learner)
{
    SpeechComparison result;
    if (!reference.spoken()) {
        result.verdict = SpeechVerdict::ReferenceSilent;
        return result;
    }
    if (!learner.spoken())
        return result;
    const std::vector<WarpStep> path = warpPath(reference.mfcc, learner.mfcc);
    double total = 0;
    for (const WarpStep& step : path)
        total += step.cost;
    result.verdict = SpeechVerdict::Compared;
    result.meanCost = total / double(path.size());
    result.score = speechScore(result.meanCost);
    result.pitch = pitchCurves(reference, learner, path);
    findWorstStretch(reference, path, result);
    return result;
}

}
