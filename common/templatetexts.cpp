#include "templatetexts.h"

#include "common/captions.h"
#include "common/errorreport.h"
#include "common/failuretext.h"
#include "common/files.h"
#include "common/session.h"
#include "common/statuslog.h"
#include "platform/database.h"

using platform::Database;
using platform::DbError;
using platform::Recordset;

namespace {
Recordset Read_Template(const Session& session, const QString& sql)
{
    return Database::open(Template_Connection_String(Template_Path(session.ProgramDir))).query(sql);
}

const QString NullError = QStringLiteral("Invalid use of Null");
}

QString Template_Path(const QString& programDir) { return programDir + QStringLiteral("Parlanta.tpl"); }

bool Get_Captions(const Session& session, QString* error)
{
    try {
        const Recordset rs = Read_Template(
            session, QStringLiteral("Select ") + session.InterfaceLanguage + QStringLiteral(" from tblCaptions"));
        QStringList captions;
        captions.reserve(rs.count() + 2);
        captions << QString();
        for (int i = 0; i < rs.count(); ++i)
            captions << rs.text(i, 0);
        captions << QString();
        Set_Captions(captions);
        return true;
    } catch (const DbError& e) {
        if (error)
            *error = e.description();
        return false;
    }
}

void Get_System_Messages(const Session& session, SystemMessages& messages)
{
    try {
        const Recordset rs = Read_Template(session,
            QStringLiteral("Select ") + session.InterfaceLanguage + QStringLiteral(", link from tblSystemMessages"));
        messages = SystemMessages();
        messages.count = rs.count();
        for (int i = 1; i <= rs.count(); ++i) {
            Put_Status_Line(Caption(23) + QStringLiteral(" MSG #00") + QString::number(i));
            messages.texts << rs.text(i - 1, 0);
            messages.links << rs.text(i - 1, 1);
            Put_Status_Line(Caption(8));
        }
    } catch (const DbError& e) {
        Error_Report(QStringLiteral("Get_System_Messages"), Failure_Text(e));
    }
}

void Get_Tips(const Session& session, QStringList& tips)
{
    tips = QStringList { QString() };
    try {
        const Recordset rs
            = Read_Template(session, QStringLiteral("Select ") + session.ProgramCode + QStringLiteral(" from tblTips"));
        for (int i = 0; i < rs.count(); ++i) {
            if (rs.value(i, 0).isNull())
                throw DbError(NullError);
            tips << rs.text(i, 0);
        }
    } catch (const DbError& e) {
        Error_Report(QStringLiteral("Get_Tips"), Failure_Text(e));
    }
}

QVector<MenuLink> Read_Menu_Links(const Session& session)
{
    QVector<MenuLink> links;
    try {
        const Recordset rs = Read_Template(
            session, QStringLiteral("Select ") + session.InterfaceLanguage + QStringLiteral(", link from tblMenu"));
        for (int i = 0; i < rs.count(); ++i) {
            if (rs.value(i, 0).isNull())
                throw DbError(NullError);
            links.push_back({ rs.text(i, 0), rs.text(i, 1) });
            Put_Status_Line(Caption(8));
        }
    } catch (const DbError& e) {
        Error_Report(QStringLiteral("Get_Menu_Links"), Failure_Text(e));
    }
    return links;
}
