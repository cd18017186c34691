#pragma once

#include <QString>

// Plays a WAVE file; flags as the simple sound player's (0 waits for the end).
void Play_Sound_File(const QString& path, int flags = 2);
// Plays a built-in WAVE ("click") from memory; the bytes stay alive until the next call.
// Throws std::runtime_error for a resource that does not exist.
void Play_Resource_Sound(const QString& name, int flags = 6);
// The click of buttons and links, played without waiting; a missing resource stays silent.
void Play_Click();
