// The benchmark: school-size data in a temporary program folder, one line per figure,
//   name: X ms (baseline Y ms, ratio R)
// where the baseline is the least work that yields the same data, run alternately in the same process.
//
//   parlanta_bench [--only 'part|part'] [--repeats N] [--school DIR] [--callgrind]
//
// --only runs the figures whose names contain one of the parts (separated by |); --school keeps the school-size program
// folder in DIR and uses it again on the next run; --callgrind runs each side once between callgrind's dumps.

#include <cstdio>
#include <exception>

#include <QApplication>
#include <QElapsedTimer>

#include "bench/benchservices.h"
#include "bench/figures.h"
#include "bench/measure.h"
#include "bench/school.h"

namespace {
void usage()
{
    std::fprintf(stderr, "usage: parlanta_bench [--only 'part|part'] [--repeats N] [--school DIR] [--callgrind]\n");
}
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    QStringList args = app.arguments().mid(1);
    if (args.size() >= 3 && args[0] == QStringLiteral("--startup-child"))
        return bench::startupChild(args[1], args[2].toLongLong(), args.value(3) == QStringLiteral("real-wait"));

    bench::Settings& s = bench::settings();
    QString keepSchool;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QStringLiteral("--only") && !args.isEmpty())
            s.only = args.takeFirst().split(QLatin1Char('|'), Qt::SkipEmptyParts);
        else if (arg == QStringLiteral("--repeats") && !args.isEmpty())
            s.repeats = qMax(1, args.takeFirst().toInt());
        else if (arg == QStringLiteral("--school") && !args.isEmpty())
            keepSchool = args.takeFirst();
        else if (arg == QStringLiteral("--callgrind"))
            s.callgrind = true;
        else {
            usage();
            return 2;
        }
    }
    try {
        QElapsedTimer made;
        made.start();
        const bench::ProgramFolder school(bench::stageFolder(), true, keepSchool);
        std::printf("# school: %d installed subjects of %d phrases (%d KB sounds), %d virtual files of %d subjects, "
                    "%d students, %d results, %d phrase results; made in %.1f s\n",
            bench::InstalledSubjects, bench::PhrasesPerSubject, bench::SoundBytes / 1024, bench::VirtualFiles,
            bench::VirtualSubjectsPerFile, bench::Students, bench::Results, bench::PhraseResults,
            made.elapsed() / 1000.0);
        std::printf("# median of %d runs of each side after a warm-up run; times in ms\n", s.repeats);
        std::fflush(stdout);
        bench::Environment env;
        // The designed waits (the start-up's second, the busy notices' pauses) are no one's work to speed up; the
        // start-up figures measure theirs apart.
        env.clock.skipWaits = true;
        bench::Group::runAll({ school, app.applicationFilePath() });
    } catch (const std::exception& e) {
        std::fprintf(stderr, "parlanta_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
