#include "platform/lessons/audiodecode.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include <samplerate.h>
#include <sndfile.h>

#include "platform/lessons/subjectfile.h"
#include "platform/wave.h"

namespace lessons {

namespace {

    constexpr qint64 WaveHeaderBytes = 44;
    constexpr qint64 MaxOutputFrames = (MaxSoundBytes - WaveHeaderBytes) / 2;

    // libsndfile reads the bytes where they are: a deck's sounds come out of a package in memory, and a temporary
    // file for each would cost a write and a read for nothing.
    struct MemoryFile
    {
        const QByteArray& bytes;
        sf_count_t at = 0;
    };

    sf_count_t memoryLength(void* user) { return static_cast<MemoryFile*>(user)->bytes.size(); }

    sf_count_t memorySeek(sf_count_t offset, int whence, void* user)
    {
        auto* file = static_cast<MemoryFile*>(user);
        const sf_count_t base = whence == SEEK_CUR ? file->at : whence == SEEK_END ? file->bytes.size() : 0;
        const sf_count_t to = base + offset;
        if (to < 0 || to > file->bytes.size())
            return -1;
        file->at = to;
        return to;
    }

    sf_count_t memoryRead(void* buffer, sf_count_t count, void* user)
    {
        auto* file = static_cast<MemoryFile*>(user);
        const sf_count_t n = std::clamp<sf_count_t>(file->bytes.size() - file->at, 0, count);
        std::memcpy(buffer, file->bytes.constData() + file->at, static_cast<size_t>(n));
        file->at += n;
        return n;
    }

    sf_count_t memoryWrite(const void*, sf_count_t, void*) { return 0; }

    sf_count_t memoryTell(void* user) { return static_cast<MemoryFile*>(user)->at; }

    QString tooLong(double seconds)
    {
        return QStringLiteral("a sound of %1 s, longer than the %2 MB a subject's sound may have as a WAVE file")
            .arg(seconds, 0, 'f', 0)
            .arg(MaxSoundBytes >> 20);
    }

    // The channels mixed into one by their mean, so that a loud stereo sound does not clip when it becomes mono.
    std::vector<float> readMono(SNDFILE* file, const SF_INFO& info, QString* problem)
    {
        const int channels = info.channels;
        // Stops a file that decodes to more than a subject takes before it fills the memory.
        const double inputLimit = std::ceil(double(MaxOutputFrames) * info.samplerate / SubjectSampleRate) + 1;
        std::vector<float> mono;
        std::vector<float> block(size_t(4096) * size_t(channels));
        for (;;) {
            const sf_count_t frames = sf_readf_float(file, block.data(), 4096);
            if (frames <= 0)
                break;
            for (sf_count_t f = 0; f < frames; ++f) {
                float sum = 0;
                for (int c = 0; c < channels; ++c)
                    sum += block[size_t(f) * size_t(channels) + size_t(c)];
                mono.push_back(sum / float(channels));
            }
            if (double(mono.size()) > inputLimit) {
                *problem
                    = tooLong(double(std::max<sf_count_t>(info.frames, sf_count_t(mono.size()))) / info.samplerate);
                return {};
            }
        }
        if (sf_error(file) != SF_ERR_NO_ERROR) {
            *problem = QStringLiteral("a sound that cannot be decoded: %1").arg(QString::fromUtf8(sf_strerror(file)));
            return {};
        }
        return mono;
    }

    std::vector<float> resample(const std::vector<float>& input, int fromRate, QString* problem)
    {
        if (fromRate == SubjectSampleRate)
            return input;
        SRC_DATA data {};
        data.src_ratio = double(SubjectSampleRate) / fromRate;
        std::vector<float> output(size_t(std::ceil(double(input.size()) * data.src_ratio)) + 16);
        data.data_in = input.data();
        data.input_frames = long(input.size());
        data.data_out = output.data();
        data.output_frames = long(output.size());
        // Medium quality: the best converter takes 2.7 times as long (1.17 s against 0.43 s for a minute at 44.1 kHz
        // here) for a difference no learner hears in speech at this rate.
        if (const int error = src_simple(&data, SRC_SINC_MEDIUM_QUALITY, 1); error != 0) {
            *problem
                = QStringLiteral("a sound that cannot be resampled: %1").arg(QString::fromUtf8(src_strerror(error)));
            return {};
        }
        output.resize(size_t(data.output_frames_gen));
        return output;
    }

    // Decoders and the resampler's ringing may go past full scale; the whole sound is turned down instead of its
    // peaks being cut off, which would crackle. Otherwise the scale is libsndfile's own (1.0 is 32768), so a 16-bit
    // sound at the subjects' rate comes back with the very samples it had.
    QByteArray toPcm16(const std::vector<float>& samples)
    {
        float peak = 0;
        for (float s : samples)
            peak = std::max(peak, std::fabs(s));
        const float gain = peak > 1.0f ? 32767.0f / peak : 32768.0f;
        QByteArray pcm(qsizetype(samples.size()) * 2, Qt::Uninitialized);
        auto* out = reinterpret_cast<qint16*>(pcm.data());
        for (size_t i = 0; i < samples.size(); ++i)
            out[i] = static_cast<qint16>(std::clamp(std::lrint(samples[i] * gain), -32768L, 32767L));
        return pcm;
    }

}

QByteArray decodeToWave(const QByteArray& encoded, QString* problem)
{
    problem->clear();
    if (encoded.isEmpty()) {
        *problem = QStringLiteral("an empty file");
        return {};
    }
    SF_VIRTUAL_IO io { memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell };
    MemoryFile memory { encoded };
    SF_INFO info {};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &memory);
    if (!file) {
        *problem = QStringLiteral("not a sound libsndfile can read (%1)").arg(QString::fromUtf8(sf_strerror(nullptr)));
        return {};
    }
    std::vector<float> mono;
    if (info.channels > 0 && info.samplerate > 0)
        mono = readMono(file, info, problem);
    sf_close(file);
    if (!problem->isEmpty())
        return {};
    if (mono.empty()) {
        *problem = QStringLiteral("a sound file that holds no sound");
        return {};
    }
    const std::vector<float> resampled = resample(mono, info.samplerate, problem);
    if (!problem->isEmpty())
        return {};
    if (qint64(resampled.size()) > MaxOutputFrames) {
        *problem = tooLong(double(resampled.size()) / SubjectSampleRate);
        return {};
    }
    return platform::makeWave(toPcm16(resampled), SubjectSampleRate);
}

}
