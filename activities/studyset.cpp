#include "studyset.h"

#include <optional>
#include <stdexcept>

#include <QCoreApplication>
#include <QFile>
#include <QTreeWidget>
#include <QVector>

#include "app/errorreport.h"
#include "app/frmmsgbox.h"
#include "app/modmain.h"
#include "app/util/apppath.h"
#include "app/util/filelist.h"
#include "app/util/files.h"
#include "app/util/rnd.h"
#include "app/util/wait.h"
#include "app/util/windowlock.h"
#include "platform/services.h"
#include "subjects/subjectchecks.h"
#include "subjects/subjectfile.h"
#include "subjects/treenode.h"

using platform::Recordset;

namespace {
const QString Break = QStringLiteral("\r\n");
const QString VirtualSubjectField = QStringLiteral("VIRTUALSUBJECT");

QStringList fields(const QTreeWidgetItem* node)
{
    return nodeTag(node).split(QLatin1Char('*'));
}

QTreeWidgetItem* phraseNode(const QString& file, int key, const QString& phrase, const QString& translation,
    const QString& translation2, int image)
{
    const QString tag = QStringList { file, QString::number(key), phrase, translation, translation2 }.join(
        QLatin1Char('*'));
    return makeNode(translation, tag, image);
}

QString soundFile(int position)
{
    return Get_Temp_Path() + Exchange_Sound_File_Name(position);
}

void ensureRecords()
{
    if (modMain.StudyPhrases.size() < MaxStudyPhrases + 1)
        modMain.StudyPhrases.resize(MaxStudyPhrases + 1);
}

// Record position from row of a phrase recordset, with its sound file written anew.
void fillRecord(int position, const QString& file, const Recordset& rs, int row)
{
    if (position > MaxStudyPhrases)
        throw std::out_of_range("Subscript out of range");
    const PhraseRow phrase = phraseAt(rs, row);
    requirePhraseSound(rs, row);
    ensureRecords();
    StudyPhrase& record = modMain.StudyPhrases[position];
    record.fileName = file;
    record.phraseNo = phrase.pkPhraseNo;
    record.tPhrase = phrase.tPhrase;
    record.tTranslation = phrase.tTranslation;
    record.tTranslation2 = phrase.tTranslation2;
    // The sound writer keeps an older file's tail; a file left by a failed launch must not lend it one.
    const QString target = soundFile(position);
    QFile::remove(target);
    writePhraseSound(rs, row, target);
}

QString describe(const std::exception& e)
{
    return failureDescription(e);
}
}

void Show_Subject_Phrases(QTreeWidgetItem* node, const QString& fileName, QWidget* window)
{
    if (!node || node->childCount() > 0)
        return;
    WindowLock lock(window);
    try {
        const Recordset rs = readSubjectFile(modMain.InstalledSubjectsDir + fileName, AllPhrasesSql);
        QList<QTreeWidgetItem*> phrases;
        try {
            for (int i = 0; i < rs.count(); ++i) {
                const PhraseRow p = phraseAt(rs, i);
                phrases << phraseNode(fileName, p.pkPhraseNo, p.tPhrase, p.tTranslation, p.tTranslation2, PhraseImage);
            }
        } catch (...) {
            qDeleteAll(phrases);
            throw;
        }
        node->addChildren(phrases);
    } catch (const std::exception& e) {
        setNodeImage(node, UnusableSubject, UnusableSubject);
        platform::services().dialogs->message(
            fileName.toUpper() + Caption(6) + Break + Break + describe(e), Caption(103), platform::Icon::Warning);
        if (QTreeWidget* tree = node->treeWidget(); tree && node->parent())
            tree->setCurrentItem(node->parent());
    }
}

