#include "flashcardswindow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

#include "games/common/gamestyle.h"
#include "games/common/gametexts.h"
#include "games/flashcards/flashcardstexts.h"

namespace games {

using namespace flashcards;

FlashcardsWindow::FlashcardsWindow(const GameContext& context, QWidget* parent)
    : CardWindow(context, { 16, QMargins(40, 20, 40, 28), 10 }, parent)
{
    m_again = new QLabel(say(Again));
    setRole(m_again, "caption");
    m_again->setAlignment(Qt::AlignCenter);
    m_phrase = new QLabel;
    setRole(m_phrase, "phrase");
    auto* line = new QFrame;
    line->setFixedHeight(2);
    line->setStyleSheet(QStringLiteral("background: #e3e7ee;"));
    m_translation = new QLabel;
    setRole(m_translation, "translation");
    for (QLabel* label : { m_phrase, m_translation }) {
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText); // a phrase as the subject file has it, even one that looks like markup
    }
    card()->addWidget(m_again);
    card()->addStretch(1);
    card()->addWidget(m_phrase);
    card()->addSpacing(6);
    card()->addWidget(listenButton(QStringLiteral("R")), 0, Qt::AlignHCenter);
    card()->addStretch(1);
    card()->addWidget(line);
    card()->addStretch(1);
    card()->addWidget(m_translation);
    card()->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(20);
    m_reveal = actionButton(buttonText(say(ShowTranslation), say(texts::KeySpace)));
    m_knew = actionButton(buttonText(say(KnewIt), QStringLiteral("1")));
    setKind(m_knew, "good");
    m_notYet = actionButton(buttonText(say(NotYet), QStringLiteral("2")));
    setKind(m_notYet, "bad");
    connect(m_reveal, &QPushButton::clicked, this, &FlashcardsWindow::reveal);
    connect(m_knew, &QPushButton::clicked, this, [this] { mark(true); });
    connect(m_notYet, &QPushButton::clicked, this, [this] { mark(false); });
    buttons->addStretch(1);
    buttons->addWidget(m_reveal);
    buttons->addWidget(m_knew);
    buttons->addWidget(m_notYet);
    buttons->addStretch(1);
    column()->addLayout(buttons);
    startRound();
}

void FlashcardsWindow::startRound()
{
    m_deck = std::make_unique<FlashcardDeck>(static_cast<int>(phrases().size()), QRandomGenerator::global());
    showCard();
}

void FlashcardsWindow::showCard()
{
    const FlashcardDeck& d = *m_deck;
    setProgress(say(KnownOf).arg(d.known()).arg(d.total()));
    setTally(say(CardsLeft).arg(d.cardsLeft()));
    const Phrase& p = phrases().at(d.current());
    m_again->setText(d.currentIsRepeat() ? say(Again) : QString());
    m_phrase->setText(p.tPhrase);
    m_translation->setText(d.revealed() ? translationOf(p) : say(Hidden));
    setRole(m_translation, d.revealed() ? "translation" : "hidden");
    m_reveal->setVisible(!d.revealed());
    m_knew->setVisible(d.revealed());
    m_notYet->setVisible(d.revealed());
    askPhrase(d.current());
    if (!d.revealed())
        listen();
}

int FlashcardsWindow::currentPhrase() const { return m_deck->finished() ? -1 : m_deck->current(); }

void FlashcardsWindow::reveal()
{
    if (m_deck->finished() || m_deck->revealed())
        return;
    m_deck->reveal();
    showCard();
}

void FlashcardsWindow::mark(bool known)
{
    const int card = m_deck->current();
    if (!(known ? m_deck->markKnown() : m_deck->markNotYet()))
        return;
    answerPhrase(card);
    if (!m_deck->finished()) {
        showCard();
        return;
    }
    const int first = m_deck->knownAtFirstSight();
    const int total = m_deck->total();
    RoundScore score;
    score.headline = QStringLiteral("%1 / %2").arg(first).arg(total);
    score.detail = say(Detail);
    score.perfect = first == total;
    score.textScore = score.headline;
    score.numberScore = first;
    // "Knew it" the first time within QuickAnswerMs of the card shown: easy; the first time: good; after one "not
    // yet": hard; after more: again.
    for (int i = 0; i < total; ++i)
        score.ratings << rateAnswer(m_deck->notYets(i), answerTime(i));
    finishRound(score);
}

bool FlashcardsWindow::playKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        reveal();
        return true;
    case Qt::Key_1:
        mark(true);
        return true;
    case Qt::Key_2:
        mark(false);
        return true;
    case Qt::Key_R:
        listen();
        return true;
    default:
        return false;
    }
}

}
