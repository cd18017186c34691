#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QElapsedTimer>

#include "games/common/cardwindow.h"
#include "games/speak/recordingstop.h"
#include "games/speak/speakround.h"
#include "games/speak/speechcapture.h"
#include "games/speak/speechcompare.h"

class QLabel;
class QPushButton;

namespace games {

class PitchCurves;

// Speak: the learner hears a phrase, says it, and sees how close it came: a score, the two melodies and the word
// to practise. The best of three tries counts.
class SpeakWindow : public CardWindow
{
    Q_OBJECT
public:
    explicit SpeakWindow(const GameContext& context, QWidget* parent = nullptr);
    ~SpeakWindow() override;

    const SpeakRound& round() const { return *m_round; }
    bool recording() const { return m_capture != nullptr; }
    const SpeechComparison& lastComparison() const { return m_last; }
    // The learner's last recording, for "hear me": in the exchange folder, deleted with the window.
    QString recordingFile() const;

    // The record button: starts listening, or stops and compares.
    void toggleRecording();
    void next();

Q_SIGNALS:
    // The recording has ended, by the learner or by itself: from here the learner waits for the try's result.
    void recordingEnded();

protected:
    void startRound() override;
    bool playKey(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    int currentPhrase() const override;

private:
    void showPhrase();
    void showControls();
    void startRecording();
    void takeChunk(const std::vector<float>& samples);
    void finishRecording();
    void showTry(const SpeechComparison& comparison);
    void hearMe();
    // The phrase's own sound as the comparison reads it, analysed when it is first needed; none when unreadable.
    const SpeechFeatures* model(int phrase);
    // The microphone cannot be had: the learner is told, and the game closes without a score.
    void giveUp(SpeechCapture::Failure failure);

    std::unique_ptr<SpeakRound> m_round;
    std::unique_ptr<SpeechCapture> m_capture;
    std::unique_ptr<RecordingStop> m_stop;
    std::vector<float> m_recorded;
    int m_recordedRate = 0;
    std::vector<std::optional<SpeechFeatures>> m_models;
    std::vector<bool> m_modelRead;
    std::vector<qint64> m_modelMs; // the length of each phrase's sound, which bounds a recording
    SpeechComparison m_last;
    QElapsedTimer m_spaceHeld;
    bool m_hasRecording = false;

    QLabel* m_phrase = nullptr;
    QLabel* m_translation = nullptr;
    QLabel* m_score = nullptr;
    QLabel* m_advice = nullptr;
    PitchCurves* m_curves = nullptr;
    QPushButton* m_record = nullptr;
    QPushButton* m_hearMe = nullptr;
    QPushButton* m_next = nullptr;
};

}
