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
    : GameWindow(context, parent)
{
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(60, 22, 60, 26);
    column->setSpacing(16);

    addProgressRow(column, &m_progress, &m_left);

    auto* card = new QFrame;
    setRole(card, "card");
    auto* inside = new QVBoxLayout(card);
    inside->setContentsMargins(40, 20, 40, 28);
    inside->setSpacing(10);
    m_again = new QLabel(say(Again));
    setRole(m_again, "caption");
    m_again->setAlignment(Qt::AlignCenter);
    m_phrase = new QLabel;
    setRole(m_phrase, "phrase");
    m_listen = new QPushButton(buttonText(say(texts::ListenAgain), QStringLiteral("R")));
    setKind(m_listen, "secondary");
    m_listen->setFocusPolicy(Qt::NoFocus);
    connect(m_listen, &QPushButton::clicked, this, &FlashcardsWindow::listen);
    auto* line = new QFrame;
    line->setFixedHeight(2);
    line->setStyleSheet(QStringLiteral("background: #e3e7ee;"));
    m_translation = new QLabel;
    setRole(m_translation, "translation");
    m_translation2 = new QLabel;
    setRole(m_translation2, "secondary");
    for (QLabel* label : { m_phrase, m_translation, m_translation2 }) {
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
    }
    // Turning the card over must not move the phrase: the second translation's line is kept when empty.
    QSizePolicy keep = m_translation2->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_translation2->setSizePolicy(keep);
    inside->addWidget(m_again);
    inside->addStretch(1);
    inside->addWidget(m_phrase);
    inside->addSpacing(6);
    inside->addWidget(m_listen, 0, Qt::AlignHCenter);
    inside->addStretch(1);
    inside->addWidget(line);
    inside->addStretch(1);
    inside->addWidget(m_translation);
    inside->addWidget(m_translation2);
    inside->addStretch(1);
    column->addWidget(card, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(20);
    m_reveal = new QPushButton(buttonText(say(ShowTranslation), say(texts::KeySpace)));
    m_knew = new QPushButton(buttonText(say(KnewIt), QStringLiteral("1")));
    setKind(m_knew, "good");
    m_notYet = new QPushButton(buttonText(say(NotYet), QStringLiteral("2")));
    setKind(m_notYet, "bad");
    for (QPushButton* b : { m_reveal, m_knew, m_notYet }) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumWidth(240);
    }
    connect(m_reveal, &QPushButton::clicked, this, &FlashcardsWindow::reveal);
    connect(m_knew, &QPushButton::clicked, this, [this] { mark(true); });
    connect(m_notYet, &QPushButton::clicked, this, [this] { mark(false); });
    buttons->addStretch(1);
    buttons->addWidget(m_reveal);
    buttons->addWidget(m_knew);
    buttons->addWidget(m_notYet);
    buttons->addStretch(1);
    column->addLayout(buttons);

    setPlayPage(page);
    setKeys(say(Keys));
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
    m_progress->setText(say(KnownOf).arg(d.known()).arg(d.total()));
    m_left->setText(say(CardsLeft).arg(d.cardsLeft()));
    const Phrase& p = phrases().at(d.current());
    m_again->setText(d.currentIsRepeat() ? say(Again) : QString());
    m_phrase->setText(p.text);
    m_translation->setText(d.revealed() ? p.translation : say(Hidden));
    setRole(m_translation, d.revealed() ? "translation" : "hidden");
    m_translation2->setText(d.revealed() ? p.translation2 : QString());
    m_translation2->setVisible(d.revealed() && !p.translation2.trimmed().isEmpty());
    m_reveal->setVisible(!d.revealed());
    m_knew->setVisible(d.revealed());
    m_notYet->setVisible(d.revealed());
    if (!d.revealed())
        listen();
}

void FlashcardsWindow::listen()
{
    if (!m_deck->finished())
        playPhraseSound(phrases().at(m_deck->current()));
}

void FlashcardsWindow::reveal()
{
    if (m_deck->finished() || m_deck->revealed())
        return;
    m_deck->reveal();
    showCard();
}

void FlashcardsWindow::mark(bool known)
{
    if (!(known ? m_deck->markKnown() : m_deck->markNotYet()))
        return;
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
