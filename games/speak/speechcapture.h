#pragma once

// Where the learner's voice comes from: the computer's microphone, or for trials and tests a sound file said as
// if into it (the test hook PARLANTA_SPEAK_CAPTURE names the file).

#include <memory>
#include <vector>

#include <QObject>
#include <QString>

class QAudioSource;
class QIODevice;

namespace games {

inline constexpr char SpeakCaptureVariable[] = "PARLANTA_SPEAK_CAPTURE";

class SpeechCapture : public QObject
{
    Q_OBJECT
public:
    enum class Failure { None, NoMicrophone, Refused };
    using QObject::QObject;

    // Whether there is anything to record from, asked without opening it.
    virtual bool present() const = 0;
    // Starts recording: chunks then follow, mono, -1..1, at sampleRate(). Anything but None: nothing was started.
    virtual Failure start() = 0;
    virtual void stop() = 0;
    virtual int sampleRate() const = 0;

Q_SIGNALS:
    void chunk(const std::vector<float>& samples);
    // The source has no more sound to give (a file at its end; a microphone never ends by itself).
    void ended();
};

class MicrophoneCapture : public SpeechCapture
{
    Q_OBJECT
public:
    explicit MicrophoneCapture(QObject* parent = nullptr);
    ~MicrophoneCapture() override;
    bool present() const override;
    Failure start() override;
    void stop() override;
    int sampleRate() const override;

private:
    void read();

    QAudioSource* m_source = nullptr;
    QIODevice* m_input = nullptr;
};

class FileCapture : public SpeechCapture
{
    Q_OBJECT
public:
    FileCapture(const QString& path, QObject* parent = nullptr);
    // A file that cannot be read is a microphone that is not there.
    bool present() const override;
    Failure start() override;
    void stop() override;
    int sampleRate() const override;

private:
    void play();

    QString m_path;
    std::vector<float> m_samples;
    bool m_running = false;
};

// The file capture when the test hook names a file, else the microphone.
std::unique_ptr<SpeechCapture> makeSpeechCapture();

}
