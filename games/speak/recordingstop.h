#pragma once

// When a recording of the learner ends by itself: after a second of silence once the learner has spoken, or at
// three times the length of the phrase's own sound, whichever comes first.

#include <QtGlobal>

#include <vector>

namespace games {

class RecordingStop
{
public:
    // referenceMs: the length of the phrase's sound; sampleRate: of the samples fed.
    RecordingStop(qint64 referenceMs, int sampleRate);

    // Takes the samples as the capture hands them, mono, -1..1; true once the recording is to stop.
    bool feed(const float* samples, qsizetype count);
    bool stopped() const { return m_stopped; }
    // Whether anything louder than the room was heard for long enough to be speech and not a click.
    bool heardSpeech() const { return m_heardSpeech; }
    qint64 recordedMs() const;

    // The level under which a stretch counts as silence, in dB of full scale.
    static constexpr float SilenceDb = -45.f;
    static constexpr int SilenceToStopMs = 1000;
    static constexpr int SpeechToStartMs = 60;
    static constexpr int MaximumTimesReference = 3;

private:
    void judgeFrame();

    int m_frameSamples;
    qint64 m_limitFrames;
    std::vector<float> m_frame; // the samples of the frame not yet full
    qint64 m_frames = 0;
    int m_loudFrames = 0; // in a row
    int m_quietFrames = 0; // in a row, after speech
    bool m_heardSpeech = false;
    bool m_stopped = false;
};

}
