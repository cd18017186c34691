#pragma once

class QTreeWidgetItem;

// The "hear phrase" command: plays the selected node when it is a phrase, that is neither a folder nor a
// node whose parent is a folder (folders are the only bold nodes).
void Hear_Phrase(QTreeWidgetItem* selected);

// Shows the phrase's text and plays its sound, taken from the installed subject the phrase belongs to;
// nothing when that subject file is gone.
void Listen_to_Phrase(QTreeWidgetItem* phraseNode);
// The sound file the last phrase heard was written to; gone when the program ends.
void Delete_Listening_File();

constexpr int ListenNoticeHeight = 1500; // twips
