#include "treefill.h"

#include <optional>

#include <QCoreApplication>
#include <QTreeWidget>
#include <QVector>

#include "common/captions.h"
#include "common/errorreport.h"
#include "common/filelist.h"
#include "common/frmmsgbox.h"
#include "common/rnd.h"
#include "common/session.h"
#include "common/wait.h"
#include "common/windowlock.h"
#include "platform/services.h"
#include "subjects/nodetag.h"
#include "subjects/subjectchecks.h"
#include "subjects/subjectfile.h"
#include "subjects/treenode.h"
#include "common/subjectfolders.h"

using platform::Recordset;

void Show_Subject_Phrases(QTreeWidgetItem* node, const QString& fileName, const Session& session, QWidget* window)
{
    if (!node || node->childCount() > 0)
        return;
    WindowLock lock(window);
    try {
        const Recordset rs = readSubjectFile(Installed_Subject_Path(session, fileName), AllPhrasesSql);
        QList<QTreeWidgetItem*> phrases;
        try {
            for (int i = 0; i < rs.count(); ++i) {
                const PhraseRow p = phraseAt(rs, i);
                phrases << Phrase_Node(Phrase_Tag(fileName, p), PhraseImage);
            }
        } catch (...) {
            qDeleteAll(phrases);
            throw;
        }
        node->addChildren(phrases);
    } catch (const std::exception& e) {
        setNodeImage(node, UnusableSubject, UnusableSubject);
        platform::services().dialogs->message(fileName.toUpper() + Caption(6) + Break + Break + failureDescription(e),
            Caption(103), platform::Icon::Warning);
        if (QTreeWidget* tree = node->treeWidget(); tree && node->parent())
            tree->setCurrentItem(node->parent());
    }
}

void Show_vSubject_Phrases(const Session& session, const QString& virtualFile, int nParent, QTreeWidgetItem* node)
{
    if (!node || node->childCount() > 0)
        return;
    try {
        const Recordset rs = readSubjectFile(session.VirtualSubjectsDir + virtualFile, virtualPhrasesSql(nParent));
        QList<QTreeWidgetItem*> phrases;
        try {
            for (int i = 0; i < rs.count(); ++i) {
                const VirtualPhraseRow p = virtualPhraseAt(rs, i);
                phrases << Phrase_Node(Phrase_Tag(p), VirtualPhraseImage);
            }
        } catch (...) {
            qDeleteAll(phrases);
            throw;
        }
        if (phrases.isEmpty())
            phrases << makeNode(Caption(127), SubjectRef::placeholder(), NoImage);
        node->addChildren(phrases);
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Show_vSubject_Phrases"), failureDescription(e));
    }
}

namespace {
// One random phrase of an installed subject that passed its check, as a node of the random phrase set.
QTreeWidgetItem* randomPhrase(const Session& session, const QString& file)
{
    const QString path = Installed_Subject_Path(session, file);
    const int n = readSubjectFile(path, AllPhrasesSql).count();
    const int k = static_cast<int>(Rnd() * n) + 1;
    const Recordset rs = readSubjectFile(path, randomPhraseSql(k));
    const PhraseRow p = phraseAt(rs, 0);
    return Phrase_Node(Phrase_Tag(file, p), PhraseImage);
}

// Draws the phrases into drawn; false when every installed subject turned out unusable.
bool drawRandomPhrases(FileList& File1, const Session& session, QList<QTreeWidgetItem*>& drawn)
{
    const int files = File1.listCount();
    QVector<bool> unusable(files, false);
    int unusableCount = 0;
    int failedDraws = 0;
    for (int phrase = 0; phrase < RandomPhraseCount; ++phrase) {
        for (;;) {
            // Every draw either adds a phrase or flags one more subject, so this ends; with no installed
            // subject at all there is nothing to draw from.
            if (unusableCount >= files)
                return false;
            const int r = qBound(0, static_cast<int>(Rnd() * files), files - 1);
            if (unusable[r])
                continue;
            const QString file = File1.list(r);
            if (Check_Subject(session, file) == ValidSubject) {
                drawn << randomPhrase(session, file);
                break;
            }
            unusable[r] = true;
            if (++unusableCount >= files)
                return false;
            if (++failedDraws > 10) {
                if (failedDraws == 11) {
                    frmMsgBox::Show_Busy(Caption(119), Caption(148), frmMsgBox::BusyHeight);
                    Wait_Seconds(1);
                }
                frmMsgBox* box = frmMsgBox::instance();
                box->setWindowTitle(Caption(119));
                box->setMessage(Caption(148) + Break + Break + file);
                QCoreApplication::processEvents();
            }
        }
    }
    return true;
}
}

void Get_Random_Phrases(QTreeWidgetItem* phraseSet, FileList& File1, const Session& session, QWidget* window)
{
    if (!phraseSet || phraseSet->childCount() > 0)
        return;
    File1.refresh();
    Randomize();
    QTreeWidgetItem* folder = phraseSet->parent();
    std::optional<WindowLock> lock(std::in_place, window);
    QList<QTreeWidgetItem*> drawn;
    try {
        if (drawRandomPhrases(File1, session, drawn)) {
            phraseSet->addChildren(drawn);
        } else {
            qDeleteAll(drawn);
            platform::services().dialogs->message(Caption(140), QString(), platform::Icon::None);
            lock.reset();
            delete phraseSet;
        }
    } catch (const std::exception& e) {
        qDeleteAll(drawn);
        Error_Report(QStringLiteral("Get_Random_Phrases"), failureDescription(e));
        // Back to the tree as it was before the set was added: no set, the folder closed.
        delete phraseSet;
        if (folder) {
            folder->setExpanded(false);
            setNodeImage(folder, FolderClosed);
        }
    }
    lock.reset();
    frmMsgBox::Unload();
}
