#include "customrules.h"

CommandStates Command_States(NodeKind selected)
{
    switch (selected) {
    case NodeKind::Top:
        return { true, true, true };
    case NodeKind::Middle:
        return { false, true, true };
    case NodeKind::Phrase:
        return { false, false, true };
    case NodeKind::None:
        break;
    }
    return {};
}

EditOutcome Label_Edit_Outcome(NodeKind edited, const QString& newText)
{
    if (newText.trimmed().isEmpty())
        return EditOutcome::Refuse;
    switch (edited) {
    case NodeKind::Top:
        return EditOutcome::RenameFile;
    case NodeKind::Middle:
        return EditOutcome::RenameSubject;
    case NodeKind::Phrase:
    case NodeKind::None:
        break;
    }
    return EditOutcome::Keep;
}

int Rename_Refusal_Text(RenameResult result)
{
    switch (result) {
    case RenameResult::Blank:
        return 124;
    case RenameResult::Forbidden:
        return 170;
    case RenameResult::Exists:
        return 125;
    case RenameResult::TooLong:
        return 176;
    case RenameResult::Done:
    case RenameResult::Unchanged:
        break;
    }
    return 0;
}
