#pragma once

#include <optional>

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include "platform/lessons/outcome.h"

namespace lessons {

// The most a deck file may weigh, sounds outside it: far above any teacher's word list, low enough that a wrong
// file (a film, a disk image) is refused at once rather than read into memory.
constexpr qint64 MaxDeckFileBytes = 64 * 1024 * 1024;
// The most notes a deck may hold: a lifetime of vocabulary, yet a bound on the memory a crafted file can take.
constexpr int MaxDeckNotes = 100'000;

// All of device up to its end, or nullopt when it holds more than limit bytes. It takes memory as the bytes come,
// where QIODevice::read(limit) would set aside the whole limit for even the smallest file and keep it. A read
// error ends the bytes early; the caller asks the device.
std::optional<QByteArray> readAtMost(QIODevice& device, qint64 limit);

// The whole of a deck file, or nullopt with an error in outcome when it is missing, unreadable or too large.
std::optional<QByteArray> readDeckFile(const QString& path, Outcome& outcome);

}
