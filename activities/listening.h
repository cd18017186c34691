#pragma once

struct Session;
struct SubjectRef;

// The "hear phrase" command: plays the selected node when it is a phrase.
void Hear_Phrase(const SubjectRef& selected, const Session& session);

// Shows the phrase's text and plays its sound, taken from the installed subject of the session's folder the
// phrase belongs to; nothing when that subject file is gone.
void Listen_to_Phrase(const SubjectRef& phrase, const Session& session);
// The sound file the last phrase heard was written to; gone when the program ends.
void Delete_Listening_File();

constexpr int ListenNoticeHeight = 1500; // twips
