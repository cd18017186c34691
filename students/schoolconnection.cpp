#include "schoolconnection.h"

#include <QStringList>

#include "common/captions.h"

namespace {
// libpq reports every failed sign-in alike, so the words tell whether a server took part: its own refusals (no such
// database or user, a wrong password, no entry for this computer) carry their severity, and a secure connection
// that failed was negotiated with something that answered.
bool serverAnswered(const QString& detail)
{
    return detail.contains(QLatin1String("FATAL:")) || detail.contains(QLatin1String("SSL"))
        || detail.contains(QLatin1String("certificate"));
}
}

ConnectionTest Test_School_Connection(const platform::ServerAddress& address)
{
    ConnectionTest test;
    try {
        test.serverVersion = platform::PgConnection::connect(address).serverVersion();
        test.ok = true;
    } catch (const platform::ServerError& e) {
        test.unreachable = !serverAnswered(e.description());
        // libpq indents its hints with tabs, which a window shows as wide gaps.
        QStringList lines = e.description().trimmed().split(QLatin1Char('\n'));
        for (QString& line : lines)
            line = line.trimmed();
        test.detail = lines.join(QLatin1Char('\n'));
    }
    return test;
}

QString Server_Version_Text(int version)
{
    if (version >= 100000)
        return QStringLiteral("%1.%2").arg(version / 10000).arg(version % 10000);
    return QStringLiteral("%1.%2.%3").arg(version / 10000).arg(version / 100 % 100).arg(version % 100);
}

QString Connection_Test_Text(const ConnectionTest& test)
{
    if (test.ok)
        return Caption(229).arg(Server_Version_Text(test.serverVersion));
    return Caption(test.unreachable ? 230 : 231);
}
