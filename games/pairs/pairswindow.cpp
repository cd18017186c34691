#include "pairswindow.h"

#include <cmath>

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QVBoxLayout>

#include "games/common/gamestyle.h"
#include "games/pairs/pairstexts.h"

namespace games {

using namespace pairs;

namespace {

    // The style sheet gives the cards' texts their colours; their sizes are picked here, to fit each card.
    struct CardFace
    {
        const char* role;
        qreal pointSize; // the size a text has when it fits the card
        bool bold;
    };
    constexpr CardFace BackFace { "cardback", 28, true };
    constexpr CardFace PhraseFace { "cardphrase", 13, true };
    constexpr CardFace TranslationFace { "cardtranslation", 13, false };
    constexpr CardFace MatchedFace { "cardmatched", 12, false };

    // A card shows the whole phrase: whole words to a line, in a smaller font where the words would not fit.
    class CardText : public QLabel
    {
    public:
        CardText()
        {
            // The layout the font is fitted for: pairs::CardTextFlags.
            setAlignment(Qt::AlignCenter);
            setWordWrap(true);
            // A phrase as the subject file has it, even one that looks like markup.
            setTextFormat(Qt::PlainText);
            setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        void showText(const QString& text, const CardFace& face)
        {
            // Polishing for the role's colours puts back the font the label had at first, so the fitted one is set
            // again after it.
            setRole(this, face.role);
            if (text == this->text() && qstrcmp(face.role, m_face.role) == 0) {
                setFont(m_fitted);
                return;
            }
            m_face = face;
            setText(text);
            fit();
        }

    protected:
        void resizeEvent(QResizeEvent* event) override
        {
            QLabel::resizeEvent(event);
            fit();
        }

    private:
        void fit()
        {
            QFont font = QApplication::font();
            font.setPointSizeF(m_face.pointSize);
            font.setBold(m_face.bold);
            m_fitted = pairs::fittingCardFont(text(), font, contentsRect().size());
            setFont(m_fitted);
        }
        CardFace m_face = BackFace;
        QFont m_fitted;
    };

    // A push button does not wrap its text, so the card's text is a label inside it.
    class CardButton : public QPushButton
    {
    public:
        CardButton()
        {
            setKind(this, "card");
            setFocusPolicy(Qt::NoFocus);
            setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            setMinimumSize(110, 60);
            auto* layout = new QVBoxLayout(this);
            layout->setContentsMargins(8, 6, 8, 6);
            m_label = new CardText;
            layout->addWidget(m_label);
        }
        void show(const QString& text, const char* state, const CardFace& face, bool current)
        {
            setProperty("current", current);
            setState(this, state);
            m_label->showText(text, face);
        }
        QString text() const { return m_label->text(); }

    private:
        CardText* m_label;
    };

