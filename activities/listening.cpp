#include "listening.h"

#include <stdexcept>

#include <QFile>
#include <QStringList>

#include "common/apppath.h"
#include "common/errorreport.h"
#include "common/files.h"
#include "common/frmmsgbox.h"
#include "common/session.h"
#include "common/sounds.h"
#include "common/wait.h"
#include "subjects/subjectfile.h"
#include "subjects/subjectref.h"
#include "common/subjectfolders.h"

void Hear_Phrase(const SubjectRef& selected, const Session& session)
{
    if (selected.kind == SubjectRef::Kind::Phrase)
        Listen_to_Phrase(selected, session);
}

namespace {
QString listeningFile() { return Get_Temp_Path() + QStringLiteral("~selectedphrase.wav"); }
}

void Delete_Listening_File() { QFile::remove(listeningFile()); }

void Listen_to_Phrase(const SubjectRef& phrase, const Session& session)
{
    if (phrase.kind != SubjectRef::Kind::Phrase)
        return;
    const QString path = Installed_Subject_Path(session, phrase.file);
    if (!File_Exists(path))
        return;
    try {
        const QString sound = listeningFile();
        writePhraseSound(path, phrase.phraseNo, sound);
        frmMsgBox::Show_Busy(session.ProductName, phrase.phrase, ListenNoticeHeight);
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
