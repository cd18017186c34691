#pragma once

#include <QString>

// The groups of figures; each prints its lines. They share one school-size program folder (school.h); a
// figure that changes it puts it back before it ends.
namespace bench {

class ProgramFolder;

struct Context
{
    const ProgramFolder& school;
    QString self; // this program, for figures measured in fresh processes
};

// A group of figures registers itself from its own file (bench/<name>figures.cpp, found by the build), at its
// end, for example in an anonymous namespace:
//   const Group registered(40, [](const Context& c) { customFigures(c.school); });
// The groups run in their order: start-up 10, tree 20, launch 30, custom editor 40, tracked scores 50, phrase
// memory 60, review folder 65, speech 70, school server 80, lesson import 90.
class Group
{
public:
    Group(int order, void (*run)(const Context&));
    static void runAll(const Context& context);
};

// Start-up in fresh processes of this program, from the process start to the login window shown, with the
// shipped content and with the school.
void startupFigures(const Context& context);
// The subject tree: built hidden and shown, a subject's phrases, the random phrases.
void treeFigures(const ProgramFolder& school);
// Starting an activity on a subject of ten phrases.
void launchFigures(const ProgramFolder& school);
// The custom subject editor: opening it and dropping a whole subject.
void customFigures(const ProgramFolder& school);
// The tracked-scores window and an activity's result row, with the school's results.
void scoresFigures(const ProgramFolder& school);

// The child side of startupFigures: one start-up of the program folder, its figures printed for the parent.
// spawnedAtMs is the parent's clock (milliseconds since the epoch) when it started the child.
int startupChild(const QString& programFolder, qint64 spawnedAtMs, bool realWait);

}
