#include "online.h"

#include <QCoreApplication>

#include "common/apppath.h"
#include "common/frmmsgbox.h"
#include "common/modmain.h"
#include "common/wait.h"
#include "platform/services.h"

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

void Open_Online_Page(const QString& page)
{
    frmMsgBox::Show_Busy(modMain.ProductName,
        QStringLiteral("Connecting to ") + Caption(94) + QStringLiteral("\r\n") + page, frmMsgBox::BusyHeight, 10);
    Wait_Seconds(1);
    platform::services().shell->open(Is_Online() ? Site_Page(page) : Get_App_Path() + Caption(95));
    frmMsgBox::Unload();
}
