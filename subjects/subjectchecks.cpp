#include "subjectchecks.h"

#include <stdexcept>
#include <utility>

#include <QStringList>
#include <QTreeWidgetItem>

#include "common/captions.h"
#include "common/files.h"
#include "common/online.h"
#include "common/session.h"
#include "platform/services.h"
#include "subjects/subjectfile.h"
#include "subjects/subjectref.h"
#include "subjects/treenode.h"
#include "common/subjectfolders.h"

namespace {
const QString SubjectsPage = QStringLiteral("subjects.htm");
}

QString Check_Subject(const Session& session, const QString& fileName)
{
    try {
        const platform::Recordset rs = readSubjectFile(Installed_Subject_Path(session, fileName), PropertiesSql);
        rs.text(0, QStringLiteral("tProgramCode"));
        return ValidSubject;
    } catch (const std::exception& e) {
        return failureDescription(e);
    } catch (...) {
        return QStringLiteral("Unknown failure");
    }
}

SubjectChecks::SubjectChecks(const Session& session, Check check)
    : m_session(session)
    , m_check(std::move(check))
{
}

QString SubjectChecks::status(const QString& fileName)
{
    auto found = m_status.find(fileName);
    if (found == m_status.end())
        found = m_status.insert(fileName, m_check(m_session, fileName));
    return *found;
}

bool SubjectChecks::usable(const QString& fileName)
{
    return File_Exists(Installed_Subject_Path(m_session, fileName)) && status(fileName) == ValidSubject;
}

void Report_Subject_Problem(const Session& session, const QString& fileName, const QString& status)
{
    platform::Services& s = platform::services();
    const QString text = status + Break + Break + fileName + Caption(6) + Break + Break + Caption(135);
    if (s.dialogs->askYesNo(text, Caption(103), platform::Icon::None, platform::Answer::Yes))
        Open_Online_Page(session, SubjectsPage);
}

SubjectUse Check_vSubject(const SubjectRef& subject, SubjectChecks& checks)
{
    try {
        if (subject.kind != SubjectRef::Kind::VirtualSubject)
            throw std::runtime_error("No subject is selected.");
        if (subject.phrases.isEmpty())
            throw std::runtime_error("The subject's phrases have not been listed.");
        int usable = 0;
        QStringList missingPhrases;
        QStringList missingFiles;
        for (const SubjectRef& phrase : subject.phrases) {
            if (phrase.kind == SubjectRef::Kind::Placeholder) {
                usable = 0;
                break;
            }
            if (File_Exists(Installed_Subject_Path(checks.session(), phrase.file))) {
                if (checks.status(phrase.file) == ValidSubject)
                    ++usable;
                continue;
            }
            // Whole entries are compared: one phrase or file name may be a part of another.
            if (!missingPhrases.contains(phrase.translation))
                missingPhrases << phrase.translation;
            if (!missingFiles.contains(phrase.file.toUpper()))
                missingFiles << phrase.file.toUpper();
        }
        const auto entries = [](const QStringList& list) {
            QString text;
            for (const QString& entry : list)
                text += entry + Break;
            return text;
        };
        if (!entries(missingFiles).trimmed().isEmpty()) {
            const QString text = Caption(133) + Break + Break + entries(missingPhrases) + Break + Caption(134) + Break
                + Break + entries(missingFiles) + Break + Caption(135);
            if (platform::services().dialogs->askYesNo(text, Caption(144), platform::Icon::None, platform::Answer::Yes))
                Open_Online_Page(checks.session(), SubjectsPage);
        }
        return usable == 0 ? SubjectUse::Unusable : SubjectUse::Usable;
    } catch (const std::exception& e) {
        platform::services().dialogs->message(subject.tag().field(1) + QLatin1Char(' ') + Caption(6) + Break + Break
                + failureDescription(e),
            QString(), platform::Icon::Warning);
        return SubjectUse::NotChecked;
    }
}

void Show_Subject_Use(QTreeWidgetItem* subjectNode, SubjectUse use)
{
    if (!subjectNode || use == SubjectUse::NotChecked)
        return;
    if (Subject_Ref(subjectNode).kind == SubjectRef::Kind::VirtualSubject)
        subjectNode->setExpanded(false);
    if (use == SubjectUse::Unusable)
        setNodeImage(subjectNode, UnusableSubject, UnusableSubject);
}
