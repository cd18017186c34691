#include "speakwindow.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "games/common/gamestyle.h"
#include "games/common/gametexts.h"
#include "games/common/phrasesound.h"
#include "games/speak/pitchcurves.h"
#include "games/speak/speaktexts.h"
#include "games/speak/speechaudio.h"
#include "games/speak/speechfeatures.h"
#include "platform/exchangefile.h"
#include "platform/services.h"
#include "platform/wholefile.h"

namespace games {

using namespace speak;

namespace {
    // Space held longer than this is a "hold to talk": letting it go ends the recording. A shorter press is a tap,
    // and the recording ends by itself.
    constexpr qint64 HoldMs = 400;
}

SpeakWindow::SpeakWindow(const GameContext& context, QWidget* parent)
    : CardWindow(context, { 12, QMargins(36, 16, 36, 18), 8 }, parent)
{
    m_phrase = new QLabel;
    setRole(m_phrase, "phrase");
    m_phrase->setTextFormat(Qt::RichText); // the phrase is escaped; only the marked word is markup
    m_translation = new QLabel;
    setRole(m_translation, "translation");
    m_score = new QLabel;
    m_advice = new QLabel;
    setRole(m_advice, "secondary");
    for (QLabel* label : { m_phrase, m_translation, m_score, m_advice }) {
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
    }
    m_translation->setTextFormat(Qt::PlainText);
    m_curves = new PitchCurves;
    m_curves->setLegend(say(Model), say(You));

    card()->addWidget(m_phrase);
    card()->addWidget(listenButton(QStringLiteral("R")), 0, Qt::AlignHCenter);
    card()->addWidget(m_translation);
    card()->addWidget(m_score);
    card()->addWidget(m_curves, 1);
    card()->addWidget(m_advice);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(20);
    m_record = actionButton();
    setKind(m_record, "good");
    m_hearMe = actionButton(buttonText(say(HearMe), QStringLiteral("M")));
    setKind(m_hearMe, "secondary");
    m_next = actionButton();
    connect(m_record, &QPushButton::clicked, this, &SpeakWindow::toggleRecording);
    connect(m_hearMe, &QPushButton::clicked, this, &SpeakWindow::hearMe);
    connect(m_next, &QPushButton::clicked, this, &SpeakWindow::next);
    buttons->addStretch(1);
    buttons->addWidget(m_record);
    buttons->addWidget(m_hearMe);
    buttons->addWidget(m_next);
    buttons->addStretch(1);
    column()->addLayout(buttons);
    startRound();
    // Told at once, before the learner tries to speak: a game that cannot listen has nothing to offer.
    QTimer::singleShot(0, this, [this] {
        if (!makeSpeechCapture()->present())
            giveUp(SpeechCapture::Failure::NoMicrophone);
    });
}

SpeakWindow::~SpeakWindow()
{
    if (m_capture)
        m_capture->stop();
    QFile::remove(recordingFile());
}

QString SpeakWindow::recordingFile() const { return platform::exchange::recordingFileOf(context().exchangePath); }

void SpeakWindow::startRound()
{
    if (m_capture) {
        m_capture->stop();
        m_capture.reset();
    }
    m_round = std::make_unique<SpeakRound>(int(phrases().size()));
    m_models.assign(size_t(phrases().size()), std::nullopt);
    m_modelRead.assign(size_t(phrases().size()), false);
    m_modelMs.assign(size_t(phrases().size()), 0);
    showPhrase();
}

int SpeakWindow::currentPhrase() const { return m_round->finished() ? -1 : m_round->current(); }

const SpeechFeatures* SpeakWindow::model(int phrase)
{
    if (!m_modelRead[size_t(phrase)]) {
        m_modelRead[size_t(phrase)] = true;
        const SpeechAudio audio = readSpeechAudio(phrases().at(phrase).soundFile);
        if (audio.ok()) {
            m_models[size_t(phrase)] = speechFeatures(audio.samples);
            m_modelMs[size_t(phrase)] = audio.durationMs();
        }
    }
    return m_models[size_t(phrase)] ? &*m_models[size_t(phrase)] : nullptr;
}

void SpeakWindow::showPhrase()
{
    const int i = m_round->current();
    const Phrase& p = phrases().at(i);
    setProgress(say(texts::PhraseOf).arg(i + 1).arg(m_round->phrases()));
    setTally(QString());
    m_phrase->setText(p.tPhrase.toHtmlEscaped());
    m_translation->setText(translationOf(p));
    m_score->clear();
    m_curves->clear();
    m_last = {};
    m_hasRecording = false;
    QFile::remove(recordingFile());
    const SpeechFeatures* reference = model(i);
    m_advice->setText(reference && reference->spoken() ? QString() : say(NoModel));
    askPhrase(i);
    showControls();
    listen();
}

void SpeakWindow::showControls()
{
    const bool last = m_round->current() + 1 >= m_round->phrases();
    const SpeechFeatures* reference = m_round->finished() ? nullptr : model(m_round->current());
    const bool comparable = reference && reference->spoken();
    m_record->setText(buttonText(say(recording() ? Stop : Record), say(texts::KeySpace)));
    m_record->setEnabled(recording() || (comparable && m_round->canTry()));
    m_hearMe->setEnabled(!recording() && m_hasRecording);
    m_next->setText(nextText(last));
    m_next->setEnabled(!recording());
}

void SpeakWindow::toggleRecording()
{
    if (recording())
        finishRecording();
    else
        startRecording();
}

void SpeakWindow::startRecording()
{
    if (m_round->finished() || !m_round->canTry() || !model(m_round->current()) || !model(m_round->current())->spoken())
        return;
    PhraseSound::stop();
    m_capture = makeSpeechCapture();
    connect(m_capture.get(), &SpeechCapture::chunk, this, &SpeakWindow::takeChunk);
    connect(m_capture.get(), &SpeechCapture::ended, this, &SpeakWindow::finishRecording);
    const SpeechCapture::Failure failure = m_capture->start();
    if (failure != SpeechCapture::Failure::None) {
        m_capture.reset();
        giveUp(failure);
        return;
    }
    m_recordedRate = m_capture->sampleRate();
    m_stop = std::make_unique<RecordingStop>(m_modelMs[size_t(m_round->current())], m_recordedRate);
    m_recorded.clear();
    m_score->setText(say(Listening));
    setRole(m_score, "secondary");
    showControls();
}

void SpeakWindow::takeChunk(const std::vector<float>& samples)
{
    if (!m_capture)
        return;
    m_recorded.insert(m_recorded.end(), samples.begin(), samples.end());
    if (m_stop->feed(samples.data(), qsizetype(samples.size())))
        finishRecording();
}

void SpeakWindow::finishRecording()
{
    if (!m_capture)
        return;
    m_capture->stop();
    // Not deleted here: this may run inside the capture's own signal.
    m_capture.release()->deleteLater();
    Q_EMIT recordingEnded();
    const int phrase = m_round->current();
    const SpeechAudio said = speechAudio(m_recorded, m_recordedRate);
    m_hasRecording
        = said.ok() && !said.samples.empty() && platform::writeWholeFile(recordingFile(), speechWave(said.samples));
    const SpeechComparison comparison
        = said.ok() ? compareSpeech(*model(phrase), speechFeatures(said.samples)) : SpeechComparison {};
    m_round->addTry(comparison.score);
    if (m_round->triesMade() == 1)
        answerPhrase(phrase);
    showTry(comparison);
    showControls();
}

void SpeakWindow::showTry(const SpeechComparison& comparison)
{
    m_last = comparison;
    const int phrase = m_round->current();
    const Phrase& p = phrases().at(phrase);
    const QString attempt = say(TryOf).arg(m_round->triesMade()).arg(SpeakRound::Tries) + QStringLiteral(": ");
    setTally(say(BestSoFar).arg(m_round->best(phrase)));
    if (comparison.verdict != SpeechVerdict::Compared) {
        m_score->setText(attempt + say(NothingHeard));
        setRole(m_score, "secondary");
        m_curves->clear();
        m_advice->clear();
        m_phrase->setText(p.tPhrase.toHtmlEscaped());
        return;
    }
    const bool well = comparison.score >= SpeakRound::WellSaid;
    m_score->setText(
        attempt + say(Score).arg(comparison.score) + (well ? QStringLiteral("  ") + say(WellSaid) : QString()));
    setRole(m_score, well ? "good" : "bad");
    m_curves->showComparison(comparison);
    const int word = well ? -1 : markedWord(p.tPhrase, comparison, *model(phrase));
    if (word < 0) {
        m_phrase->setText(p.tPhrase.toHtmlEscaped());
        m_advice->clear();
        return;
    }
    const PhraseWord w = phraseWords(p.tPhrase).at(word);
    m_phrase->setText(p.tPhrase.left(w.from).toHtmlEscaped()
        + QStringLiteral("<span style=\"background-color:#ffe08a;\">") + p.tPhrase.mid(w.from, w.length).toHtmlEscaped()
        + QStringLiteral("</span>") + p.tPhrase.mid(w.from + w.length).toHtmlEscaped());
    m_advice->setText(say(Practise).arg(p.tPhrase.mid(w.from, w.length)));
}

void SpeakWindow::hearMe()
{
    if (m_hasRecording && !recording())
        PhraseSound::play(recordingFile(), context().soundOutput);
}

void SpeakWindow::next()
{
    if (recording() || m_round->finished())
        return;
    m_round->next();
    if (!m_round->finished()) {
        showPhrase();
        return;
    }
    RoundScore score;
    const int mean = m_round->meanScore();
    score.headline = say(Score).arg(mean);
    score.detail = say(Detail);
    score.perfect = mean >= SpeakRound::WellSaid;
    score.textScore = score.headline;
    score.numberScore = mean;
    for (int i = 0; i < m_round->phrases(); ++i)
        score.ratings << m_round->rating(i);
    finishRound(score);
}

void SpeakWindow::giveUp(SpeechCapture::Failure failure)
{
    platform::services().dialogs->message(
        say(failure == SpeechCapture::Failure::Refused ? MicrophoneRefused : NoMicrophone) + QStringLiteral("\n\n")
            + say(texts::ClosesNow),
        say(Name), platform::Icon::Warning);
    close();
}

bool SpeakWindow::playKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) {
            m_spaceHeld.start();
            toggleRecording();
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        next();
        return true;
    case Qt::Key_R:
        if (!recording())
            listen();
        return true;
    case Qt::Key_M:
        hearMe();
        return true;
    default:
        return false;
    }
}

void SpeakWindow::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && recording() && m_spaceHeld.isValid()
        && m_spaceHeld.elapsed() >= HoldMs)
        finishRecording();
    CardWindow::keyReleaseEvent(event);
}

}
