#include <QApplication>

#include "app/frmmain.h"
#include "common/modmain.h"
#include "platform/services.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    platform::installQtServices();
    modMain.WindowHandle = QCoreApplication::applicationPid();
    frmMain main;
    if (!main.Form_Load())
        return 1;
    return app.exec();
}
