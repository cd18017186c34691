#pragma once

#include <memory>

#include <QList>

#include "games/common/cardwindow.h"
#include "games/listenandchoose/choosequiz.h"

class QLabel;
class QPushButton;

namespace games {

class ChooseWindow : public CardWindow
{
    Q_OBJECT
public:
    explicit ChooseWindow(const GameContext& context, QWidget* parent = nullptr);

    const ChooseQuiz& quiz() const { return *m_quiz; }
    QString shownPhrase() const;

protected:
    void startRound() override;
    bool playKey(QKeyEvent* event) override;
    int currentPhrase() const override;

private:
    void showQuestion();
    void choose(int option);
    void next();
    void paintOptions();

    std::unique_ptr<ChooseQuiz> m_quiz;
    QLabel* m_prompt = nullptr;
    QLabel* m_phrase = nullptr;
    QLabel* m_feedback = nullptr;
    QList<QPushButton*> m_options;
    QPushButton* m_next = nullptr;
};

}
