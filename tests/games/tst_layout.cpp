#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QtTest>

#include <algorithm>

#include "gamefixture.h"
#include "games/common/gamestyle.h"
#include "games/dictation/dictationtexts.h"
#include "games/dictation/dictationwindow.h"
#include "games/flashcards/flashcardstexts.h"
#include "games/flashcards/flashcardswindow.h"
#include "games/listenandchoose/choosetexts.h"
#include "games/listenandchoose/choosewindow.h"
#include "games/pairs/pairstexts.h"
#include "games/pairs/pairswindow.h"
#include "games/speak/speaktexts.h"
#include "games/speak/speakwindow.h"
#include "pairspartner.h"
#include "tests/support/renderedtext.h"

using namespace games;

namespace {

const QList<QSize> screens { { 1024, 768 }, { 1920, 1080 } };

// The ten phrases of the phrasebook with the longest texts in German and in the learner's language, all
// different, so that the longest a game can be given is what it is laid out with.
QList<Phrase> longestPhrases(Language language)
{
    const QString learner = language == Language::Spanish ? QStringLiteral("es") : QStringLiteral("en");
    QList<Phrase> all;
    const QDir folder(QStringLiteral(PARLANTA_SOURCE_DIR "/content/phrasebook/subjects"));
    for (const QString& name : folder.entryList({ QStringLiteral("*.tsv") })) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        QStringList columns;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).remove(QLatin1Char('\n'));
            if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const QStringList fields = line.split(QLatin1Char('\t'));
            if (columns.isEmpty()) {
                columns = fields;
                continue;
            }
            all.append({ fields.value(columns.indexOf("de")), fields.value(columns.indexOf(learner)), {}, {}, {} });
        }
    }
    std::sort(all.begin(), all.end(), [](const Phrase& a, const Phrase& b) {
        return a.tPhrase.size() + a.tTranslation.size() > b.tPhrase.size() + b.tTranslation.size();
    });
    QList<Phrase> kept;
    QSet<QString> seen;
    for (const Phrase& p : all) {
        if (kept.size() == platform::exchange::MaxPhrases)
            break;
        if (seen.contains(p.tPhrase) || seen.contains(p.tTranslation))
            continue;
        seen << p.tPhrase << p.tTranslation;
        kept << p;
    }
    return kept;
}

Exchange longestExchange(const gametest::Launch& launch, Language language)
{
    Exchange x = launch.exchange(platform::exchange::MaxPhrases, language);
    const QList<Phrase> longest = longestPhrases(language);
    for (int i = 0; i < x.phrases.size(); ++i) {
        x.phrases[i].tPhrase = longest.value(i).tPhrase;
        x.phrases[i].tTranslation = longest.value(i).tTranslation;
    }
    x.subject = QStringLiteral("Mis frases para el viaje de fin de curso a Berlín y Múnich con la clase");
    x.student = QStringLiteral("María Fernanda de los Ángeles Rodríguez-Villanueva");
    // The score cannot be stored, so the result screen says why, naming the file, which is its longest text.
    x.usersDatabase = launch.path(QStringLiteral("AppData/Local/Parlanta/prlale/Users.dat"));
    return x;
}

QString describe(const QWidget* w)
{
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(w))
        text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        text = button->text();
    return QStringLiteral("%1 \"%2\" at %3,%4 %5x%6")
        .arg(QString::fromLatin1(w->metaObject()->className()), text.left(60))
        .arg(w->x())
        .arg(w->y())
        .arg(w->width())
        .arg(w->height());
}

