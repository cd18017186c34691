#pragma once

#include <functional>

#include <QMap>
#include <QStringList>
#include <QVector>

#include "common/statuslog.h"
#include "platform/services.h"

// Fakes of the platform services: they record what the program asked and answer from a script.
namespace fakes {

struct Message
{
    QString text;
    QString title;
    platform::Icon icon;
    bool question;
    platform::Answer defaultAnswer = platform::Answer::Yes;
};

class Dialogs : public platform::Dialogs
{
public:
    void message(const QString& text, const QString& title, platform::Icon icon) override
    {
        shown.push_back({ text, title, icon, false });
    }
    bool askYesNo(
        const QString& text, const QString& title, platform::Icon icon, platform::Answer defaultButton) override
    {
        shown.push_back({ text, title, icon, true, defaultButton });
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }
    QString saveFileName(const QString& title, const QString& proposedPath, const QString& filter) override
    {
        saveRequests << QStringList { title, proposedPath, filter };
        return savePath;
    }
    QString openFileName(const QString& title, const QString& proposedPath, const QString& filter) override
    {
        openRequests << QStringList { title, proposedPath, filter };
        return openPath;
    }
    QVector<Message> shown;
    QList<bool> answers;
    bool defaultAnswer = true;
    QVector<QStringList> saveRequests; // title, proposed path, filter of each save dialog
    QString savePath; // the answer of every save dialog; "" is Cancel
    QVector<QStringList> openRequests; // title, proposed path, filter of each open dialog
    QString openPath; // the answer of every open dialog; "" is Cancel
};

class Shell : public platform::Shell
{
public:
    bool open(const QString& target) override
    {
        opened << target;
        return opens;
    }
    bool copyFolder(const QString& source, const QString& destination, QString* error) override;
    QString localAppDataFolder() override { return appData; }
    // A desktop with a trash takes the file away; without one (hasTrash false) the file stays.
    bool moveToTrash(const QString& path) override;
    QStringList opened;
    bool opens = true; // false: the system has no program that opens anything
    QStringList copies;
    QString appData;
    bool hasTrash = true;
    QStringList trashed;
};

class Processes : public platform::Processes
{
public:
    bool startDetached(
        const QString& program, const QStringList& arguments, const QString& workingFolder, QString* error) override
    {
        started.push_back({ program, arguments, workingFolder });
        if (onStart)
            onStart();
        if (!succeed && error)
            *error = QStringLiteral("The program could not be started.");
        return succeed;
    }
    struct Start
    {
        QString program;
        QStringList arguments;
        QString workingFolder;
    };
    QVector<Start> started;
    bool succeed = true;
    std::function<void()> onStart; // runs at each start, to look at the program's state at that moment
};

class Sound : public platform::Sound
{
public:
    void playFile(const QString& path, int flags) override { files.push_back({ path, flags }); }
    void playMemory(const QByteArray& wave, int flags) override
    {
        memory.push_back({ wave.constData(), flags });
        lastBytes = wave;
    }
    void stop() override { ++stops; }
    QVector<QPair<QString, int>> files;
    QVector<QPair<const char*, int>> memory;
    QByteArray lastBytes;
    int stops = 0;
};

class Network : public platform::Network
{
public:
    bool isOnline() override { return online; }
    bool download(const QString& url, const QString& file, int timeoutMs, qint64 maxBytes) override;
    bool online = false;
    QStringList requested;
    QMap<QString, QByteArray> pages; // url -> body
};

class Registry : public platform::Registry
{
public:
    QString read(const QString& key, const QString& valueName, const QString& defaultText) override
    {
        reads << key + QLatin1Char('|') + valueName;
        return values.value(key + QLatin1Char('|') + valueName, defaultText);
    }
    void write(const QString& key, const QString& valueName, const QString& text) override
    {
        writes << key + QLatin1Char('|') + valueName;
        values[key + QLatin1Char('|') + valueName] = text;
    }
    QMap<QString, QString> values;
    QStringList reads;
    QStringList writes;
};

// Time moves only when the program lets events run, by step milliseconds each time.
class Clock : public platform::Clock
{
public:
    qint64 monotonicMs() override { return ms; }
    QDateTime now() override { return dateTime.addMSecs(ms); }
    void processEvents() override
    {
        ++eventPasses;
        ms += step;
        if (onEvents)
            onEvents();
    }
    qint64 ms = 0;
    qint64 step = 10;
    int eventPasses = 0;
    std::function<void()> onEvents; // runs at each pass, to act in the middle of a wait
    QDateTime dateTime { QDate(2026, 12, 8), QTime(10, 0) };
};

// All fakes, installed for the lifetime of the object.
struct Environment
{
    Environment();
    ~Environment();
    Dialogs dialogs;
    Shell shell;
    Processes processes;
    Sound sound;
    Network network;
    Registry registry;
    Clock clock;
    platform::Services previous;
};

// A start-up log that shows, registered for its lifetime; lines newest first, as the window shows them.
struct StatusLogLines : StatusLog
{
    StatusLogLines() { Set_Status_Log_Window(this); }
    ~StatusLogLines() override { Unset_Status_Log_Window(this); }
    void Put_Status_Line(const QString& text) override { lines.prepend(text); }
    void Set_Status_Log(const QString& text) override { lines = QStringList { text }; }
    bool Status_Log_Visible() const override { return true; }
    QStringList lines;
};

}
