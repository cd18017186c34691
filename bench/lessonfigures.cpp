// Importing another program's lessons: an Anki package of 5,000 notes, each with an MP3 sound of one and a half
// seconds, made into subjects, against decoding the same sounds alone; and the subject tool's peak memory for it.

#include <algorithm>
#include <cmath>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sndfile.h>

#include "bench/figures.h"
#include "bench/measure.h"
#include "platform/lessons/ankipackage.h"
#include "platform/lessons/audiodecode.h"
#include "platform/lessons/lessonexport.h"
#include "platform/lessons/lessonimport.h"
#include "platform/lessons/products.h"

namespace bench {

namespace {

    using namespace lessons;

    const QString ImportFigure = QStringLiteral("lesson import, Anki package of 5,000 notes with MP3 sounds");
    const QString MemoryFigure = QStringLiteral("lesson import, subject tool's peak memory for the same package");

    constexpr int Notes = 5000;
    constexpr int Rate = 44100; // as most recorded and synthesised decks have it, so every sound is resampled
    const QString Code = QStringLiteral("prlale");

    // One and a half seconds that sound like three syllables: a voice's harmonics on a gliding pitch of its own
    // for each note, under a syllable envelope, so the coder works as hard as on speech.
    std::vector<float> speechLike(int note)
    {
        std::vector<float> samples(size_t(Rate * 3 / 2));
        const double base = 100 + note % 97;
        double phase = 0;
        for (size_t i = 0; i < samples.size(); ++i) {
            const double t = double(i) / Rate;
            const double syllable = std::fmod(t, 0.5);
            const double envelope = syllable < 0.4 ? std::pow(std::sin(M_PI * syllable / 0.4), 2) : 0;
            phase += 2 * M_PI * base * (1 + 0.2 * std::sin(2 * M_PI * t / 1.5)) / Rate;
            double v = 0;
            for (int h = 1; h <= 6; ++h)
                v += std::sin(h * phase) / h;
            samples[i] = float(0.3 * envelope * v);
        }
        return samples;
    }

    QByteArray mp3(const std::vector<float>& samples, const QString& path)
    {
        SF_INFO info {};
        info.samplerate = Rate;
        info.channels = 1;
        info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
        SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
        need(file, QStringLiteral("libsndfile cannot encode MP3: %1").arg(QString::fromUtf8(sf_strerror(nullptr))));
        sf_writef_float(file, samples.data(), sf_count_t(samples.size()));
        sf_close(file);
        QFile written(path);
        need(written.open(QIODevice::ReadOnly), QStringLiteral("no MP3 written"));
        return written.readAll();
    }

    // Peak resident memory of the subject tool run with arguments, in MB. The kernel's account of a finished child
    // (wait4's ru_maxrss) keeps the peak of the process that started it, carried over the exec; so the child's own
    // high-water mark is read while it runs, and the last reading before its end is the figure.
    double toolPeakMb(const QStringList& arguments)
    {
        QProcess tool;
        tool.setStandardOutputFile(QProcess::nullDevice());
        tool.setStandardErrorFile(QProcess::nullDevice());
        tool.start(QStringLiteral(SUBJECT_TOOL), arguments);
        need(tool.waitForStarted(), QStringLiteral("cannot start the subject tool"));
        QFile status(QStringLiteral("/proc/%1/status").arg(tool.processId()));
        qint64 peakKb = 0;
        do {
            if (status.open(QIODevice::ReadOnly)) {
                for (const QByteArray& line : status.readAll().split('\n')) {
                    if (line.startsWith("VmHWM:"))
                        peakKb = std::max(peakKb, line.mid(6).trimmed().split(' ').value(0).toLongLong());
                }
                status.close();
            }
        } while (!tool.waitForFinished(10));
        need(tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0,
            QStringLiteral("the subject tool failed: %1").arg(arguments.join(u' ')));
        return double(peakKb) / 1024;
    }

    void lessonFigures()
    {
        const QTemporaryDir work;
        std::vector<QByteArray> sounds;
        QList<Lesson> deck;
        for (int n = 0; n < Notes; ++n) {
            if (n % 10 == 0)
                deck << Lesson { QStringLiteral("Lektion %1").arg(n / 10 + 1), {} };
            sounds.push_back(mp3(speechLike(n), work.filePath(QStringLiteral("sound.mp3"))));
            deck.last().phrases << LessonPhrase { QStringLiteral("Satz Nummer %1").arg(n + 1),
                QStringLiteral("frase número %1").arg(n + 1), {}, sounds.back() };
        }
        const QString package = work.filePath(QStringLiteral("wortschatz.apkg"));
        need(writeAnkiPackage(deck, QStringLiteral("Wortschatz"), languagesOf(*findProduct(Code)), package).ok(),
            QStringLiteral("no Anki package written"));
        deck.clear();
        qint64 mp3Bytes = 0;
        for (const QByteArray& s : sounds)
            mp3Bytes += s.size();
        std::printf("# lesson import: %d notes in subjects of 10, MP3 of 1.5 s at 44.1 kHz (%lld KB each on "
                    "average), package %.1f MB\n",
            Notes, mp3Bytes / Notes / 1024, double(QFileInfo(package).size()) / (1 << 20));
        std::fflush(stdout);

        const QString folder = work.filePath(QStringLiteral("subjects"));
        compare(ImportFigure,
            { [&] {
                 const Deck deck = readDeck(package);
                 const ImportPlan plan = planImport(deck, { guessMapping(deck, Code), Code, false, {} });
                 QStringList written;
                 need(writeImport(plan, folder, {}, &written).ok() && written.size() == Notes / 10,
                     QStringLiteral("the import did not write every subject"));
                 need(plan.outcome.warnings.isEmpty(), plan.outcome.warnings.value(0));
             },
                [&] { QDir(folder).removeRecursively(); } },
            { [&] {
                QString problem;
                for (const QByteArray& s : sounds)
                    need(!decodeToWave(s, &problem).isEmpty(), problem);
            } },
            1);

        if (wanted(MemoryFigure)) {
            QDir(folder).removeRecursively();
            const double preview = toolPeakMb({ "import", "--preview", "--code", Code, package, folder });
            const double imported = toolPeakMb({ "import", "--no-speech", "--code", Code, package, folder });
            need(
                QDir(folder).entryList(QDir::Files).size() == Notes / 10, QStringLiteral("the tool left out subjects"));
            value(MemoryFigure,
                QStringLiteral("%1 MB peak resident (the package read alone, --preview: %2 MB)")
                    .arg(imported, 0, 'f', 1)
                    .arg(preview, 0, 'f', 1));
        }
    }

    const Group registered(90, [](const Context&) {
        if (wantedAny({ ImportFigure, MemoryFigure }))
            lessonFigures();
    });

}

}
