#include "clock.h"
#include "foldercopy.h"
#include "services.h"
#include "tempfolder.h"
#include "wave.h"
#include "wholefile.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QNetworkReply>
#include <QProcess>
#include <QSettings>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace platform {

namespace {

    QMessageBox::Icon boxIcon(Icon icon)
    {
        switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::None:
            break;
        }
        return QMessageBox::NoIcon;
    }

    // Messages name files, folders, subjects and students as they are written, so none is read as markup.
    class QtDialogs : public Dialogs
    {
    public:
        void message(const QString& text, const QString& title, Icon icon) override
        {
            QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok);
            box.setTextFormat(Qt::PlainText);
            box.exec();
        }
        bool askYesNo(const QString& text, const QString& title, Icon icon, Answer defaultAnswer) override
        {
            QMessageBox box(boxIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No);
            box.setTextFormat(Qt::PlainText);
            box.setDefaultButton(defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
            return box.exec() == QMessageBox::Yes;
        }
        QString saveFileName(const QString& title, const QString& proposedPath, const QString& filter) override
        {
            return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, proposedPath, filter);
        }
        QString openFileName(const QString& title, const QString& proposedPath, const QString& filter) override
        {
            return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, proposedPath, filter);
        }
    };

    class QtShell : public Shell
    {
    public:
        bool open(const QString& target) override
        {
            const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
            return QDesktopServices::openUrl(url);
        }
        bool copyFolder(const QString& source, const QString& destination, QString* error) override
        {
            return copyFolderTree(source, destination, error);
        }
        QString localAppDataFolder() override
        {
            const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
            if (folder.isEmpty() || !QDir().mkpath(folder))
                return {};
            return QDir::toNativeSeparators(QDir::cleanPath(folder));
        }
        bool moveToTrash(const QString& path) override { return QFile::moveToTrash(path); }
    };

    class QtProcesses : public Processes
    {
    public:
        bool startDetached(
            const QString& program, const QStringList& arguments, const QString& workingFolder, QString* error) override
        {
            QProcess process;
            process.setProgram(program);
            process.setArguments(arguments);
            process.setWorkingDirectory(workingFolder);
            const bool ok = process.startDetached();
            if (!ok && error)
                *error = process.errorString();
            return ok;
        }
    };

    // Qt's sound effect never reports the end of a sound when no audio device exists, so a synchronous play
    // waits for the sound's own length at most.
    class QtSound : public Sound
    {
    public:
        void playFile(const QString& path, int flags) override
        {
            const WaveInfo info = readWaveFile(path);
            if (!info.valid)
                return;
            play(path, info.durationMs, flags);
        }
        void playMemory(const QByteArray& wave, int flags) override
        {
            const WaveInfo info = readWaveInfo(wave);
            if (!info.valid)
                return;
            // The player reads from a file; each sound gets a fresh one so a playing sound is never overwritten.
            // It is made new in this user's own folder and never reuses a name, so nobody can plant a link where it
            // goes; it is deleted with the next sound but one, or at exit.
            auto& file = m_memoryFiles[++m_memoryCount % 2];
            file = std::make_unique<QTemporaryFile>(privateTempFolder() + QStringLiteral("parlanta-sound-XXXXXX.wav"));
            if (!file->open() || file->write(wave) != wave.size() || !file->flush())
                return;
            file->close();
            play(file->fileName(), info.durationMs, flags);
        }
        void stop() override
        {
            if (m_effect)
                m_effect->stop();
        }

    private:
        void play(const QString& path, qint64 durationMs, int flags)
        {
            if (!m_effect)
                m_effect = new QSoundEffect(qApp);
            m_effect->stop();
            m_effect->setSource(QUrl());
            m_effect->setSource(QUrl::fromLocalFile(path));
            m_effect->play();
            if (flags & SndAsync)
                return;
            QElapsedTimer timer;
            timer.start();
            const qint64 limit = durationMs + 300;
            while (timer.elapsed() < limit) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                // A sound the player cannot decode ends at once, whatever length its header gave.
                if (m_effect->status() == QSoundEffect::Error)
                    break;
                if (timer.elapsed() > 200 && m_effect->status() == QSoundEffect::Ready && !m_effect->isPlaying())
                    break;
                QThread::msleep(5);
            }
        }
        QSoundEffect* m_effect = nullptr;
        std::unique_ptr<QTemporaryFile> m_memoryFiles[2];
        int m_memoryCount = 0;
    };

    class QtNetwork : public Network
    {
    public:
        bool isOnline() override
        {
            if (QNetworkInformation::loadDefaultBackend() && QNetworkInformation::instance()
                && QNetworkInformation::instance()->supports(QNetworkInformation::Feature::Reachability)) {
                return QNetworkInformation::instance()->reachability() == QNetworkInformation::Reachability::Online;
            }
            // Without a backend: online only when an interface other than loopback is up with an address.
            for (const QNetworkInterface& nif : QNetworkInterface::allInterfaces()) {
                const auto f = nif.flags();
                if (f.testFlag(QNetworkInterface::IsUp) && f.testFlag(QNetworkInterface::IsRunning)
                    && !f.testFlag(QNetworkInterface::IsLoopBack) && !nif.addressEntries().isEmpty())
                    return true;
            }
            return false;
        }
        bool download(const QString& url, const QString& file, int timeoutMs, qint64 maxBytes) override
        {
            QNetworkAccessManager manager;
            QNetworkRequest request { QUrl(url) };
            request.setTransferTimeout(timeoutMs);
            request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
            QNetworkReply* reply = manager.get(request);
            // The reply is taken as it arrives, so a site sending too much is cut off rather than held in memory.
            reply->setReadBufferSize(maxBytes + 1);
            QByteArray body;
            bool tooLong = false;
            QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
                body += reply->read(maxBytes + 1 - body.size());
                if (body.size() > maxBytes) {
                    tooLong = true;
                    reply->abort();
                }
            });
            QEventLoop loop;
            QTimer deadline;
            deadline.setSingleShot(true);
            QObject::connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
            QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
            deadline.start(timeoutMs);
            if (!reply->isFinished())
                loop.exec();
            if (!tooLong && reply->error() == QNetworkReply::NoError)
                body += reply->read(maxBytes + 1 - body.size());
            const bool ok = !tooLong && body.size() <= maxBytes && reply->error() == QNetworkReply::NoError;
            reply->disconnect();
            reply->deleteLater();
            if (!ok)
                return false;
            return writeWholeFile(file, body);
        }
    };

    class QtRegistry : public Registry
    {
    public:
        QString read(const QString& key, const QString& valueName, const QString& defaultText) override
        {
            const auto settings = open(key);
            const QVariant v = settings->value(valueName);
            return v.isValid() && v.canConvert<QString>() ? v.toString() : defaultText;
        }
        void write(const QString& key, const QString& valueName, const QString& text) override
        {
            auto settings = open(key);
            settings->setValue(valueName, text);
            settings->sync();
        }

    private:
        // "Software\Parlanta\prlale" is QSettings("Parlanta", "prlale"): on Windows the very same key.
        static std::unique_ptr<QSettings> open(const QString& key)
        {
            QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
            if (!parts.isEmpty() && parts.first().compare(QStringLiteral("Software"), Qt::CaseInsensitive) == 0)
                parts.removeFirst();
            const QString organisation = parts.isEmpty() ? QStringLiteral("Parlanta") : parts.takeFirst();
            return std::make_unique<QSettings>(organisation, parts.join(QLatin1Char('/')));
        }
    };

    class QtClock : public Clock
    {
    public:
        QtClock() { m_timer.start(); }
        qint64 monotonicMs() override { return m_timer.elapsed(); }
        QDateTime now() override { return currentUtc().toLocalTime(); }
        void processEvents() override
        {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }

    private:
        QElapsedTimer m_timer;
    };

}

void installQtServices()
{
    static QtDialogs dialogs;
    static QtShell shell;
    static QtProcesses processes;
    static QtSound sound;
    static QtNetwork network;
    static QtRegistry registry;
    static QtClock clock;
    installServices({ &dialogs, &shell, &processes, &sound, &network, &registry, &clock });
}

}
