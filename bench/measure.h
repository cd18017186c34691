#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

// Timing of one figure against its baseline: the least work that yields the same data, run in the same
// process and the same run, so that the ratio holds on a noisy machine.
namespace bench {

struct Work
{
    std::function<void()> run;
    // Untimed, before each run: puts back what the previous run changed.
    std::function<void()> prepare = {};
};

struct Figure
{
    QString name;
    double ms = 0;
    double baselineMs = 0;
    double ratio() const { return baselineMs > 0 ? ms / baselineMs : 0; }
};

struct Settings
{
    int repeats = 15; // runs of each side, after one warm-up run each
    QStringList only; // when not empty, figures whose names contain none of these are skipped
    bool callgrind = false; // one run of each side, its instructions dumped under the figure's name
};
Settings& settings();

// Whether the figure is to be run at all (--only); compare skips the others itself.
bool wanted(const QString& name);
// Whether any of the figures whose names begin with these is wanted: a group sets up nothing otherwise.
bool wantedAny(const QStringList& names);

// Runs the measured work and the baseline alternately, median of each, and prints
//   name: X ms (baseline Y ms, ratio R)
// heavy figures pass fewer repeats.
Figure compare(const QString& name, const Work& measured, const Work& baseline, int repeats = 0);

// Prints a figure measured elsewhere (in other processes) in the same form as compare.
void print(const Figure& figure);

// A figure that has no baseline of its own, such as memory or the designed wait: "name: text".
void value(const QString& name, const QString& text);

double median(std::vector<double> values);
// Stops the run with what went wrong: a figure whose work did not do what it should is no figure.
void need(bool ok, const QString& what);

}
