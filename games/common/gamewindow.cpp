#include "gamewindow.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "games/common/gamestyle.h"
#include "games/common/gametexts.h"
#include "platform/clock.h"
#include "platform/exchangefile.h"
#include "platform/plaintooltip.h"
#include "platform/services.h"

namespace games {

namespace {
    // True for the first activity of a run of the main program to ask: the marker is made with exclusive creation,
    // so of two activities started together only one tells. A folder that takes no file cannot remember, and then
    // every activity tells.
    bool firstSoundNoticeOfTheRun(const QString& exchangePath)
    {
        QFile marker(QFileInfo(exchangePath).dir().filePath(QLatin1String(platform::exchange::SoundNoticeMarker)));
        if (marker.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        return !marker.exists();
    }

    constexpr int MinimumWidth = 800;
    constexpr int MinimumHeight = 600;
    constexpr int SmallWidth = 980;
    constexpr int SmallHeight = 690;
    constexpr int LargeWidth = 1280;
    constexpr int LargeHeight = 820;
    // A window frame's borders and title bar, which the window's own size does not include.
    constexpr int FrameWidth = 16;
    constexpr int FrameHeight = 40;

    // The installed clock, so that a test can stand in for time.
    qint64 monotonicMs()
    {
        if (platform::Clock* clock = platform::services().clock)
            return clock->monotonicMs();
        static QElapsedTimer since;
        if (!since.isValid())
            since.start();
        return since.elapsed();
    }

    // The installed clock's time (the program's own is moved by PARLANTA_CLOCK_SHIFT_DAYS), so a test sets it.
    QDateTime currentTime()
    {
        platform::Clock* clock = platform::services().clock;
        return clock ? clock->now() : platform::currentUtc().toLocalTime();
    }
}

QSize gameWindowSize(const QSize& available)
{
    const int width
        = std::min({ available.width() - FrameWidth, std::max(SmallWidth, available.width() * 2 / 3), LargeWidth });
    const int height = std::min(
        { available.height() - FrameHeight, std::max(SmallHeight, available.height() * 3 / 4), LargeHeight });
    return { std::max(width, MinimumWidth), std::max(height, MinimumHeight) };
}

GameWindow::GameWindow(const GameContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_writer(context.exchange.usersDatabase)
    , m_answers(context.exchange.phrases.size())
{
    setObjectName(QStringLiteral("GameWindow"));
    setAttribute(Qt::WA_StyledBackground);
    const QString product = m_context.exchange.productName.trimmed();
    setWindowTitle(
        product.isEmpty() ? say(m_context.info.name) : say(m_context.info.name) + QStringLiteral(" – ") + product);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    m_stack = new QStackedWidget;
    layout->addWidget(m_stack, 1);
    layout->addWidget(buildFooter());
    m_resultPage = buildResultPage();
    m_stack->addWidget(m_resultPage);

    setMinimumSize(MinimumWidth, MinimumHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        resize(gameWindowSize(free.size()));
        move(free.center() - rect().center());
    } else {
        resize(SmallWidth, SmallHeight);
    }
    setFocusPolicy(Qt::StrongFocus);

    // Told before the first phrase, not in the middle of a turn, when the round is going to be silent anywhere.
    for (const Phrase& phrase : phrases()) {
        const Hearing why = hearing(phrase);
        if (why != Hearing::Yes) {
            tellSoundMissing(why, phrase);
            break;
        }
    }
}

QWidget* GameWindow::buildHeader()
{
    auto* header = new QFrame;
    header->setObjectName(QStringLiteral("Header"));
    header->setFixedHeight(84);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(28, 10, 28, 10);
    auto* title = new QLabel(say(m_context.info.name));
    title->setObjectName(QStringLiteral("HeaderTitle"));
    row->addWidget(title);
    row->addStretch(1);
    auto* right = new QVBoxLayout;
    right->setSpacing(2);
    auto* subject = new QLabel(m_context.exchange.subject.trimmed());
    subject->setObjectName(QStringLiteral("HeaderSubject"));
    subject->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* student = new QLabel(say(texts::StudentLabel).arg(m_context.exchange.student.trimmed()));
    student->setObjectName(QStringLiteral("HeaderStudent"));
    student->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // A virtual subject's name can be long; it must not push the activity's name out of the header. Both names
    // are typed by someone and shown as typed, even when they look like markup.
    for (QLabel* label : { subject, student }) {
        label->setTextFormat(Qt::PlainText);
        label->ensurePolished();
        label->setToolTip(platform::plainToolTip(label->text()));
        label->setText(label->fontMetrics().elidedText(label->text(), Qt::ElideRight, 560));
    }
    right->addStretch(1);
    right->addWidget(subject);
    right->addWidget(student);
    right->addStretch(1);
    row->addLayout(right);
    return header;
}

QWidget* GameWindow::buildFooter()
{
    auto* footer = new QFrame;
    footer->setObjectName(QStringLiteral("Footer"));
    footer->setFixedHeight(40);
    auto* row = new QHBoxLayout(footer);
    row->setContentsMargins(28, 0, 28, 0);
    m_keys = new QLabel(say(m_context.info.keys));
    m_keys->setObjectName(QStringLiteral("Keys"));
    m_keys->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(m_keys);
    return footer;
}

QWidget* GameWindow::buildResultPage()
{
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(60, 30, 60, 30);
    auto* card = new QFrame;
    setRole(card, "card");
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(40, 36, 40, 36);
    column->setSpacing(14);
    m_resultTitle = new QLabel;
    m_resultTitle->setObjectName(QStringLiteral("ResultTitle"));
    m_resultScore = new QLabel;
    m_resultScore->setObjectName(QStringLiteral("ResultScore"));
    m_resultDetail = new QLabel;
    m_resultDetail->setObjectName(QStringLiteral("ResultDetail"));
    m_resultDetail->setWordWrap(true);
    m_saveNote = new QLabel;
    m_saveNote->setObjectName(QStringLiteral("SaveNote"));
    m_saveNote->setWordWrap(true);
    for (QLabel* label : { m_resultTitle, m_resultScore, m_resultDetail, m_saveNote })
        label->setAlignment(Qt::AlignCenter);

    m_playAgain = new QPushButton(buttonText(say(texts::PlayAgain), say(texts::KeyEnter)));
    m_saveAgain = new QPushButton(buttonText(say(texts::SaveAgain), say(texts::KeySaveAgain)));
    setKind(m_saveAgain, "secondary");
    m_saveAgain->hide();
    m_close = new QPushButton(buttonText(say(texts::Close), say(texts::KeyEsc)));
    setKind(m_close, "secondary");
    for (QPushButton* b : { m_playAgain, m_saveAgain, m_close })
        b->setFocusPolicy(Qt::NoFocus);
    connect(m_playAgain, &QPushButton::clicked, this, &GameWindow::playAgain);
    connect(m_saveAgain, &QPushButton::clicked, this, &GameWindow::saveScore);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_saving, &QFutureWatcher<SaveResult>::finished, this, &GameWindow::saveFinished);
    // Saving again belongs to the note above it, and three buttons in a row would not fit a small screen.
    auto* retry = new QHBoxLayout;
    retry->addStretch(1);
    retry->addWidget(m_saveAgain);
    retry->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(16);
    buttons->addStretch(1);
    buttons->addWidget(m_playAgain);
    buttons->addWidget(m_close);
    buttons->addStretch(1);

    column->addStretch(1);
    column->addWidget(m_resultTitle);
    column->addWidget(m_resultScore);
    column->addWidget(m_resultDetail);
    column->addSpacing(6);
    column->addWidget(m_saveNote);
    column->addSpacing(18);
    column->addLayout(retry);
    column->addLayout(buttons);
    column->addStretch(1);
    outer->addWidget(card);
    return page;
}

QString GameWindow::buttonText(const QString& label, const QString& key) const
{
    return label + QStringLiteral("   ") + QChar(0x2039) + key + QChar(0x203A);
}

void GameWindow::setPlayPage(QWidget* page)
{
    m_stack->insertWidget(0, page);
    m_stack->setCurrentIndex(0);
}

bool GameWindow::showingResult() const { return m_stack->currentWidget() == m_resultPage; }

QString GameWindow::resultHeadline() const { return m_resultScore->text(); }

Hearing GameWindow::hearing(const Phrase& phrase) const
{
    return PhraseSound::check(phrase.soundFile, m_context.soundOutput);
}

bool GameWindow::playPhraseSound(const Phrase& phrase)
{
    const Hearing heard = PhraseSound::play(phrase.soundFile, m_context.soundOutput);
    if (heard == Hearing::Yes)
        return true;
    tellSoundMissing(heard, phrase);
    return false;
}

void GameWindow::tellSoundMissing(Hearing why, const Phrase& phrase)
{
    if (m_soundNoticeGiven)
        return;
    m_soundNoticeGiven = true;
    if (!firstSoundNoticeOfTheRun(m_context.exchangePath))
        return;
    const QString name = phrase.soundFile.isEmpty() ? QStringLiteral("—") : QFileInfo(phrase.soundFile).fileName();
    const QString text = why == Hearing::NoOutput ? say(texts::NoSoundOutput) : say(texts::SoundUnplayable).arg(name);
    // A box raised while the window is being built would stand alone on the screen; it waits for the window.
    QTimer::singleShot(0, this, [this, text] {
        if (platform::Dialogs* dialogs = platform::services().dialogs)
            dialogs->message(text, say(m_context.info.name), platform::Icon::Information);
    });
}

void GameWindow::playAgain()
{
    if (saving())
        return;
    m_roundOpen = false;
    m_answers.fill(Answer {});
    m_saveAgain->hide();
    m_stack->setCurrentIndex(0);
    m_keys->setText(say(m_context.info.keys));
    startRound();
}

void GameWindow::finishRound(const RoundScore& score)
{
    PhraseSound::stop();
    m_score = score;
    m_roundOpen = true;
    m_resultTitle->setText(say(score.perfect ? texts::PerfectRound : texts::RoundComplete));
    m_resultScore->setText(score.headline);
    m_resultDetail->setText(score.detail);
    m_stack->setCurrentWidget(m_resultPage);
    m_resultShownAt = monotonicMs();
    m_keys->setText(say(texts::ResultKeys));
    saveScore();
}

void GameWindow::askPhrase(int phrase)
{
    Answer& a = m_answers[phrase];
    if (a.askedAt < 0)
        a.askedAt = monotonicMs();
}

void GameWindow::answerPhrase(int phrase)
{
    Answer& a = m_answers[phrase];
    if (a.moment.isValid())
        return;
    a.moment = currentTime();
    if (a.askedAt >= 0)
        a.ms = monotonicMs() - a.askedAt;
}

std::optional<qint64> GameWindow::answerTime(int phrase) const { return m_answers.at(phrase).ms; }

void GameWindow::saveAgain() { saveScore(); }

bool GameWindow::canSaveAgain() const { return showingResult() && m_roundOpen && !m_saveAgain->isHidden(); }

void GameWindow::saveScore()
{
    if (!m_roundOpen || saving())
        return;
    m_saveAgain->hide();
    m_playAgain->setEnabled(false);
    m_close->setEnabled(false);
    m_saveNote->setText(say(texts::Saving));
    setState(m_saveNote, "");

    ScoreRow row { m_context.exchange.student, m_context.exchange.subject, say(m_context.info.name), m_score.textScore,
        m_score.numberScore, currentTime(), {} };
    for (int i = 0; i < m_score.ratings.size() && i < phrases().size(); ++i) {
        const QString& id = phrases().at(i).phraseId;
        const Answer& a = m_answers.at(i);
        if (m_score.ratings.at(i) != Rating::NotRated && !id.isEmpty())
            row.phrases.push_back(
                { id, static_cast<int>(m_score.ratings.at(i)), a.moment.isValid() ? a.moment : row.when, a.ms });
    }
    // A locked database keeps the writer waiting for seconds: it waits beside the window, which stays alive.
    m_savePending = true;
    m_saving.setFuture(QtConcurrent::run([writer = m_writer, row] { return writer.write(row); }));
}

void GameWindow::saveFinished()
{
    m_lastSave = m_saving.result();
    m_savePending = false;
    m_playAgain->setEnabled(true);
    m_close->setEnabled(true);
    if (m_lastSave.saved()) {
        m_roundOpen = false;
        m_saveNote->setText(say(texts::Saved));
        setState(m_saveNote, "ok");
        if (m_closeWhenSaved)
            close();
        return;
    }
    m_closeWhenSaved = false;
    const QString why = texts::explainSave(m_lastSave, m_context.exchange.usersDatabase, language());
    m_saveNote->setText(say(texts::NotSaved) + QLatin1Char('\n') + why);
    setState(m_saveNote, "bad");
    m_saveAgain->setVisible(m_lastSave.status == SaveStatus::Locked);
    if (platform::Dialogs* dialogs = platform::services().dialogs)
        dialogs->message(
            say(texts::NotSaved) + QStringLiteral("\n\n") + why, say(m_context.info.name), platform::Icon::Warning);
}

void GameWindow::closeEvent(QCloseEvent* event)
{
    if (saving()) {
        m_closeWhenSaved = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

GameWindow::~GameWindow() { m_saving.waitForFinished(); }

void GameWindow::keyPressEvent(QKeyEvent* event)
{
    if (showingResult()) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            // A fast learner's last key of the round, held or struck again at once, would hide the score unseen.
            if (!event->isAutoRepeat() && monotonicMs() - m_resultShownAt >= ResultKeyPauseMs)
                playAgain();
            return;
        case Qt::Key_Escape:
            close();
            return;
        case Qt::Key_S:
        case Qt::Key_G:
            if (canSaveAgain())
                saveScore();
            return;
        default:
            break;
        }
    } else if (playKey(event)) {
        event->accept();
        return;
    } else if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}
