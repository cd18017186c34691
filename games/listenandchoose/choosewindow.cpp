#include "choosewindow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

#include "games/common/gamestyle.h"
#include "games/common/gametexts.h"
#include "games/listenandchoose/choosetexts.h"

namespace games {

using namespace choose;

ChooseWindow::ChooseWindow(const GameContext& context, QWidget* parent)
    : CardWindow(context, { 12, QMargins(28, 14, 28, 14), 6, QBoxLayout::TopToBottom, false }, parent)
{
    auto* top = new QHBoxLayout;
    m_prompt = new QLabel(say(Prompt));
    setRole(m_prompt, "secondary");
    m_prompt->setWordWrap(true);
    top->addWidget(m_prompt, 1);
    top->addWidget(listenButton(say(texts::KeySpace)), 0, Qt::AlignVCenter);
    m_phrase = new QLabel;
    setRole(m_phrase, "reading");
    m_phrase->setWordWrap(true);
    m_phrase->setTextFormat(Qt::PlainText); // a phrase as the subject file has it, even one that looks like markup
    // Room for a phrase of two lines whether it shows or not, so that the options do not move when it appears.
    m_phrase->setMinimumHeight(2 * m_phrase->fontMetrics().lineSpacing() + 8);
    card()->addLayout(top);
    card()->addWidget(m_phrase);

    for (int i = 0; i < ChooseQuiz::MaxOptions; ++i) {
        auto* option = new QPushButton;
        setKind(option, "option");
        option->setFocusPolicy(Qt::NoFocus);
        option->setMinimumHeight(52);
        connect(option, &QPushButton::clicked, this, [this, i] { choose(i); });
        m_options << option;
        column()->addWidget(option);
    }
    column()->addStretch(1);

    auto* bottom = new QHBoxLayout;
    m_feedback = new QLabel;
    m_feedback->setMinimumHeight(40);
    m_next = actionButton();
    connect(m_next, &QPushButton::clicked, this, &ChooseWindow::next);
    bottom->addWidget(m_feedback, 1);
    bottom->addWidget(m_next);
    column()->addLayout(bottom);
    startRound();
}

void ChooseWindow::startRound()
{
    m_quiz = std::make_unique<ChooseQuiz>(translationsOf(phrases()), QRandomGenerator::global());
    showQuestion();
}

void ChooseWindow::showQuestion()
{
    setProgress(say(texts::PhraseOf).arg(m_quiz->number()).arg(m_quiz->total()));
    setTally(say(RightSoFar).arg(m_quiz->rightFirst()));
    m_feedback->clear();
    m_next->setVisible(false);
    paintOptions();
    // The phrase's text would make listening needless; it shows once the answer is found, or at once when
    // there is no sound to hear.
    const bool heard = listen();
    m_prompt->setText(say(heard ? Prompt : ReadPrompt));
    m_phrase->setText(heard ? QStringLiteral("?") : phrases().at(m_quiz->question().phrase).tPhrase);
    setRole(m_phrase, heard ? "secondary" : "reading");
    askPhrase(m_quiz->question().phrase);
}

QString ChooseWindow::shownPhrase() const { return m_phrase->text(); }

void ChooseWindow::paintOptions()
{
    const ChoiceQuestion& q = m_quiz->question();
    for (int i = 0; i < m_options.size(); ++i) {
        QPushButton* button = m_options[i];
        button->setVisible(i < q.options.size());
        if (i >= q.options.size())
            continue;
        button->setText(QStringLiteral("%1    %2").arg(i + 1).arg(q.options[i]));
        const bool right = m_quiz->answered() && i == q.answer;
        const bool wrong = m_quiz->missed(i);
        setState(button, right ? "right" : wrong ? "wrong" : "");
        button->setEnabled(!m_quiz->answered() && !wrong);
    }
}

int ChooseWindow::currentPhrase() const { return m_quiz->finished() ? -1 : m_quiz->question().phrase; }

void ChooseWindow::choose(int option)
{
    const ChooseQuiz::Pick result = m_quiz->pick(option);
    if (result == ChooseQuiz::Pick::Ignored)
        return;
    answerPhrase(m_quiz->question().phrase);
    paintOptions();
    if (result == ChooseQuiz::Pick::Wrong) {
        m_feedback->setText(say(TryAgain));
        setRole(m_feedback, "bad");
        return;
    }
    m_feedback->setText(say(m_quiz->firstTryWasRight() ? Right : RightAtLast));
    setRole(m_feedback, "good");
    setTally(say(RightSoFar).arg(m_quiz->rightFirst()));
    m_phrase->setText(phrases().at(m_quiz->question().phrase).tPhrase);
    setRole(m_phrase, "reading");
    const bool last = m_quiz->number() == m_quiz->total();
    m_next->setText(nextText(last));
    m_next->setVisible(true);
}

void ChooseWindow::next()
{
    if (!m_quiz->next())
        return;
    if (!m_quiz->finished()) {
        showQuestion();
        return;
    }
    RoundScore score;
    score.headline = QStringLiteral("%1 / %2").arg(m_quiz->rightFirst()).arg(m_quiz->total());
    score.detail = say(Detail);
    score.perfect = m_quiz->rightFirst() == m_quiz->total();
    score.textScore = score.headline;
    score.numberScore = m_quiz->rightFirst();
    // Right at the first pick within QuickAnswerMs of the question shown: easy; at the first pick: good; after one
    // wrong pick: hard; after more: again.
    for (int i = 0; i < phrases().size(); ++i)
        score.ratings << rateAnswer(m_quiz->wrongPicks(i), answerTime(i));
    finishRound(score);
}

bool ChooseWindow::playKey(QKeyEvent* event)
{
    const int key = event->key();
    if (key >= Qt::Key_1 && key < Qt::Key_1 + ChooseQuiz::MaxOptions) {
        choose(key - Qt::Key_1);
        return true;
    }
    switch (key) {
    case Qt::Key_Space:
        listen();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        next();
        return true;
    default:
        return false;
    }
}

}
