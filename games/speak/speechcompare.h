#pragma once

// How close a learner's saying of a phrase comes to the phrase's recorded sound: a score, the two pitch curves on
// the sound's time axis for a chart, and the stretch of the sound where the two differ most.

#include <vector>

#include "speechfeatures.h"

namespace games {

enum class SpeechVerdict {
    Compared,
    NothingSaid, // the recording holds silence or noise, no voice
    ReferenceSilent, // the phrase's sound holds no voice: there is nothing to compare with
};

struct SpeechPitchPoint
{
    qint64 ms = 0; // in the reference recording
    float reference = 0; // semitones from each speaker's own median; NaN where unvoiced
    float learner = 0; // of the learner's frames lined up with this one
};

struct SpeechComparison
{
    SpeechVerdict verdict = SpeechVerdict::NothingSaid;
    int score = 0; // 0 to 100; 0 unless compared
    double meanCost = 0; // the mean distance of the lined-up frames, which the score is made of
    std::vector<SpeechPitchPoint> pitch; // one a reference frame
    qint64 worstFromMs = 0; // the stretch of the reference recording that was said least alike
    qint64 worstToMs = 0;
};

SpeechComparison compareSpeech(const SpeechFeatures& reference, const SpeechFeatures& learner);
// The score of a mean frame distance: 100 up to a close match, 0 from a different phrase's distance on.
int speechScore(double meanCost);

}
