#include "exchange.h"

#include <QCoreApplication>

#include "common/apppath.h"
#include "common/files.h"
#include "common/session.h"
#include "platform/exchangefile.h"

namespace {
platform::exchange::Contents contents(
    const Session& session, const StudySet& set, const QString& subjectText, qint64 processId)
{
    platform::exchange::Contents c;
    c.processId = processId;
    c.programCode = session.ProgramCode;
    c.productName = session.ProductName;
    c.interfaceLanguage = session.InterfaceLanguage;
    c.taughtLanguage = session.TaughtLanguage;
    c.student = session.CurrentStudent;
    c.subject = subjectText;
    c.usersDatabase = session.DataDir + QStringLiteral("Users.dat");
    for (int n = 1; n <= qMin(static_cast<int>(set.size()), MaxStudyPhrases); ++n) {
        const StudyPhrase& p = set[n - 1];
        // Named by its installed source, however it was reached, so its results gather under one phrase.
        c.phrases.push_back({ p.tPhrase, p.tTranslation, p.tTranslation2,
            Get_Temp_Path() + Exchange_Sound_File_Name(session.ExchangeNumber, n),
            p.fileName.isEmpty() ? QString() : platform::exchange::phraseIdentity(p.fileName, p.phraseNo) });
    }
    return c;
}
}

QStringList Exchange_File_Lines(
    const Session& session, const StudySet& set, const QString& subjectText, qint64 processId)
{
    return platform::exchange::lines(contents(session, set, subjectText, processId));
}

bool Write_Exchange_File(const Session& session, const StudySet& set, const QString& subjectText, QString* error)
{
    return platform::exchange::write(Get_Temp_Path() + Exchange_File_Name(session.ExchangeNumber),
        contents(session, set, subjectText, QCoreApplication::applicationPid()), error);
}
