#pragma once

// What the comparison reads from one recording: its spoken part, frame by frame, as timbre (MFCC) and as a pitch
// curve around the speaker's own middle.

#include <array>
#include <vector>

#include <QtGlobal>

namespace games {

constexpr int kSpeechHop = 160; // samples between frames at the analysis rate
constexpr int kSpeechFrameMs = 10;
constexpr int kSpeechWindow = 512;
constexpr int kSpeechCoefficients = 13;
// 20 s: more than any phrase takes; it bounds the alignment's work whatever a recording holds.
constexpr int kSpeechMaxFrames = 2000;

using SpeechFrame = std::array<float, kSpeechCoefficients>;

struct SpeechFeatures
{
    qint64 startMs = 0; // where the spoken part begins in the recording: the silence before it is left out
    std::vector<SpeechFrame> mfcc; // a frame each; each coefficient less its mean, so the microphone does not count
    std::vector<float> pitch; // a frame each: semitones from the speaker's median pitch, NaN where unvoiced
    int voicedFrames = 0;

    int frames() const { return int(mfcc.size()); }
    qint64 frameMs(int frame) const { return startMs + qint64(frame) * kSpeechFrameMs; }
    // Whether a voice says something: enough of the sound is voiced, which neither silence nor noise is.
    bool spoken() const;
};

// samples: mono at the analysis rate (speechaudio.h).
SpeechFeatures speechFeatures(const std::vector<float>& samples);

}
