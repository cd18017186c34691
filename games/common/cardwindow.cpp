#include "cardwindow.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "games/common/gamestyle.h"
#include "games/common/gametexts.h"

namespace games {

CardWindow::CardWindow(const GameContext& context, const CardLayout& layout, QWidget* parent)
    : GameWindow(context, parent)
{
    auto* page = new QWidget;
    m_column = new QVBoxLayout(page);
    m_column->setContentsMargins(60, 22, 60, 26);
    m_column->setSpacing(layout.pageSpacing);
    addProgressRow(m_column, &m_progress, &m_tally);

    auto* card = new QFrame;
    setRole(card, "card");
    m_card = new QBoxLayout(layout.cardDirection, card);
    m_card->setContentsMargins(layout.cardMargins);
    m_card->setSpacing(layout.cardSpacing);
    m_column->addWidget(card, layout.cardTakesTheRoom ? 1 : 0);
    setPlayPage(page);
}

bool CardWindow::listen()
{
    const int phrase = currentPhrase();
    const bool heard = phrase >= 0 && playPhraseSound(phrases().at(phrase));
    if (m_listen)
        m_listen->setEnabled(heard);
    return heard;
}

QPushButton* CardWindow::listenButton(const QString& key)
{
    m_listen = new QPushButton(buttonText(say(texts::ListenAgain), key));
    setKind(m_listen, "secondary");
    m_listen->setFocusPolicy(Qt::NoFocus);
    m_listen->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_listen, &QPushButton::clicked, this, &CardWindow::listen);
    return m_listen;
}

QPushButton* CardWindow::actionButton(const QString& text)
{
    auto* button = new QPushButton(text);
    button->setFocusPolicy(Qt::NoFocus);
    button->setMinimumWidth(240);
    return button;
}

QString CardWindow::nextText(bool last) const
{
    return buttonText(say(last ? texts::SeeResult : texts::Next), say(texts::KeyEnter));
}

void CardWindow::setProgress(const QString& text) { m_progress->setText(text); }

void CardWindow::setTally(const QString& text) { m_tally->setText(text); }

}
