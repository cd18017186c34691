#pragma once

#include <memory>

#include "games/common/cardwindow.h"
#include "games/dictation/dictationcheck.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace games {

class DictationWindow : public CardWindow
{
    Q_OBJECT
public:
    explicit DictationWindow(const GameContext& context, QWidget* parent = nullptr);

    const DictationRound& round() const { return *m_round; }
    QLineEdit* answerBox() const { return m_answer; }
    // One button for each letter of the language taught that a keyboard may lack.
    const QList<QPushButton*>& letterButtons() const { return m_letters; }
    // The phrase to type when its sound cannot be heard; empty while it is heard.
    QString shownPhrase() const;

protected:
    void startRound() override;
    bool playKey(QKeyEvent* event) override;
    int currentPhrase() const override;

private:
    void showPhrase();
    void checkOrNext();
    void typeLetter(const QString& letter);

    std::unique_ptr<DictationRound> m_round;
    QLabel* m_means = nullptr;
    QLabel* m_read = nullptr;
    QLineEdit* m_answer = nullptr;
    QList<QPushButton*> m_letters;
    QPushButton* m_action = nullptr;
    QWidget* m_feedback = nullptr;
    QLabel* m_verdict = nullptr;
    QLabel* m_correct = nullptr;
    QLabel* m_wrote = nullptr;
};

}
