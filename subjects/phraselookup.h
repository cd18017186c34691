#pragma once

#include <optional>

#include <QHash>
#include <QString>

#include "common/phrasetext.h"
#include "subjects/subjectchecks.h"
#include "subjects/subjectfile.h"

struct Session;

// The phrases the results name ("zoo.ale#3"), read from the installed subjects of the session. A lookup keeps
// each file's check, so a list of a hundred phrases from ten subjects checks ten files.
class PhraseLookup
{
public:
    explicit PhraseLookup(const Session& session, SubjectChecks::Check check = Check_Subject);
    struct Found
    {
        QString file; // the installed subject file
        PhraseRow row;
    };
    // The phrase as its subject holds it today (an edited text shows as edited); nothing when the identity names
    // no phrase, or its subject is gone or fails its check.
    std::optional<Found> phrase(const QString& identity);

private:
    SubjectChecks m_checks;
    QHash<QString, std::optional<Found>> m_found;
};

// The phrase's own text, or the identity itself when the phrase is gone.
PhraseText Phrase_Text_Of(const Session& session);
