#pragma once

#include <memory>

#include "games/common/gamewindow.h"
#include "games/dictation/dictationcheck.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace games {

class DictationWindow : public GameWindow
{
    Q_OBJECT
public:
    explicit DictationWindow(const GameContext& context, QWidget* parent = nullptr);

    const DictationRound& round() const { return *m_round; }
    QLineEdit* answerBox() const { return m_answer; }

protected:
    void startRound() override;
    bool playKey(QKeyEvent* event) override;

private:
    void showPhrase();
    void checkOrNext();
    void listen();

    std::unique_ptr<DictationRound> m_round;
    QLabel* m_progress = nullptr;
    QLabel* m_score = nullptr;
    QLabel* m_means = nullptr;
    QLineEdit* m_answer = nullptr;
    QPushButton* m_listen = nullptr;
    QPushButton* m_action = nullptr;
    QWidget* m_feedback = nullptr;
    QLabel* m_verdict = nullptr;
    QLabel* m_correct = nullptr;
    QLabel* m_wrote = nullptr;
};

}
