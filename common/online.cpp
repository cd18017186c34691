#include "online.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "common/apppath.h"
#include "common/frmmsgbox.h"
#include "common/modmain.h"
#include "common/wait.h"
#include "platform/services.h"

namespace {
QString localPage() { return Get_App_Path() + Caption(95); }

// Without a browser or a file manager a click would otherwise do nothing at all.
void tellNotOpened(const QString& target)
{
    const int text = QFileInfo(target).isDir() ? 185 : 184;
    platform::services().dialogs->message(Caption(text).arg(target), modMain.ProductName, platform::Icon::Warning);
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

void Open_Online_Page(const QString& page)
{
    frmMsgBox::Show_Busy(modMain.ProductName,
        QStringLiteral("Connecting to ") + Caption(94) + QStringLiteral("\r\n") + page, frmMsgBox::BusyHeight, 10);
    Wait_Seconds(1);
    const QString target = Is_Online() ? Site_Page(page) : localPage();
    const bool opened = platform::services().shell->open(target);
    frmMsgBox::Unload();
    if (!opened)
        tellNotOpened(target);
}

void Open_Web_Address(const QString& address) { Open_With_System(Is_Online() ? address : localPage()); }

bool Open_With_System(const QString& target)
{
    if (platform::services().shell->open(target))
        return true;
    tellNotOpened(target);
    return false;
}
