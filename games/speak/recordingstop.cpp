#include "recordingstop.h"

#include <algorithm>

#include "aubiohandles.h"

namespace games {

namespace {
    constexpr int FrameMs = 10;
}

RecordingStop::RecordingStop(qint64 referenceMs, int sampleRate)
    : m_frameSamples(std::max(1, sampleRate * FrameMs / 1000))
    // A phrase without a usable length still gets a few seconds to be said.
    , m_limitFrames(std::max<qint64>(referenceMs > 0 ? referenceMs : 1000, 1000) * MaximumTimesReference / FrameMs)
{
    m_frame.reserve(size_t(m_frameSamples));
}

bool RecordingStop::feed(const float* samples, qsizetype count)
{
    for (qsizetype i = 0; i < count && !m_stopped; ++i) {
        m_frame.push_back(samples[i]);
        if (qsizetype(m_frame.size()) == m_frameSamples)
            judgeFrame();
    }
    return m_stopped;
}

qint64 RecordingStop::recordedMs() const { return m_frames * FrameMs; }

void RecordingStop::judgeFrame()
{
    const fvec_t view = aubioView(m_frame.data(), uint_t(m_frame.size()));
    const bool quiet = aubio_silence_detection(&view, SilenceDb) != 0;
    m_frame.clear();
    ++m_frames;
    if (quiet) {
        m_loudFrames = 0;
        if (m_heardSpeech)
            ++m_quietFrames;
    } else {
        m_quietFrames = 0;
        if (++m_loudFrames * FrameMs >= SpeechToStartMs)
            m_heardSpeech = true;
    }
    m_stopped = m_quietFrames * FrameMs >= SilenceToStopMs || m_frames >= m_limitFrames;
}

}
