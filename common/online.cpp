#include "online.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "common/captions.h"
#include "common/frmmsgbox.h"
#include "common/session.h"
#include "common/wait.h"
#include "platform/services.h"

namespace {
QString localPage(const Session& session) { return session.ProgramDir + Caption(95); }

// Without a browser or a file manager a click would otherwise do nothing at all.
void tellNotOpened(const Session& session, const QString& target)
{
    const int text = QFileInfo(target).isDir() ? 185 : 184;
    platform::services().dialogs->message(Caption(text).arg(target), session.ProductName, platform::Icon::Warning);
}
}

bool Is_Online() { return platform::services().network->isOnline(); }

bool Download_File(const QString& url, const QString& file, qint64 maxBytes)
{
    QCoreApplication::processEvents();
    return platform::services().network->download(url, file, DownloadTimeoutMs, maxBytes);
}

QString Site_Page(const QString& page)
{
    const QString site = Caption(94);
    if (site.endsWith(QLatin1Char('/')) && page.startsWith(QLatin1Char('/')))
        return site + page.mid(1);
    return site + page;
}

void Open_Online_Page(const Session& session, const QString& page)
{
    frmMsgBox::Show_Busy(session.ProductName,
        QStringLiteral("Connecting to ") + Caption(94) + QStringLiteral("\r\n") + page, frmMsgBox::BusyHeight, 10);
    Wait_Seconds(1);
    const QString target = Is_Online() ? Site_Page(page) : localPage(session);
    const bool opened = platform::services().shell->open(target);
    frmMsgBox::Unload();
    if (!opened)
        tellNotOpened(session, target);
}

void Open_Web_Address(const Session& session, const QString& address)
{
    Open_With_System(session, Is_Online() ? address : localPage(session));
}

bool Open_With_System(const Session& session, const QString& target)
{
    if (platform::services().shell->open(target))
        return true;
    tellNotOpened(session, target);
    return false;
}
