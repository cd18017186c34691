#pragma once

#include <atomic>
#include <thread>

#include <QStringList>
#include <QTemporaryDir>

#include "games/common/exchangefile.h"
#include "games/common/gamestart.h"
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
    QStringList messages;
};

// A learner's launch in a folder of its own: a user database with the score table, WAVE files, the exchange file.
class Launch
{
public:
    Launch();
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString database() const { return path(QStringLiteral("Users.dat")); }

    // An exchange with n phrases "Satz k" / "Sentence k" / "Frase k", each with a real WAVE file.
    games::Exchange exchange(int phrases, games::Language language = games::Language::English) const;
    QString writeFile(const games::Exchange& exchange, const QString& name = QStringLiteral("~prl1.txt")) const;
    games::GameContext context(const games::ActivityInfo& info, const games::Exchange& exchange) const;

    // The rows of tblscores, each "tName|tSubject|tActivity|textScore|numberScore", NULL as "<null>".
    QStringList rows() const;

    FakeSound sound;
    FakeDialogs dialogs;

private:
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
// Shows a game window and gives it the keyboard, as a learner starting the game would find it.
void showWindow(QWidget* window);
void sendKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void sendText(QWidget* window, const QString& text);

}
