#pragma once

#include <optional>

#include <QFutureWatcher>
#include <QWidget>

#include "games/common/gamestart.h"
#include "games/common/phrasesound.h"
#include "games/common/rating.h"
#include "games/common/scorewriter.h"

class QLabel;
class QPushButton;
class QStackedWidget;

namespace games {

// What a finished round shows and stores.
struct RoundScore
{
    QString headline; // the big text of the result screen, e.g. "7 / 10"
    QString detail; // one line under it saying what the number counts
    bool perfect = false;
    std::optional<QString> textScore;
    std::optional<double> numberScore;
    // One per phrase of the exchange file, in its order; NotRated for a phrase the round did not put to the learner.
    QVector<Rating> ratings;
};

// The size a game window takes on a screen with the given free room: at least what a 1024 x 768 screen leaves
// beside a task bar and a title bar, more on a larger screen, never more than the screen.
QSize gameWindowSize(const QSize& available);

// The frame every game shares: a header with the activity, subject and student, the game's own page, the result
// screen with "play again", and a footer with the keys. A game supplies its page and its rounds.
class GameWindow : public QWidget
{
    Q_OBJECT
public:
    explicit GameWindow(const GameContext& context, QWidget* parent = nullptr);
    // How long after the result screen appears Enter and Space are still taken for the end of the round.
    static constexpr qint64 ResultKeyPauseMs = 500;
    // A row still being stored is waited for: it is never dropped with the window.
    ~GameWindow() override;

    const GameContext& context() const { return m_context; }
    Language language() const { return m_context.language; }
    QString say(const Text& text) const { return games::say(m_context.language, text); }
    const QList<Phrase>& phrases() const { return m_context.exchange.phrases; }

    bool showingResult() const;
    QString resultHeadline() const;
    const SaveResult& lastSave() const { return m_lastSave; }
    // Whether the finished round's row is being stored now; the window keeps painting meanwhile.
    bool saving() const { return m_savePending; }
    // Whether the learner can hear the phrase's sound now; a game reads the phrase out as text where not.
    Hearing hearing(const Phrase& phrase) const;
    bool soundNoticeGiven() const { return m_soundNoticeGiven; }

    // Starts a new round with the same phrases, fresh order.
    void playAgain();
    // Tries again to store the finished round's row after a failure; nothing when it is stored already.
    void saveAgain();
    bool canSaveAgain() const;

protected:
    void setPlayPage(QWidget* page);
    virtual void startRound() = 0;
    // A key pressed while the game's page shows; true when the game used it.
    virtual bool playKey(QKeyEvent* event) = 0;
    // Shows the result screen and stores the round's score row with a row per rated phrase.
    void finishRound(const RoundScore& score);
    // The phrase is put to the learner now: the first time in a round its answer time starts.
    void askPhrase(int phrase);
    // The learner answers the phrase now: the first answer in a round gives its moment and, when it was asked, its
    // answer time.
    void answerPhrase(int phrase);
    // From asking the phrase to its first answer; none when not both happened in this round.
    std::optional<qint64> answerTime(int phrase) const;

    // Plays the phrase's sound; false when it cannot be heard, and the first time in a run the learner is told why.
    bool playPhraseSound(const Phrase& phrase);
    // "Enter", "1"... for the key names shown in the footer and on buttons.
    QString keyName(const Text& key) const { return say(key); }
    QString buttonText(const QString& label, const QString& key) const;

    void keyPressEvent(QKeyEvent* event) override;
    // Closing while the row is being stored waits for it, then closes when it is stored.
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildFooter();
    QWidget* buildResultPage();
    void saveScore();
    void saveFinished();
    // One message a run of the main program, however many sounds and activities fail, given once the window is up.
    void tellSoundMissing(Hearing why, const Phrase& phrase);

    GameContext m_context;
    ScoreWriter m_writer;
    QStackedWidget* m_stack = nullptr;
    QWidget* m_resultPage = nullptr;
    QLabel* m_resultTitle = nullptr;
    QLabel* m_resultScore = nullptr;
    QLabel* m_resultDetail = nullptr;
    QLabel* m_saveNote = nullptr;
    QPushButton* m_playAgain = nullptr;
    QPushButton* m_saveAgain = nullptr;
    QPushButton* m_close = nullptr;
    QLabel* m_keys = nullptr;
    struct Answer
    {
        qint64 askedAt = -1; // on the monotonic clock
        QDateTime moment; // of the first answer
        std::optional<qint64> ms;
    };
    // The round's answers, one per phrase.
    QVector<Answer> m_answers;
    RoundScore m_score;
    qint64 m_resultShownAt = 0; // on the monotonic clock
    bool m_roundOpen = false; // a finished round whose row is not stored yet
    SaveResult m_lastSave;
    QFutureWatcher<SaveResult> m_saving;
    bool m_savePending = false; // from the start of a save until its result is shown
    bool m_closeWhenSaved = false;
    bool m_soundNoticeGiven = false;
};

}
