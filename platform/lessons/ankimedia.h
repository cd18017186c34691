#pragma once

#include <memory>

#include <QString>

#include "platform/lessons/deck.h"

namespace lessons {

class ZipArchive;

// The sounds and pictures of an Anki package, read from its zip one at a time as they are asked for, so a deck of
// thousands of notes never holds its media in memory at once. newer: the layout whose media list is a protocol
// buffer and whose media are compressed with zstd. Problems with the list itself go to *outcome as warnings: the
// notes are still worth having without their sounds. zip may be null (a file that is no zip): no medium is found.
std::shared_ptr<const MediaSource> ankiMedia(
    const QString& path, std::shared_ptr<const ZipArchive> zip, bool newer, qint64 mediumBytes, Outcome* outcome);

}
