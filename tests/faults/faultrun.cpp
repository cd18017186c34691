#include "faultrun.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>

namespace faults {

namespace {
    const QString ShimPrefix = QStringLiteral("parlanta-fault: ");

    // "step N what [path] [bytes=B]" or "kill at step N what ...", as the shim writes it.
    Step parseStep(const QString& line)
    {
        // The size comes last; it is taken off first, so that a path with blanks keeps all of them.
        static const QRegularExpression size(QStringLiteral(" bytes=(\\d+)$"));
        static const QRegularExpression pattern(QStringLiteral("^(?:kill at )?step \\d+ (\\S+)(?: (.*))?$"));
        QString rest = line;
        Step s;
        const QRegularExpressionMatch b = size.match(rest);
        s.bytes = b.hasMatch() ? b.captured(1).toLongLong() : -1;
        if (b.hasMatch())
            rest.chop(b.capturedLength(0));
        const QRegularExpressionMatch m = pattern.match(rest);
        s.what = m.captured(1);
        s.path = m.captured(2);
        return s;
    }
}

QStringList ChildRun::values(const QString& key) const
{
    QStringList found;
    for (const QString& line : output) {
        if (line.startsWith(key + u' '))
            found << line.mid(key.size() + 1);
        else if (line == key)
            found << QString();
    }
    return found;
}

QString ChildRun::describe() const
{
    QStringList parts {
        QStringLiteral("exit %1%2").arg(exitCode).arg(killed ? QStringLiteral(" (killed)") : QString())
    };
    parts << output;
    if (!errors.trimmed().isEmpty())
        parts << QStringLiteral("stderr: ") + errors.trimmed();
    return parts.join(QStringLiteral(" | "));
}

QString shimPath()
{
#if defined(Q_OS_LINUX) && defined(PARLANTA_FAULT_SHIM)
    return QStringLiteral(PARLANTA_FAULT_SHIM);
#else
    return {};
#endif
}

ChildRun runChild(const QStringList& arguments, const Fault& fault)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& key : fault.extra.keys())
        env.insert(key, fault.extra.value(key));
    env.insert(QStringLiteral("LD_PRELOAD"), shimPath());
    // A build with the address sanitizer wants its own library first; the shim only passes calls on.
    env.insert(QStringLiteral("ASAN_OPTIONS"),
        env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
    env.insert(QStringLiteral("PARLANTA_FAULT_DIR"), fault.folder);
    env.insert(QStringLiteral("PARLANTA_FAULT_TRACE"), QStringLiteral("1"));
    env.remove(QStringLiteral("PARLANTA_FAULT_KILL_AT"));
    env.remove(QStringLiteral("PARLANTA_FAULT_FULL_AFTER"));
    if (fault.killAt > 0)
        env.insert(QStringLiteral("PARLANTA_FAULT_KILL_AT"), QString::number(fault.killAt));
    if (fault.fullAfter >= 0)
        env.insert(QStringLiteral("PARLANTA_FAULT_FULL_AFTER"), QString::number(fault.fullAfter));

    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    ChildRun run;
    run.started = child.waitForStarted() && child.waitForFinished(60000);
    if (!run.started) {
        child.kill();
        child.waitForFinished();
        run.errors = child.errorString();
        return run;
    }
    run.killed = child.exitStatus() == QProcess::CrashExit;
    run.exitCode = child.exitCode();
    for (const QString& line : QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts))
        run.output << line;
    static const QRegularExpression totals(QStringLiteral("^steps=(\\d+) bytes=(\\d+)$"));
    QStringList other;
    for (const QString& line : QString::fromUtf8(child.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts)) {
        if (!line.startsWith(ShimPrefix)) {
            other << line;
            continue;
        }
        const QString said = line.mid(ShimPrefix.size());
        const QRegularExpressionMatch m = totals.match(said);
        if (m.hasMatch()) {
            run.totalSteps = m.captured(1).toLong();
            run.totalBytes = m.captured(2).toLongLong();
        } else {
            run.steps << parseStep(said);
        }
    }
    run.errors = other.join(u'\n');
    return run;
}

}
