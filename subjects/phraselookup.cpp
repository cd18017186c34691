#include "phraselookup.h"

#include <memory>
#include <utility>

#include "common/session.h"
#include "platform/exchangefile.h"
#include "common/subjectfolders.h"

PhraseLookup::PhraseLookup(const Session& session, SubjectChecks::Check check)
    : m_checks(session, std::move(check))
{
}

std::optional<PhraseLookup::Found> PhraseLookup::phrase(const QString& identity)
{
    if (const auto known = m_found.constFind(identity); known != m_found.constEnd())
        return *known;
    std::optional<Found> found;
    QString file;
    int number = 0;
    // A name with a folder in it would reach past the subjects' folder.
    if (platform::exchange::splitPhraseIdentity(identity, &file, &number) && !file.isEmpty()
        && !file.contains(QLatin1Char('/')) && !file.contains(QLatin1Char('\\')) && m_checks.usable(file)) {
        try {
            const platform::Recordset rs
                = readSubjectFile(Installed_Subject_Path(m_checks.session(), file), phraseByKeySql(number));
            if (rs.count() > 0)
                found = Found { file, phraseAt(rs, 0) };
        } catch (const std::exception&) {
            // A subject that breaks between its check and this reading lends nothing, like a subject that is gone.
        }
    }
    m_found.insert(identity, found);
    return found;
}

PhraseText Phrase_Text_Of(const Session& session)
{
    auto lookup = std::make_shared<PhraseLookup>(session);
    return [lookup](const QString& identity) {
        const std::optional<PhraseLookup::Found> found = lookup->phrase(identity);
        return found ? found->row.tPhrase : identity;
    };
}
