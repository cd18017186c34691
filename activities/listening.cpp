#include "listening.h"

#include <stdexcept>

#include <QFile>
#include <QStringList>
#include <QTreeWidgetItem>

#include "common/apppath.h"
#include "common/errorreport.h"
#include "common/files.h"
#include "common/frmmsgbox.h"
#include "common/modmain.h"
#include "common/sounds.h"
#include "common/wait.h"
#include "subjects/nodetag.h"
#include "subjects/subjectfile.h"
#include "subjects/treenode.h"

void Hear_Phrase(QTreeWidgetItem* selected)
{
    if (!selected || !selected->parent())
        return;
    if (NodeTag::of(selected).field(0) == QStringLiteral("FOLDER"))
        return;
    if (isBoldNode(selected->parent()))
        return;
    Listen_to_Phrase(selected);
}

namespace {
QString listeningFile() { return Get_Temp_Path() + QStringLiteral("~selectedphrase.wav"); }
}

void Delete_Listening_File() { QFile::remove(listeningFile()); }

void Listen_to_Phrase(QTreeWidgetItem* node)
{
    if (!node)
        return;
    const NodeTag tag = NodeTag::of(node);
    const QString path = modMain.InstalledSubjectsDir + tag.field(0);
    if (!File_Exists(path))
        return;
    try {
        const QString sound = listeningFile();
        writePhraseSound(path, tag.number(1), sound);
        frmMsgBox::Show_Busy(modMain.ProductName, tag.field(2), ListenNoticeHeight);
        Wait_Seconds(1);
        // A student who closed the notice during the wait does not want to hear the phrase.
        if (frmMsgBox::showing())
            Play_Sound_File(sound, 0);
        frmMsgBox::Unload();
    } catch (const std::exception& e) {
        frmMsgBox::Unload();
        Error_Report(QStringLiteral("Listen_to_Phrase"), failureDescription(e));
    }
}
