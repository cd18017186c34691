#include "platform/lessons/speaker.h"

#include <QFile>
#include <QProcess>

#include "platform/lessons/soundcheck.h"
#include "platform/lessons/subjectfile.h"

namespace lessons {

namespace {

    QString runSpeaker(const Speaker& speaker, const QStringList& arguments, const QString& text, QByteArray* output)
    {
        QProcess process;
        // Text goes through standard input so that nothing in a phrase is read as an option.
        process.start(speaker.program, arguments + QStringList { QStringLiteral("--stdin") });
        if (!process.waitForStarted(10000))
            return QStringLiteral("cannot start %1: %2").arg(speaker.program, process.errorString());
        process.write(text.toUtf8());
        process.closeWriteChannel();
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            return QStringLiteral("%1 did not finish").arg(speaker.program);
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return QStringLiteral("%1 failed: %2")
                .arg(speaker.program, QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
        if (output)
            *output = process.readAllStandardOutput();
        return {};
    }

}

QString speak(const Speaker& speaker, const QString& voice, const QString& text, const QString& wavePath)
{
    const QString failure = runSpeaker(speaker,
        { QStringLiteral("-v"), voice, QStringLiteral("-s"), QString::number(speaker.wordsPerMinute),
            QStringLiteral("-w"), wavePath },
        text, nullptr);
    if (!failure.isEmpty())
        return failure;
    QFile wave(wavePath);
    if (!wave.open(QIODevice::ReadOnly))
        return QStringLiteral("%1 wrote no sound file").arg(speaker.program);
    const QByteArray spoken = wave.readAll();
    wave.close();
    if (const QString problem = waveProblem(spoken); !problem.isEmpty())
        return QStringLiteral("%1 wrote %2").arg(speaker.program, problem);
    // A short breath after the last word is all a phrase needs; the rest of espeak-ng's closing pause goes.
    const QByteArray trimmed = trimTrailingSilence(spoken, 200);
    if (trimmed.isEmpty() || !wave.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || wave.write(trimmed) != trimmed.size())
        return QStringLiteral("cannot write %1: %2").arg(wavePath, wave.errorString());
    return {};
}

QString pronunciation(const Speaker& speaker, const QString& voice, const QString& text, QString* error)
{
    QByteArray output;
    *error = runSpeaker(
        speaker, { QStringLiteral("-q"), QStringLiteral("--ipa"), QStringLiteral("-v"), voice }, text, &output);
    if (!error->isEmpty())
        return {};
    // espeak-ng puts each clause on a line of its own.
    QStringList clauses;
    for (const QString& line : QString::fromUtf8(output).split(u'\n')) {
        if (!line.trimmed().isEmpty())
            clauses << line.trimmed();
    }
    if (clauses.isEmpty()) {
        *error = QStringLiteral("%1 gave no pronunciation").arg(speaker.program);
        return {};
    }
    return u'/' + clauses.join(u' ') + u'/';
}

}
