#include "listening.h"

#include <stdexcept>

#include <QStringList>
#include <QTreeWidgetItem>

#include "app/errorreport.h"
#include "app/frmmsgbox.h"
#include "app/modmain.h"
#include "app/util/apppath.h"
#include "app/util/files.h"
#include "app/util/sounds.h"
#include "app/util/wait.h"
#include "subjects/subjectfile.h"
#include "subjects/treenode.h"

void Hear_Phrase(QTreeWidgetItem* selected)
{
    if (!selected || !selected->parent())
        return;
    if (nodeTag(selected).split(QLatin1Char('*')).value(0) == QStringLiteral("FOLDER"))
        return;
    if (isBoldNode(selected->parent()))
        return;
    Listen_to_Phrase(selected);
}

void Listen_to_Phrase(QTreeWidgetItem* node)
{
    if (!node)
        return;
    const QStringList tag = nodeTag(node).split(QLatin1Char('*'));
    const QString path = modMain.InstalledSubjectsDir + tag.value(0);
    if (!File_Exists(path))
        return;
    try {
        const QString sound = Get_Temp_Path() + QStringLiteral("~selectedphrase.wav");
        {
            const platform::Recordset rs = readSubjectFile(path, phraseByKeySql(tag.value(1).toInt()));
            requirePhraseSound(rs, 0);
            writePhraseSound(rs, 0, sound);
        }
        frmMsgBox* box = frmMsgBox::instance();
        frmMsgBox::Show_Busy(box->windowTitle(), tag.value(2), ListenNoticeHeight);
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
