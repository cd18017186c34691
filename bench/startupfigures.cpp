// Start-up to the login window, each run in a fresh process of this program, as a learner starts it. The
// one-second wait of the start-up sequence is part of its design: the runs skip it and one run measures it apart.

#include <cstdio>
#include <stdexcept>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>

#include "app/frmmain.h"
#include "app/modmain.h"
#include "bench/benchservices.h"
#include "bench/figures.h"
#include "bench/measure.h"
#include "bench/raw.h"
#include "bench/school.h"
#include "bench/startedprogram.h"
#include "students/frmlogin.h"
#include "students/schoolsettings.h"

namespace bench {

namespace {
    // What start-up must read at the least: the template's texts, the students, the three folders, every virtual
    // file's subjects and the activities' pictures.
    void readLikeStartUp(const QString& folder)
    {
        const ProgramFolder::Layout layout = ProgramFolder::layoutOf(folder);
        raw::select(folder + QStringLiteral("Parlanta.tpl"),
            { "SELECT * FROM tblCaptions", "SELECT * FROM tblSystemMessages", "SELECT * FROM tblTips",
                "SELECT * FROM tblMenu" });
        // Before the first start the students come from the template's empty user database.
        const QString users = folder + QStringLiteral("Users.dat");
        raw::select(
            QFile::exists(users) ? users : folder + QStringLiteral("Parlanta.tpl"), { "SELECT * FROM tblUsers" });
        raw::list(layout.installed, QStringLiteral("*.") + layout.extension);
        for (const QString& name : raw::list(layout.virtualFiles, QStringLiteral("*.v") + layout.extension))
            raw::select(layout.virtualFiles + name, { "SELECT * FROM tblParents" });
        const QString activities = folder + QStringLiteral("Activities/");
        raw::list(activities, QStringLiteral("*.exe"));
        for (const QString& name : raw::list(activities, QStringLiteral("*.cfg")))
            raw::select(activities + name, { "SELECT * FROM tblImages" });
    }

    qint64 residentKb()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
        return -1;
    }

    struct ChildRun
    {
        double ms = 0;
        double baselineMs = 0;
        double residentMb = 0;
    };

    ChildRun runChild(const QString& self, const QString& folder, bool realWait)
    {
        QProcess child;
        // The child counts from here: loading the program and its libraries is part of what a learner waits for.
        QStringList args { QStringLiteral("--startup-child"), folder,
            QString::number(QDateTime::currentMSecsSinceEpoch()) };
        if (realWait)
            args << QStringLiteral("real-wait");
        child.start(self, args);
        if (!child.waitForFinished(120000) || child.exitCode() != 0)
            throw std::runtime_error(QStringLiteral("start-up run failed: %1")
                                         .arg(QString::fromUtf8(child.readAllStandardError()))
                                         .toStdString());
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() != 3)
            throw std::runtime_error("start-up run printed no figures");
        return { fields[0].toDouble(), fields[1].toDouble(), fields[2].toDouble() / 1024.0 };
    }

    void startUp(const Context& context, const QString& label, const QString& folder, int repeats)
    {
        const QString name = QStringLiteral("start-up to the login window beyond the one-second wait, ") + label;
        if (!wanted(name))
            return;
        std::vector<double> ms, baseline, memory;
        runChild(context.self, folder, false);
        for (int i = 0; i < repeats; ++i) {
            const ChildRun run = runChild(context.self, folder, false);
            ms.push_back(run.ms);
            baseline.push_back(run.baselineMs);
            memory.push_back(run.residentMb);
        }
        print({ name, median(ms), median(baseline) });
        value(QStringLiteral("resident memory after start-up, ") + label,
            QString::number(median(memory), 'f', 1) + QStringLiteral(" MB"));
    }

    void startupGroup(const Context& context)
    {
        if (settings().callgrind)
            return;
        const ProgramFolder shipped(stageFolder(), false);
        const int repeats = qMax(3, settings().repeats / 3);
        startUp(context, QStringLiteral("shipped content"), shipped.path(), repeats);
        startUp(context, QStringLiteral("2000 subjects"), context.school.path(), repeats);
        // A school server that takes the connection and never answers: the exchange waits out its two seconds on
        // its own thread, and the learner should not wait for it. The baseline is the start-up without a server.
        const QString silent = QStringLiteral("start-up to the login window, school server that never answers");
        if (wanted(silent)) {
            QTcpServer mute;
            if (!mute.listen(QHostAddress::LocalHost))
                throw std::runtime_error("no port for the silent server");
            const ProgramFolder withServer(stageFolder(), false);
            platform::ServerAddress address;
            address.host = QStringLiteral("127.0.0.1");
            address.port = mute.serverPort();
            address.database = QStringLiteral("school");
            QString error;
            if (!Write_School_Settings(withServer.path(), address, &error))
                throw std::runtime_error(error.toStdString());
            std::vector<double> with, without;
            for (int i = 0; i <= repeats; ++i) {
                without.push_back(runChild(context.self, shipped.path(), false).ms);
                with.push_back(runChild(context.self, withServer.path(), false).ms);
            }
            print({ silent, median(with), median(without) });
        }
        const QString wait = QStringLiteral("start-up one-second wait (by design)");
        if (wanted(wait)) {
            const ChildRun skipped = runChild(context.self, shipped.path(), false);
            const ChildRun real = runChild(context.self, shipped.path(), true);
            value(wait, QString::number(real.ms - skipped.ms, 'f', 0) + QStringLiteral(" ms"));
        }
    }

    const Group registered(10, startupGroup);
}

int startupChild(const QString& programFolder, qint64 spawnedAtMs, bool realWait)
{
    Environment env;
    env.clock.skipWaits = !realWait;
    const QString folder = QDir(programFolder).absolutePath() + QLatin1Char('/');
    modMain = Session();
    modMain.ProgramDir = folder;
    frmMain main;
    if (!main.Form_Load() || !main.login() || !main.login()->isVisible())
        return 1;
    settle();
    const qint64 ms = QDateTime::currentMSecsSinceEpoch() - spawnedAtMs;
    const qint64 resident = residentKb();

    QElapsedTimer timer;
    timer.start();
    readLikeStartUp(folder);
    const double baseline = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    std::printf("%lld %.3f %lld\n", static_cast<long long>(ms), baseline, static_cast<long long>(resident));
    return 0;
}

}
