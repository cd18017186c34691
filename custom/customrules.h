#pragma once

#include <QString>

#include "custom/customnodes.h"
#include "custom/virtualfiles.h"

// Which of the editor's commands a click on a node of TreeVirtual leaves enabled. mnuNew follows
// btnNewSubject; mnuDelete and mnuRename stay enabled and look at the selection themselves.
struct CommandStates
{
    bool newSubject = false;
    bool rename = false;
    bool remove = false;
    bool operator==(const CommandStates&) const = default;
};
CommandStates Command_States(NodeKind selected);

// What the end of a label edit in TreeVirtual does with the text typed.
enum class EditOutcome {
    Refuse, // a blank text: interface text 124, and the edit starts again
    RenameFile,
    RenameSubject,
    Keep, // a phrase stores nothing
};
EditOutcome Label_Edit_Outcome(NodeKind edited, const QString& newText);

// The interface text that refuses a file's new name, 0 for a rename that was done or not needed.
int Rename_Refusal_Text(RenameResult result);
