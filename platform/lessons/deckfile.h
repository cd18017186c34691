#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "platform/lessons/outcome.h"

namespace lessons {

// The most a deck file may weigh, sounds outside it: far above any teacher's word list, low enough that a wrong
// file (a film, a disk image) is refused at once rather than read into memory.
constexpr qint64 MaxDeckFileBytes = 64 * 1024 * 1024;
// The most notes a deck may hold: a lifetime of vocabulary, yet a bound on the memory a crafted file can take.
constexpr int MaxDeckNotes = 100'000;

// The whole of a deck file, or nullopt with an error in outcome when it is missing, unreadable or too large.
std::optional<QByteArray> readDeckFile(const QString& path, Outcome& outcome);

}
