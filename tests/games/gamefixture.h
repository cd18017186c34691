#pragma once

#include <atomic>
#include <thread>

#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>

#include "games/common/exchangefile.h"
#include "games/common/gamestart.h"
#include "games/common/gamewindow.h"
#include "platform/services.h"

class QWidget;

namespace gametest {

// Records what a game asks of the sound and message services, so no test plays a sound or blocks on a box.
class FakeSound : public platform::Sound
{
public:
    void playFile(const QString& path, int flags) override
    {
        played << path;
        lastFlags = flags;
    }
    void playMemory(const QByteArray&, int) override { }
    void stop() override { ++stops; }
    QStringList played;
    int lastFlags = -1;
    int stops = 0;
};

class FakeDialogs : public platform::Dialogs
{
public:
    void message(const QString& text, const QString& title, platform::Icon) override
    {
        messages << title + ": " + text;
    }
    bool askYesNo(const QString&, const QString&, platform::Icon, platform::Answer) override { return false; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QStringList messages;
};

// Time as a game reads it: a second passes at each reading, slower than any learner, unless a test sets step to 0
// and moves ms itself.
class FakeClock : public platform::Clock
{
public:
    qint64 monotonicMs() override { return ms += step; }
    QDateTime now() override { return QDateTime::currentDateTime(); }
    void processEvents() override { QCoreApplication::processEvents(); }
    qint64 ms = 0;
    qint64 step = 1000;
};

// One of the eight products, as its main program fills an exchange file: the learner's language (line 4) and the
// language taught. A phrase's translation is in the learner's language; its second translation is in the other
// interface language, or a pronunciation where that language is the one taught.
struct Product
{
    QString code;
    QString name;
    games::Language language;
    QString taught;
    QString phraseWord; // "Satz": phrase k reads "Satz k"
    QString secondTranslationWord; // the second translation of phrase k starts with it
};
const QList<Product>& products();
const Product& productFor(games::Language language); // the German one of the interface language

// A learner's launch in a folder of its own: a user database with the score table, WAVE files, the exchange file.
class Launch
{
public:
    Launch();
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString database() const { return path(QStringLiteral("Users.dat")); }

    // An exchange of a German product with n phrases "Satz k", translated "Sentence k" for English speakers and
    // "Frase k" for Spanish speakers, each with a real WAVE file.
    games::Exchange exchange(int phrases, games::Language language = games::Language::English) const;
    games::Exchange exchange(const Product& product, int phrases) const;
    QString writeFile(const games::Exchange& exchange, const QString& name = QStringLiteral("~prl1.txt")) const;
    games::GameContext context(const games::ActivityInfo& info, const games::Exchange& exchange) const;

    // The rows of tblscores, each "tName|tSubject|tActivity|textScore|numberScore", NULL as "<null>".
    QStringList rows() const;
    // The rows of tblphraseresults by round and phrase, each "fkScoreID|tPhraseID|nRating|nAnswerMs".
    QStringList phraseRows() const;

    FakeSound sound;
    FakeDialogs dialogs;
    FakeClock clock;

private:
    QStringList tableRows(const QString& sql) const;
    QTemporaryDir m_dir;
};

// Another program's connection holding the write lock of a database for a while.
class LockHolder
{
public:
    LockHolder(const QString& path, int holdMs);
    ~LockHolder();

private:
    std::thread m_thread;
    std::atomic<bool> m_held { false };
};

void createUserDatabase(const QString& path);
// espeak-ng says text with voice ("de", "de+f3") into a WAVE file at path: a phrase's model sound or a learner.
bool espeak(const QString& text, const QString& voice, const QString& path);
// Lets the window's event loop run until the finished round's row is stored or refused; false after 20 s.
bool waitForSave(const games::GameWindow& window);
// Shows a game window and gives it the keyboard, as a learner starting the game would find it.
void showWindow(QWidget* window);
void sendKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void sendText(QWidget* window, const QString& text);
// The texts a learner sees in a window now: those of its visible labels, buttons and text boxes.
QStringList visibleTexts(const QWidget* window);
// Fails when the window shows a second translation of any phrase: the learner reads only his own language.
void verifyNoSecondTranslation(const QWidget* window, const games::Exchange& exchange);

}
