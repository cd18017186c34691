#include "measure.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include <QElapsedTimer>
#include <valgrind/callgrind.h>

namespace bench {

Settings& settings()
{
    static Settings s;
    return s;
}

bool wanted(const QString& name)
{
    const QStringList& only = settings().only;
    return only.isEmpty()
        || std::any_of(only.begin(), only.end(), [&](const QString& part) { return name.contains(part); });
}

bool wantedAny(const QStringList& names)
{
    const QStringList& only = settings().only;
    return only.isEmpty() || std::any_of(only.begin(), only.end(), [&](const QString& part) {
        return std::any_of(
            names.begin(), names.end(), [&](const QString& n) { return n.contains(part) || part.contains(n); });
    });
}

namespace {
    double timedMs(const Work& work)
    {
        if (work.prepare)
            work.prepare();
        QElapsedTimer timer;
        timer.start();
        work.run();
        return static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }

    // Under callgrind only the work itself is counted, after a warm-up run: the dump carries the figure's name.
    void countInstructions(const Work& work, const QString& label)
    {
        if (work.prepare)
            work.prepare();
        work.run();
        if (work.prepare)
            work.prepare();
        CALLGRIND_ZERO_STATS;
        work.run();
        CALLGRIND_DUMP_STATS_AT(label.toUtf8().constData());
    }

    QString number(double ms) { return QString::number(ms, 'f', ms < 10 ? 2 : 1); }
}

void need(bool ok, const QString& what)
{
    if (!ok)
        throw std::runtime_error(what.toStdString());
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

Figure compare(const QString& name, const Work& measured, const Work& baseline, int repeats)
{
    Figure f { name };
    if (!wanted(name))
        return f;
    if (settings().callgrind) {
        countInstructions(measured, name);
        countInstructions(baseline, name + QStringLiteral(" (baseline)"));
        std::printf("%s: counted\n", qPrintable(name));
        std::fflush(stdout);
        return f;
    }
    const int n = std::max(1, repeats > 0 ? std::min(repeats, settings().repeats) : settings().repeats);
    std::vector<double> work;
    std::vector<double> floor;
    // One warm-up run of each, then the two alternately, so that a noisy moment falls on both.
    timedMs(measured);
    timedMs(baseline);
    for (int i = 0; i < n; ++i) {
        work.push_back(timedMs(measured));
        floor.push_back(timedMs(baseline));
    }
    f.ms = median(work);
    f.baselineMs = median(floor);
    print(f);
    return f;
}

void print(const Figure& f)
{
    std::printf("%s: %s ms (baseline %s ms, ratio %.2f)\n", qPrintable(f.name), qPrintable(number(f.ms)),
        qPrintable(number(f.baselineMs)), f.ratio());
    std::fflush(stdout);
}

void value(const QString& name, const QString& text)
{
    std::printf("%s: %s\n", qPrintable(name), qPrintable(text));
    std::fflush(stdout);
}

}
