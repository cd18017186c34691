#include "speechfeatures.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "aubiohandles.h"
#include "speechaudio.h"

namespace games {

namespace {

    // A block quieter than this is silence whatever the rest; louder ones count only near the loudest, so that a
    // noisy room's hum is trimmed as well.
    constexpr smpl_t kSilenceDb = -55;
    constexpr smpl_t kSpeechBelowPeakDb = 35;
    constexpr int kTrimMarginFrames = 5;
    constexpr int kMelFilters = 40;
    // YIN's confidence is one less its dip: espeak-ng's voices give 0.55 to 0.99 on voiced frames, white noise not
    // one frame above this.
    constexpr smpl_t kVoicedConfidence = 0.5f;
    // 55 Hz to 1 kHz, as MIDI notes: a low voice falls to 60 Hz at a phrase's end, the mains hum of 50 Hz is no
    // voice, and beyond 1 kHz lie detection errors.
    constexpr smpl_t kLowestNote = 33;
    constexpr smpl_t kHighestNote = 84;
    // YIN needs two periods of the lowest pitch in its window, twice the timbre's; the longer window's middle lies
    // this many frames later than the timbre frame's. aubio's "yinfast" is YIN with its difference function taken
    // through the FFT: the same pitches and confidences, at a tenth of the time for this window.
    constexpr int kPitchWindow = 1024;
    constexpr int kPitchLagFrames = ((kPitchWindow - kSpeechWindow) / 2 + kSpeechHop / 2) / kSpeechHop;
    constexpr int kMinVoicedFrames = 10;
    constexpr int kMinVoicedShare = 10; // at least one frame in this many

    // Each recording is brought to this loudest level, and its spectrum kept above a floor as far below: digital
    // silence would otherwise give logarithms far beyond anything a voice makes, and the floor stays the same
    // distance below the voice however loud the recording was.
    constexpr smpl_t kPeakDb = -20;
    constexpr smpl_t kSpectrumFloor = 3e-2f;

    struct SpokenPart
    {
        int firstBlock = 0;
        int endBlock = 0; // past the last
        smpl_t peakDb = 0;
    };

    SpokenPart spokenPart(const std::vector<float>& samples)
    {
        const int blocks = int(samples.size() / kSpeechHop);
        std::vector<smpl_t> levels(std::size_t(std::max(blocks, 0)));
        for (int b = 0; b < blocks; ++b) {
            const fvec_t block = aubioView(samples.data() + std::size_t(b) * kSpeechHop, kSpeechHop);
            levels[std::size_t(b)] = aubio_db_spl(&block);
        }
        if (levels.empty())
            return {};
        const smpl_t peak = *std::max_element(levels.begin(), levels.end());
        const smpl_t threshold = std::max(kSilenceDb, peak - kSpeechBelowPeakDb);
        const auto loud = [threshold](smpl_t level) { return level >= threshold; };
        const auto first = std::find_if(levels.begin(), levels.end(), loud);
        if (first == levels.end())
            return {};
        const auto last = std::find_if(levels.rbegin(), levels.rend(), loud);
        return { std::max(0, int(first - levels.begin()) - kTrimMarginFrames),
            std::min(blocks, int(levels.rend() - last) + kTrimMarginFrames), peak };
    }

    void normaliseMeans(std::vector<SpeechFrame>& frames)
    {
        if (frames.empty())
            return;
        SpeechFrame mean {};
        for (const SpeechFrame& frame : frames)
            for (int c = 0; c < kSpeechCoefficients; ++c)
                mean[c] += frame[c];
        for (float& value : mean)
            value /= float(frames.size());
        for (SpeechFrame& frame : frames)
            for (int c = 0; c < kSpeechCoefficients; ++c)
                frame[c] -= mean[c];
    }

    void centreOnMedian(std::vector<float>& notes)
    {
        std::vector<float> voiced;
        std::copy_if(notes.begin(), notes.end(), std::back_inserter(voiced), [](float n) { return !std::isnan(n); });
        if (voiced.empty())
            return;
        const auto middle = voiced.begin() + std::ptrdiff_t(voiced.size() / 2);
        std::nth_element(voiced.begin(), middle, voiced.end());
        const float median = *middle;
        for (float& note : notes)
            note -= median;
    }

}

bool SpeechFeatures::spoken() const
{
    return voicedFrames >= kMinVoicedFrames && voicedFrames * kMinVoicedShare >= frames();
}

SpeechFeatures speechFeatures(const std::vector<float>& samples)
{
    SpeechFeatures features;
    const SpokenPart part = spokenPart(samples);
    const int frames = std::min(part.endBlock - part.firstBlock, kSpeechMaxFrames);
    if (frames <= 0)
        return features;
    features.startMs = qint64(part.firstBlock) * kSpeechFrameMs;
    const auto begin = samples.begin() + std::ptrdiff_t(part.firstBlock) * kSpeechHop;
    std::vector<float> spoken(begin, begin + std::ptrdiff_t(frames) * kSpeechHop);
    const float gain = std::pow(10.0f, (kPeakDb - part.peakDb) / 20);
    for (float& sample : spoken)
        sample *= gain;

    const AubioPvoc pvoc(new_aubio_pvoc(kSpeechWindow, kSpeechHop));
    const AubioMfcc mfcc(new_aubio_mfcc(kSpeechWindow, kMelFilters, kSpeechCoefficients, kSpeechRate));
    const AubioPitch pitch(new_aubio_pitch("yinfast", kPitchWindow, kSpeechHop, kSpeechRate));
    const AubioCvec spectrum(new_cvec(kSpeechWindow));
    const AubioFvec coefficients(new_fvec(kSpeechCoefficients));
    const AubioFvec note(new_fvec(1));
    if (!pvoc || !mfcc || !pitch || !spectrum || !coefficients || !note)
        return features;
    aubio_pitch_set_unit(pitch.get(), "midi");
    aubio_pitch_set_silence(pitch.get(), kSilenceDb);

    features.mfcc.resize(std::size_t(frames));
    features.pitch.resize(std::size_t(frames), std::numeric_limits<float>::quiet_NaN());
    for (int f = 0; f < frames; ++f) {
        const fvec_t block = aubioView(spoken.data() + std::size_t(f) * kSpeechHop, kSpeechHop);
        aubio_pvoc_do(pvoc.get(), &block, spectrum.get());
        std::for_each(spectrum->norm, spectrum->norm + spectrum->length,
            [](smpl_t& magnitude) { magnitude = std::max(magnitude, kSpectrumFloor); });
        aubio_mfcc_do(mfcc.get(), spectrum.get(), coefficients.get());
        std::copy_n(coefficients->data, kSpeechCoefficients, features.mfcc[std::size_t(f)].begin());
        aubio_pitch_do(pitch.get(), &block, note.get());
        const smpl_t found = note->data[0];
        if (f >= kPitchLagFrames && aubio_pitch_get_confidence(pitch.get()) >= kVoicedConfidence && found >= kLowestNote
            && found <= kHighestNote) {
            features.pitch[std::size_t(f - kPitchLagFrames)] = found;
            ++features.voicedFrames;
        }
    }
    normaliseMeans(features.mfcc);
    centreOnMedian(features.pitch);
    return features;
}

}
