#pragma once

#include <memory>

#include <QList>

#include "games/common/gamewindow.h"
#include "games/listenandchoose/choosequiz.h"

class QLabel;
class QPushButton;

namespace games {

class ChooseWindow : public GameWindow
{
    Q_OBJECT
public:
    explicit ChooseWindow(const GameContext& context, QWidget* parent = nullptr);

    const ChooseQuiz& quiz() const { return *m_quiz; }
    QString shownPhrase() const;

protected:
    void startRound() override;
    bool playKey(QKeyEvent* event) override;

private:
    void showQuestion();
    void choose(int option);
    void next();
    bool listen();
    void paintOptions();

    std::unique_ptr<ChooseQuiz> m_quiz;
    QLabel* m_progress = nullptr;
    QLabel* m_score = nullptr;
    QLabel* m_prompt = nullptr;
    QLabel* m_phrase = nullptr;
    QLabel* m_feedback = nullptr;
    QPushButton* m_listen = nullptr;
    QList<QPushButton*> m_options;
    QPushButton* m_next = nullptr;
};

}
