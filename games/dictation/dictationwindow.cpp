#include "dictationwindow.h"

#include <algorithm>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

#include "games/common/gamestyle.h"
#include "games/common/gametexts.h"
#include "games/dictation/dictationtexts.h"

namespace games {

using namespace dictation;

DictationWindow::DictationWindow(const GameContext& context, QWidget* parent)
    : CardWindow(context, { 14, QMargins(36, 22, 36, 22), 12 }, parent)
{
    m_means = new QLabel;
    setRole(m_means, "secondary");
    m_means->setWordWrap(true);
    // A phrase and its translation as the subject file has them, even ones that look like markup.
    m_means->setTextFormat(Qt::PlainText);
    auto* listenRow = new QHBoxLayout;
    listenRow->addWidget(listenButton(QStringLiteral("Ctrl+") + say(texts::KeySpace)));
    listenRow->addSpacing(20);
    listenRow->addWidget(m_means, 1);
    card()->addLayout(listenRow);
    m_read = new QLabel;
    setRole(m_read, "reading");
    m_read->setWordWrap(true);
    m_read->setTextFormat(Qt::PlainText);
    m_read->hide();
    card()->addWidget(m_read);
    m_answer = new QLineEdit;
    card()->addWidget(m_answer);
    auto* letterRow = new QHBoxLayout;
    letterRow->setSpacing(6);
    for (const QString& letter : specialLetters(context.exchange.taughtLanguage)) {
        auto* button = new QPushButton(letter);
        setKind(button, "letter");
        // The answer box keeps the keyboard, so typing goes on after a click.
        button->setFocusPolicy(Qt::NoFocus);
        button->setAccessibleName(say(TypeLetter).arg(letter));
        connect(button, &QPushButton::clicked, this, [this, letter] { typeLetter(letter); });
        letterRow->addWidget(button);
        m_letters << button;
    }
    letterRow->addStretch(1);
    card()->addLayout(letterRow);

    m_feedback = new QWidget;
    auto* grid = new QGridLayout(m_feedback);
    grid->setContentsMargins(0, 6, 0, 0);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);
    m_verdict = new QLabel;
    auto* correctCaption = new QLabel(say(Correct));
    auto* wroteCaption = new QLabel(say(YouWrote));
    for (QLabel* caption : { correctCaption, wroteCaption }) {
        setRole(caption, "caption");
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    m_correct = new QLabel;
    m_wrote = new QLabel;
    for (QLabel* label : { m_correct, m_wrote }) {
        label->setTextFormat(Qt::RichText);
        label->setWordWrap(true);
    }
    grid->addWidget(correctCaption, 0, 0);
    grid->addWidget(m_correct, 0, 1);
    grid->addWidget(wroteCaption, 1, 0);
    grid->addWidget(m_wrote, 1, 1);
    grid->addWidget(m_verdict, 2, 1);
    grid->setColumnStretch(1, 1);
    card()->addWidget(m_feedback);
    card()->addStretch(1);

    auto* bottom = new QHBoxLayout;
    m_action = actionButton();
    connect(m_action, &QPushButton::clicked, this, &DictationWindow::checkOrNext);
    bottom->addStretch(1);
    bottom->addWidget(m_action);
    column()->addLayout(bottom);

    setFocusProxy(m_answer);
    startRound();
}

void DictationWindow::startRound()
{
    std::vector<int> order;
    for (int i = 0; i < phrases().size(); ++i)
        order.push_back(i);
    std::shuffle(order.begin(), order.end(), *QRandomGenerator::global());
    m_round = std::make_unique<DictationRound>(std::move(order));
    showPhrase();
}

void DictationWindow::showPhrase()
{
    const DictationRound& r = *m_round;
    setProgress(say(texts::PhraseOf).arg(r.number()).arg(r.total()));
    setTally(r.compared() ? say(SoFar).arg(percentText(language(), r.percent())) : QString());
    const Phrase& p = phrases().at(r.current());
    m_means->setText(say(Means).arg(translationOf(p)));
    m_answer->clear();
    // Twice the phrase is more than any attempt at it, and keeps the comparison within the card.
    m_answer->setMaxLength(2 * static_cast<int>(p.tPhrase.size()) + 10);
    m_answer->setReadOnly(false);
    m_answer->setFocus();
    // Hidden but still taking its room, so the answer box does not move when the comparison appears.
    QSizePolicy keep = m_feedback->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_feedback->setSizePolicy(keep);
    m_feedback->setVisible(false);
    m_action->setText(buttonText(say(Check), say(texts::KeyEnter)));
    // Without its sound the phrase is there to be read and typed; a silent dictation could not be done at all.
    const bool heard = listen();
    m_read->setText(heard ? QString() : p.tPhrase);
    m_read->setVisible(!heard);
    m_answer->setPlaceholderText(say(heard ? TypeHere : TypeShown));
    askPhrase(r.current());
}

QString DictationWindow::shownPhrase() const { return m_read->isHidden() ? QString() : m_read->text(); }

int DictationWindow::currentPhrase() const { return m_round->current(); }

void DictationWindow::checkOrNext()
{
    if (showingResult())
        return;
    if (m_round->checked()) {
        m_round->next();
        if (!m_round->finished()) {
            showPhrase();
            return;
        }
        RoundScore score;
        score.headline = percentText(language(), m_round->percent());
        score.detail = say(Detail);
        score.perfect = m_round->right() == m_round->compared();
        score.textScore = score.headline;
        score.numberScore = m_round->percent();
        // Every letter right: good (typing time says more of the phrase's length than of the learner's recall, so
        // none is easy); only accents wrong: hard; any other mistake: again.
        for (int i = 0; i < phrases().size(); ++i) {
            const int mistakes = m_round->mistakes(i);
            score.ratings << (mistakes < 0 ? Rating::NotRated : rateAnswer(mistakes, {}));
        }
        finishRound(score);
        return;
    }
    const Phrase& p = phrases().at(m_round->current());
    if (!m_round->answer(p.tPhrase, m_answer->text()))
        return;
    answerPhrase(m_round->current());
    const DictationCheck& c = m_round->lastCheck();
    m_answer->setReadOnly(true);
    // A long sentence and a longer attempt at it would push the answer box and the letters off a small screen at the
    // size a short phrase is compared at.
    const bool longComparison = std::max(c.expected.size(), c.typed.size()) > 60;
    for (QLabel* label : { m_correct, m_wrote })
        label->setStyleSheet(longComparison ? QStringLiteral("font-size: 14pt;") : QStringLiteral("font-size: 17pt;"));
    m_correct->setText(markedHtml(c.expected, c.expectedMarks, true));
    m_wrote->setText(markedHtml(c.typed, c.typedMarks, false));
    m_verdict->setText(c.perfect() ? say(AllRight) : say(PhraseScore).arg(percentText(language(), c.percent())));
    setRole(m_verdict, c.perfect() ? "good" : "bad");
    m_feedback->setVisible(true);
    setTally(say(SoFar).arg(percentText(language(), m_round->percent())));
    const bool last = m_round->number() == m_round->total();
    m_action->setText(nextText(last));
}

void DictationWindow::typeLetter(const QString& letter)
{
    // A checked answer stays as it was checked.
    if (m_answer->isReadOnly())
        return;
    m_answer->insert(letter);
    m_answer->setFocus();
}

bool DictationWindow::playKey(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    if ((control && event->key() == Qt::Key_Space) || event->key() == Qt::Key_F5) {
        listen();
        return true;
    }
    // The answer box passes Enter on to its window, so Enter is handled here alone, wherever the focus is.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        checkOrNext();
        return true;
    }
    return false;
}

}
