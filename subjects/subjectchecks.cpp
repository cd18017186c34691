#include "subjectchecks.h"

#include <stdexcept>

#include <QStringList>
#include <QTreeWidgetItem>

#include "common/files.h"
#include "common/modmain.h"
#include "common/online.h"
#include "platform/services.h"
#include "subjects/nodetag.h"
#include "subjects/subjectfile.h"
#include "subjects/treenode.h"

namespace {
const QString Break = QStringLiteral("\r\n");
const QString SubjectsPage = QStringLiteral("subjects.htm");

QString field(const QString& tag, int n) { return NodeTag::parse(tag).field(n); }
}

QString Check_Subject(const QString& fileName)
{
    try {
        const platform::Recordset rs = readSubjectFile(modMain.InstalledSubjectsDir + fileName, PropertiesSql);
        rs.text(0, QStringLiteral("tProgramCode"));
        return ValidSubject;
    } catch (const std::exception& e) {
        return failureDescription(e);
    } catch (...) {
        return QStringLiteral("Unknown failure");
    }
}

void Report_Subject_Problem(const QString& fileName, const QString& status)
{
    platform::Services& s = platform::services();
    const QString text = status + Break + Break + fileName + Caption(6) + Break + Break + Caption(135);
    if (s.dialogs->askYesNo(text, Caption(103), platform::Icon::None, platform::Answer::Yes))
        Open_Online_Page(SubjectsPage);
}

bool Check_vSubject(QTreeWidgetItem* subject)
{
    try {
        if (!subject)
            throw std::runtime_error("No subject is selected.");
        if (subject->childCount() == 0)
            throw std::runtime_error("The subject's phrases have not been listed.");
        int usable = 0;
        QStringList missingPhrases;
        QStringList missingFiles;
        for (int i = 0; i < subject->childCount(); ++i) {
            const QTreeWidgetItem* child = subject->child(i);
            if (child->text(0) == Caption(127)) {
                usable = 0;
                break;
            }
            const QString tag = nodeTag(child);
            const QString file = field(tag, 0);
            if (File_Exists(modMain.InstalledSubjectsDir + file)) {
                if (Check_Subject(file) == ValidSubject)
                    ++usable;
                continue;
            }
            // Whole entries are compared: one phrase or file name may be a part of another.
            if (!missingPhrases.contains(field(tag, 3)))
                missingPhrases << field(tag, 3);
            if (!missingFiles.contains(file.toUpper()))
                missingFiles << file.toUpper();
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
                Open_Online_Page(SubjectsPage);
        }
        subject->setExpanded(false);
        if (usable == 0) {
            setNodeImage(subject, UnusableSubject, UnusableSubject);
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        platform::services().dialogs->message(field(subject ? nodeTag(subject) : QString(), 1) + QLatin1Char(' ')
                + Caption(6) + Break + Break + failureDescription(e),
            QString(), platform::Icon::Warning);
        return false;
    }
}
