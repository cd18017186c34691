#include "speechcapture.h"

#include <algorithm>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QFileInfo>
#include <QMediaDevices>
#include <QTimer>

#include "speechaudio.h"

namespace games {

MicrophoneCapture::MicrophoneCapture(QObject* parent)
    : SpeechCapture(parent)
{
}

MicrophoneCapture::~MicrophoneCapture() { stop(); }

bool MicrophoneCapture::present() const { return !QMediaDevices::defaultAudioInput().isNull(); }

SpeechCapture::Failure MicrophoneCapture::start()
{
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull())
        return Failure::NoMicrophone;
    // The analysis rate if the device takes it; else the device's own, which the analysis resamples.
    QAudioFormat format;
    format.setSampleRate(kSpeechRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Float);
    if (!device.isFormatSupported(format))
        format = device.preferredFormat();
    if (!format.isValid())
        return Failure::NoMicrophone;
    m_source = new QAudioSource(device, format, this);
    m_input = m_source->start();
    if (!m_input || m_source->error() != QAudio::NoError) {
        stop();
        return Failure::Refused;
    }
    connect(m_input, &QIODevice::readyRead, this, &MicrophoneCapture::read);
    return Failure::None;
}

void MicrophoneCapture::stop()
{
    if (!m_source)
        return;
    m_source->stop();
    delete m_source;
    m_source = nullptr;
    m_input = nullptr;
}

int MicrophoneCapture::sampleRate() const { return m_source ? m_source->format().sampleRate() : kSpeechRate; }

void MicrophoneCapture::read()
{
    const QAudioFormat format = m_source->format();
    const QByteArray bytes = m_input->readAll();
    const int frameBytes = format.bytesPerFrame();
    const int sampleBytes = format.bytesPerSample();
    if (frameBytes <= 0)
        return;
    // The channels are averaged into one, as the learner speaks into all of them alike.
    std::vector<float> samples(size_t(bytes.size() / frameBytes));
    for (size_t frame = 0; frame < samples.size(); ++frame) {
        const char* at = bytes.constData() + frame * size_t(frameBytes);
        float sum = 0;
        for (int channel = 0; channel < format.channelCount(); ++channel)
            sum += format.normalizedSampleValue(at + channel * sampleBytes);
        samples[frame] = sum / float(format.channelCount());
    }
    Q_EMIT chunk(samples);
}

FileCapture::FileCapture(const QString& path, QObject* parent)
    : SpeechCapture(parent)
    , m_path(path)
{
}

bool FileCapture::present() const { return QFileInfo(m_path).isFile(); }

SpeechCapture::Failure FileCapture::start()
{
    SpeechAudio audio = readSpeechAudio(m_path);
    if (!audio.ok())
        return Failure::NoMicrophone;
    m_samples = std::move(audio.samples);
    m_running = true;
    // After start() returns, as a microphone's first samples come.
    QTimer::singleShot(0, this, &FileCapture::play);
    return Failure::None;
}

void FileCapture::stop() { m_running = false; }

int FileCapture::sampleRate() const { return kSpeechRate; }

void FileCapture::play()
{
    // A tenth of a second a chunk, as a microphone hands them, until the file ends or the listener stops it.
    const size_t step = kSpeechRate / 10;
    for (size_t at = 0; at < m_samples.size() && m_running; at += step) {
        const auto end = m_samples.begin() + qsizetype(std::min(m_samples.size(), at + step));
        Q_EMIT chunk(std::vector<float>(m_samples.begin() + qsizetype(at), end));
    }
    if (m_running) {
        m_running = false;
        Q_EMIT ended();
    }
}

std::unique_ptr<SpeechCapture> makeSpeechCapture()
{
    const QString file = qEnvironmentVariable(SpeakCaptureVariable);
    if (!file.isEmpty())
        return std::make_unique<FileCapture>(file);
    return std::make_unique<MicrophoneCapture>();
}

}