    constexpr int MismatchShowMs = 1400;
    constexpr int CardMaxWidth = 280;
    constexpr int CardMaxHeight = 140;
    constexpr int CardGap = 12;
}

PairsWindow::PairsWindow(const GameContext& context, QWidget* parent)
    : GameWindow(context, parent)
{
    m_phraseOfPair = PairsBoard::distinctPairs(taughtTextsOf(phrases()), translationsOf(phrases()));

    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(50, 20, 50, 24);
    column->setSpacing(14);
    auto* top = new QHBoxLayout;
    m_turns = new QLabel;
    setRole(m_turns, "progress");
    auto* prompt = new QLabel(say(Prompt));
    setRole(prompt, "secondary");
    prompt->setAlignment(Qt::AlignCenter);
    m_found = new QLabel;
    setRole(m_found, "progress");
    m_found->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    top->addWidget(m_turns, 1);
    top->addWidget(prompt, 2);
    top->addWidget(m_found, 1);
    column->addLayout(top);

    m_gridHolder = new QWidget;
    m_gridHolder->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_grid = new QGridLayout(m_gridHolder);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setSpacing(CardGap);
    const int cards = 2 * static_cast<int>(m_phraseOfPair.size());
    m_columns = boardColumns(cards);
    for (int i = 0; i < cards; ++i) {
        auto* card = new CardButton;
        connect(card, &QPushButton::clicked, this, [this, i] {
            m_cursor = i;
            flip(i);
        });
        m_grid->addWidget(card, i / m_columns, i % m_columns);
        m_cards << card;
    }
    // Few cards would grow into slabs: the board keeps card-sized cards and sits in the middle of the page.
    const int rows = (cards + m_columns - 1) / m_columns;
    m_gridHolder->setMaximumSize(
        m_columns * CardMaxWidth + (m_columns - 1) * CardGap, rows * CardMaxHeight + (rows - 1) * CardGap);
    auto* centred = new QHBoxLayout;
    centred->addStretch(1);
    centred->addWidget(m_gridHolder, 100);
    centred->addStretch(1);
    column->addStretch(1);
    column->addLayout(centred, 100);
    column->addStretch(1);

    m_hideTimer = new QTimer(this);
    m_hideTimer->setSingleShot(true);
    m_hideTimer->setInterval(MismatchShowMs);
    connect(m_hideTimer, &QTimer::timeout, this, [this] {
        m_board->hideMismatch();
        paintCards();
    });

    setPlayPage(page);
    startRound();
}

int PairsWindow::phraseOf(int position) const
{
    return m_phraseOfPair.at(static_cast<size_t>(m_board->card(position).pair));
}

void PairsWindow::startRound()
{
    m_hideTimer->stop();
    m_board = std::make_unique<PairsBoard>(static_cast<int>(m_phraseOfPair.size()), QRandomGenerator::global());
    m_cursor = 0;
    paintCards();
}

void PairsWindow::paintCards()
{
    for (int i = 0; i < m_cards.size(); ++i) {
        auto* card = static_cast<CardButton*>(m_cards[i]);
        const PairsCard& c = m_board->card(i);
        const Phrase& p = phrases().at(phraseOf(i));
        const QString text = c.translation ? translationOf(p) : p.tPhrase;
        const bool cursor = i == m_cursor;
        const CardFace& face = c.translation ? TranslationFace : PhraseFace;
        if (c.matched)
            card->show(text, "matched", MatchedFace, cursor);
        else if (!c.faceUp)
            card->show(QStringLiteral("?"), "", BackFace, cursor);
        else if (m_board->mismatchShowing())
            card->show(text, "miss", face, cursor);
        else
            card->show(text, c.translation ? "translation" : "phrase", face, cursor);
    }
    m_turns->setText(say(Turns).arg(m_board->turns()));
    m_found->setText(say(Found).arg(m_board->pairsFound()).arg(m_board->pairCount()));
}

void PairsWindow::flip(int position)
{
    m_hideTimer->stop();
    const PairsBoard::Flip result = m_board->flip(position);
    if (result == PairsBoard::Flip::Ignored) {
        paintCards();
        return;
    }
    // A phrase card speaks; it shows its text anyway, so a sound that cannot be heard costs nothing to read.
    if (!m_board->card(position).translation)
        playPhraseSound(phrases().at(phraseOf(position)));
    paintCards();
    if (result == PairsBoard::Flip::Mismatch)
        m_hideTimer->start();
    if (result == PairsBoard::Flip::Match)
        answerPhrase(phraseOf(position));
    if (!m_board->finished())
        return;
    RoundScore score;
    score.headline = turnsText(language(), m_board->turns());
    score.detail = say(Detail).arg(m_board->pairCount());
    score.perfect = m_board->turns() == m_board->pairCount();
    score.textScore = score.headline;
    // Fewer turns is better, so the number stored is not the count but the pairs found per turn, as a per cent:
    // 100 for a round without a miss, and lower the more turns it took, on the scale of the other games' results.
    score.numberScore = std::round(100.0 * m_board->pairCount() / m_board->turns());
    // Found without one of its cards in a mismatch: good (a memory game measures no answer time); after one: hard;
    // after more: again. A phrase left off the board (its text like another's) is not rated.
    score.ratings.fill(Rating::NotRated, phrases().size());
    for (int pair = 0; pair < m_board->pairCount(); ++pair)
        score.ratings[m_phraseOfPair.at(static_cast<size_t>(pair))] = rateAnswer(m_board->mismatches(pair), {});
    finishRound(score);
}

void PairsWindow::moveCursor(int dx, int dy)
{
    const int count = static_cast<int>(m_cards.size());
    if (dx != 0) {
        // Sideways the cursor reads on into the next row, as the eye does.
        m_cursor = (m_cursor + dx + count) % count;
    } else {
        const int rows = (count + m_columns - 1) / m_columns;
        const int col = m_cursor % m_columns;
        int row = m_cursor / m_columns;
        do {
            row = (row + dy + rows) % rows;
        } while (row * m_columns + col >= count); // a short last row has gaps to step over
        m_cursor = row * m_columns + col;
    }
    paintCards();
}

bool PairsWindow::playKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        moveCursor(-1, 0);
        return true;
    case Qt::Key_Right:
        moveCursor(1, 0);
        return true;
    case Qt::Key_Up:
        moveCursor(0, -1);
        return true;
    case Qt::Key_Down:
        moveCursor(0, 1);
        return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        flip(m_cursor);
        return true;
    default:
        return false;
    }
}

}
