#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The services of the operating system the program uses, behind small interfaces so that tests can
// put fakes in their place (a test never blocks on a modal box, opens a browser or waits a real second).
namespace platform {

enum class Icon { None, Information, Warning, Critical, Question };
// The button that Enter presses in a question; a question whose Yes destroys data defaults to No.
enum class Answer { Yes, No };

class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // The standard message box with an OK button.
    virtual void message(const QString& text, const QString& title, Icon icon) = 0;
    // The standard Yes / No question; true for Yes.
    virtual bool askYesNo(const QString& text, const QString& title, Icon icon, Answer defaultAnswer) = 0;
    // The standard dialog that chooses a file to write, starting at proposedPath; "" when the user cancels.
    virtual QString saveFileName(const QString& title, const QString& proposedPath, const QString& filter) = 0;
    // The standard dialog that chooses an existing file to read, starting at proposedPath; "" when the user cancels.
    virtual QString openFileName(const QString& title, const QString& proposedPath, const QString& filter) = 0;
};

class Shell
{
public:
    virtual ~Shell() = default;
    // Opens a web address, a local page or a folder with its associated program.
    virtual bool open(const QString& target) = 0;
    // Copies the folder source with all its contents to destination; false with a reason on failure.
    virtual bool copyFolder(const QString& source, const QString& destination, QString* error) = 0;
    // The user's local application data folder without a trailing separator, "" when there is none.
    virtual QString localAppDataFolder() = 0;
    // Moves a file to the desktop's trash, where the user can still get it back; false when there is no trash.
    virtual bool moveToTrash(const QString& path) = 0;
};

class Processes
{
public:
    virtual ~Processes() = default;
    virtual bool startDetached(
        const QString& program, const QStringList& arguments, const QString& workingFolder, QString* error)
        = 0;
};

// Flags of the simple sound player.
enum SoundFlag { SndSync = 0, SndAsync = 1, SndNoDefault = 2, SndMemory = 4 };

class Sound
{
public:
    virtual ~Sound() = default;
    virtual void playFile(const QString& path, int flags) = 0;
    // Plays WAVE bytes that the caller keeps alive until the next call.
    virtual void playMemory(const QByteArray& wave, int flags) = 0;
    virtual void stop() = 0;
};

class Network
{
public:
    virtual ~Network() = default;
    virtual bool isOnline() = 0;
    // Downloads url into file; false on any failure, when timeoutMs passes first or when the reply is longer than
    // maxBytes (the transfer stops there, and nothing is written).
    virtual bool download(const QString& url, const QString& file, int timeoutMs, qint64 maxBytes) = 0;
};

class Registry
{
public:
    virtual ~Registry() = default;
    // key is "Software\<organisation>\<program code>" under the current user.
    virtual QString read(const QString& key, const QString& valueName, const QString& defaultText) = 0;
    virtual void write(const QString& key, const QString& valueName, const QString& text) = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    // Milliseconds on a clock that never jumps back.
    virtual qint64 monotonicMs() = 0;
    virtual QDateTime now() = 0;
    // Lets pending window events run.
    virtual void processEvents() = 0;
};

struct Services
{
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    Processes* processes = nullptr;
    Sound* sound = nullptr;
    Network* network = nullptr;
    Registry* registry = nullptr;
    Clock* clock = nullptr;
};

// The services in use; the program installs the Qt ones at start, tests install fakes.
Services& services();
void installServices(const Services& s);
// Installs the Qt implementations (owned by the platform layer for the whole run).
void installQtServices();

// Twips to device-independent pixels: 1440 twips per inch at the screen's logical DPI (15 per pixel at 96 dpi).
int twips(int value);
int toTwips(int pixels);

}