void Show_vSubject_Phrases(const QString& virtualFile, int nParent, QTreeWidgetItem* node)
{
    if (!node || node->childCount() > 0)
        return;
    try {
        const Recordset rs = readSubjectFile(modMain.VirtualSubjectsDir + virtualFile, virtualPhrasesSql(nParent));
        QList<QTreeWidgetItem*> phrases;
        try {
            for (int i = 0; i < rs.count(); ++i) {
                const VirtualPhraseRow p = virtualPhraseAt(rs, i);
                phrases << phraseNode(
                    p.tfilename, p.nPhraseNo, p.tPhrase, p.tTranslation, p.tTranslation2, VirtualPhraseImage);
            }
        } catch (...) {
            qDeleteAll(phrases);
            throw;
        }
        if (phrases.isEmpty())
            phrases << makeNode(Caption(127), IgnoreTag, NoImage);
        node->addChildren(phrases);
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Show_vSubject_Phrases"), describe(e));
    }
}

namespace {
// One random phrase of an installed subject that passed its check, as a node of the random phrase set.
QTreeWidgetItem* randomPhrase(const QString& file)
{
    const QString path = modMain.InstalledSubjectsDir + file;
    const int n = readSubjectFile(path, AllPhrasesSql).count();
    const int k = static_cast<int>(Rnd() * n) + 1;
    const Recordset rs = readSubjectFile(path, randomPhraseSql(k));
    const PhraseRow p = phraseAt(rs, 0);
    return phraseNode(file, p.pkPhraseNo, p.tPhrase, p.tTranslation, p.tTranslation2, PhraseImage);
}

// Draws the phrases into drawn; false when every installed subject turned out unusable.
bool drawRandomPhrases(FileList& File1, QList<QTreeWidgetItem*>& drawn)
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
            if (Check_Subject(file) == ValidSubject) {
                drawn << randomPhrase(file);
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

void Get_Random_Phrases(QTreeWidgetItem* phraseSet, FileList& File1, QWidget* window)
{
    if (!phraseSet || phraseSet->childCount() > 0)
        return;
    File1.refresh();
    Randomize();
    QTreeWidgetItem* folder = phraseSet->parent();
    std::optional<WindowLock> lock(std::in_place, window);
    QList<QTreeWidgetItem*> drawn;
    try {
        if (drawRandomPhrases(File1, drawn)) {
            phraseSet->addChildren(drawn);
        } else {
            qDeleteAll(drawn);
            platform::services().dialogs->message(Caption(140), QString(), platform::Icon::None);
            lock.reset();
            delete phraseSet;
        }
    } catch (const std::exception& e) {
        qDeleteAll(drawn);
        Error_Report(QStringLiteral("Get_Random_Phrases"), describe(e));
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

int Get_Phraes_to_Study(QTreeWidgetItem* subject)
{
    Delete_Temp_Files();
    int count = 0;
    int position = 1;
    const bool isVirtual = subject && fields(subject).value(1) == VirtualSubjectField;
    try {
        if (!subject)
            throw std::runtime_error("No subject is selected.");
        if (isVirtual) {
            // Phrases whose source is gone or unusable are skipped and leave no gap.
            for (int i = 0; i < subject->childCount(); ++i) {
                const QStringList tag = fields(subject->child(i));
                const QString file = tag.value(0);
                const QString path = modMain.InstalledSubjectsDir + file;
                if (!File_Exists(path) || Check_Subject(file) != ValidSubject)
                    continue;
                const Recordset rs = readSubjectFile(path, phraseByKeySql(tag.value(1).toInt()));
                fillRecord(position, file, rs, 0);
                count = position;
                ++position;
            }
        } else {
            const QString file = fields(subject).value(1);
            const Recordset rs = readSubjectFile(modMain.InstalledSubjectsDir + file, AllPhrasesSql);
            for (int row = 0; row < rs.count(); ++row, ++position)
                fillRecord(position, file, rs, row);
            count = position - 1;
        }
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Get_Phraes_to_Study"), describe(e));
        // Sound files this failed gathering wrote and no activity will get are not left behind.
        const int keep = isVirtual ? count : 0;
        for (int i = keep + 1; i <= qMin(position, MaxStudyPhrases); ++i)
            QFile::remove(soundFile(i));
        count = keep;
    }
    return count;
}