// Every text of the window is whole where it stands, every widget within its parent and clear of its
// neighbours, and the window kept the size it was given: its layout did not need more.
void verifyLaidOut(QWidget* window, const QSize& size, const QString& where)
{
    QTest::qWait(10);
    QVERIFY2(window->size() == size, qPrintable(where + QStringLiteral(": the window grew")));
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(window) || w->isWindow())
            continue;
        const QString what = where + QStringLiteral(": ") + describe(w);
        QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(what + " sticks out of its parent"));
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (label->text().isEmpty())
                continue;
            if (label->wordWrap()) {
                QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(what + " is cut"));
            } else {
                QVERIFY2(label->sizeHint().width() <= label->width() && label->sizeHint().height() <= label->height(),
                    qPrintable(what + " is cut"));
            }
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            if (!button->text().isEmpty())
                QVERIFY2(button->sizeHint().width() <= button->width(), qPrintable(what + " is cut"));
            QVERIFY2(button->minimumSizeHint().height() <= button->height(), qPrintable(what + " is squeezed"));
        } else if (const auto* box = qobject_cast<const QLineEdit*>(w)) {
            QVERIFY2(box->minimumSizeHint().height() <= box->height(), qPrintable(what + " is squeezed"));
        }
        if (qobject_cast<QStackedWidget*>(w->parentWidget()))
            continue;
        for (QWidget* other : widgets) {
            if (other == w || other->parentWidget() != w->parentWidget() || !other->isVisibleTo(window)
                || other->isWindow())
                continue;
            QVERIFY2(!w->geometry().intersects(other->geometry()), qPrintable(what + " overlaps " + describe(other)));
        }
    }
}

struct Run
{
    Language language;
    QSize screen;
    bool sound;
    QString name() const
    {
        return QStringLiteral("%1 %2x%3%4")
            .arg(language == Language::Spanish ? "Spanish" : "English")
            .arg(screen.width())
            .arg(screen.height())
            .arg(sound ? "" : " silent");
    }
};

QList<Run> runs()
{
    QList<Run> out;
    for (Language language : { Language::English, Language::Spanish })
        for (const QSize& screen : screens)
            for (bool sound : { true, false })
                out.append({ language, screen, sound });
    return out;
}

// A game window as the learner gets it on the run's screen, styled as the program styles it.
template <class Window>
std::unique_ptr<Window> open(
    const gametest::Launch& launch, const ActivityInfo& info, const Exchange& x, const Run& run, QSize* size)
{
    applyGameStyle(*static_cast<QApplication*>(QCoreApplication::instance()), info.accent);
    GameContext context = launch.context(info, x);
    context.soundOutput = run.sound;
    auto window = std::make_unique<Window>(context);
    *size = gameWindowSize(run.screen);
    window->resize(*size);
    gametest::showWindow(window.get());
    return window;
}

}

class TestLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theWindowFitsTheScreen()
    {
        for (const QSize& screen : screens) {
            const QSize size = gameWindowSize(screen);
            QVERIFY(size.width() < screen.width() && size.height() < screen.height() - 30); // a title bar's room
            QVERIFY(size.width() >= 800 && size.height() >= 600);
        }
        // A larger screen gets a larger window, a task bar a lower one.
        QVERIFY(gameWindowSize({ 1920, 1080 }).width() > gameWindowSize({ 1024, 768 }).width());
        QVERIFY(gameWindowSize({ 1024, 728 }).height() < 728 - 30);
    }

    void flashcards()
    {
        for (const Run& run : runs()) {
            gametest::Launch launch;
            const Exchange x = longestExchange(launch, run.language);
            QSize size;
            auto window = open<FlashcardsWindow>(launch, flashcards::activity(), x, run, &size);
            bool missedOne = false;
            while (!window->showingResult()) {
                verifyLaidOut(window.get(), size, run.name() + " face down");
                gametest::sendKey(window.get(), Qt::Key_Space);
                verifyLaidOut(window.get(), size, run.name() + " turned");
                gametest::sendKey(window.get(), std::exchange(missedOne, true) ? Qt::Key_1 : Qt::Key_2);
            }
            QVERIFY(gametest::waitForSave(*window));
            verifyLaidOut(window.get(), size, run.name() + " result");
        }
    }

    void listenAndChoose()
    {
        for (const Run& run : runs()) {
            gametest::Launch launch;
            const Exchange x = longestExchange(launch, run.language);
            QSize size;
            auto window = open<ChooseWindow>(launch, choose::activity(), x, run, &size);
            while (!window->showingResult()) {
                const ChoiceQuestion q = window->quiz().question();
                verifyLaidOut(window.get(), size, run.name() + " question");
                gametest::sendKey(window.get(), Qt::Key_1 + (q.answer + 1) % q.options.size());
                verifyLaidOut(window.get(), size, run.name() + " wrong pick");
                gametest::sendKey(window.get(), Qt::Key_1 + q.answer);
                verifyLaidOut(window.get(), size, run.name() + " answered");
                gametest::sendKey(window.get(), Qt::Key_Return);
            }
            QVERIFY(gametest::waitForSave(*window));
            verifyLaidOut(window.get(), size, run.name() + " result");
        }
    }

    void dictation()
    {
        for (const Run& run : runs()) {
            gametest::Launch launch;
            const Exchange x = longestExchange(launch, run.language);
            QSize size;
            auto window = open<DictationWindow>(launch, dictation::activity(), x, run, &size);
            while (!window->showingResult()) {
                verifyLaidOut(window.get(), size, run.name() + " phrase");
                const QString phrase = x.phrases[window->round().current()].tPhrase;
                // Every other letter wrong, and as much again too many: the longest comparison there can be.
                QString typed;
                for (int i = 0; i < phrase.size(); ++i)
                    typed += i % 2 ? QChar(u'x') : phrase[i];
                window->answerBox()->setText(typed + QLatin1Char(' ') + typed);
                gametest::sendKey(window.get(), Qt::Key_Return);
                verifyLaidOut(window.get(), size, run.name() + " checked");
                gametest::sendKey(window.get(), Qt::Key_Return);
            }
            QVERIFY(gametest::waitForSave(*window));
            verifyLaidOut(window.get(), size, run.name() + " result");
        }
    }

    void pairs()
    {
        for (const Run& run : runs()) {
            gametest::Launch launch;
            const Exchange x = longestExchange(launch, run.language);
            QSize size;
            auto window = open<PairsWindow>(launch, pairs::activity(), x, run, &size);
            const PairsBoard& board = window->board();
            verifyLaidOut(window.get(), size, run.name() + " board");
            // A miss first, then every pair: all cards face up before the last turn.
            gametest::sendKey(window.get(), Qt::Key_Space);
            const int miss = gametest::partner(board, 0) == 1 ? 2 : 1;
            for (int i = 0; i < miss; ++i)
                gametest::sendKey(window.get(), Qt::Key_Right);
            gametest::sendKey(window.get(), Qt::Key_Space);
            verifyLaidOut(window.get(), size, run.name() + " miss");
            for (int i = 0; i < board.cardCount(); ++i) {
                if (board.card(i).matched)
                    continue;
                if (board.pairsFound() == board.pairCount() - 1)
                    verifyLaidOut(window.get(), size, run.name() + " all but one pair");
                for (int pos : { i, gametest::partner(board, i) }) {
                    while (window->cursor() != pos)
                        gametest::sendKey(window.get(), Qt::Key_Right);
                    gametest::sendKey(window.get(), Qt::Key_Space);
                }
            }
            QVERIFY(window->showingResult());
            QVERIFY(gametest::waitForSave(*window));
            verifyLaidOut(window.get(), size, run.name() + " result");
        }
    }

    // Each phrase said, compared and marked: the learner says the second phrase every time, so the others show
    // a low score with the word to practise and the second one a good score.
    void speak()
    {
        QTemporaryDir spoken; // each language's sounds, spoken once for all its runs
        for (const Run& run : runs()) {
            gametest::Launch launch;
            const Exchange x = longestExchange(launch, run.language);
            QString saying;
            for (int i = 0; i < x.phrases.size(); ++i) {
                const QString model = spoken.filePath(QStringLiteral("%1-%2.wav").arg(int(run.language)).arg(i));
                if (!QFile::exists(model))
                    QVERIFY(gametest::espeak(x.phrases[i].tPhrase, QStringLiteral("de"), model));
                QVERIFY(QFile::remove(x.phrases[i].soundFile) && QFile::copy(model, x.phrases[i].soundFile));
                if (i == 1)
                    saying = model;
            }
            qputenv(SpeakCaptureVariable, saying.toUtf8());
            QSize size;
            auto window = open<SpeakWindow>(launch, speak::activity(), x, run, &size);
            while (!window->showingResult()) {
                verifyLaidOut(window.get(), size, run.name() + " phrase");
                gametest::sendKey(window.get(), Qt::Key_Space);
                QTRY_VERIFY(!window->recording());
                verifyLaidOut(window.get(), size, run.name() + " tried");
                gametest::sendKey(window.get(), Qt::Key_Return);
            }
            qunsetenv(SpeakCaptureVariable);
            QVERIFY(gametest::waitForSave(*window));
            verifyLaidOut(window.get(), size, run.name() + " result");
        }
    }

    // A locked database adds the button that saves again: three buttons in a row, in the longer language.
    void theResultWithItsThreeButtons()
    {
        gametest::Launch launch;
        Exchange x = launch.exchange(1, Language::Spanish);
        QSize size;
        auto window = open<FlashcardsWindow>(
            launch, flashcards::activity(), x, { Language::Spanish, screens.first(), true }, &size);
        gametest::sendKey(window.get(), Qt::Key_Space);
        {
            gametest::LockHolder lock(launch.database(), 5600);
            gametest::sendKey(window.get(), Qt::Key_1);
            QVERIFY(gametest::waitForSave(*window));
        }
        QVERIFY(window->canSaveAgain());
        verifyLaidOut(window.get(), size, "locked");
    }

    // Names, subjects and phrases are shown as written, even when they look like markup.
    void textsThatLookLikeMarkupShowAsWritten()
    {
        const QString markup = QStringLiteral("<b>x</b>");
        gametest::Launch launch;
        Exchange x = launch.exchange(3);
        x.subject.prepend(markup);
        x.student.prepend(markup);
        for (Phrase& p : x.phrases) {
            p.tPhrase.prepend(markup);
            p.tTranslation.prepend(markup);
        }
        const Run silent { Language::English, screens.first(), false };
        QSize size;
        struct Case
        {
            const char* name;
            std::function<std::unique_ptr<GameWindow>()> open;
            QList<int> keys;
            int shown; // labels and tips: the header's two names and tips, and what the game shows of its phrases
        };
        const Case cases[] = {
            { "flashcards turned",
                [&] { return open<FlashcardsWindow>(launch, flashcards::activity(), x, silent, &size); },
                { Qt::Key_Space }, 6 },
            { "listen and choose", [&] { return open<ChooseWindow>(launch, choose::activity(), x, silent, &size); }, {},
                5 },
            { "dictation", [&] { return open<DictationWindow>(launch, dictation::activity(), x, silent, &size); }, {},
                6 },
            { "pairs", [&] { return open<PairsWindow>(launch, pairs::activity(), x, silent, &size); },
                { Qt::Key_Space }, 5 },
            { "speak",
                [&] {
                    // Something to listen to, so that the game stays open.
                    qputenv(SpeakCaptureVariable, x.phrases.first().soundFile.toUtf8());
                    return open<SpeakWindow>(launch, speak::activity(), x, silent, &size);
                },
                {}, 6 },
        };
        QStringList wrong;
        for (const Case& c : cases) {
            const std::unique_ptr<GameWindow> window = c.open();
            for (int key : c.keys)
                gametest::sendKey(window.get(), key);
            int shown = 0;
            for (const QLabel* label : window->findChildren<QLabel*>())
                if (label->isVisibleTo(window.get()))
                    shown += renderedText(label).contains(markup) + renderedText(label->toolTip()).contains(markup);
            if (shown != c.shown)
                wrong << QStringLiteral("%1: %2").arg(c.name).arg(shown);
        }
        qunsetenv(SpeakCaptureVariable);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("; ")));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
