#include <QApplication>

#include "app/frmmain.h"
#include "app/modmain.h"
#include "common/apppath.h"
#include "common/buildinfo.h"
#include "common/product.h"
#include "platform/services.h"
#include "platform/translations.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    // The desktop matches the windows to the product's entry and icon, also when several products are installed.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.parlanta.") + Built_Program_Code());
    platform::installQtServices();
    // Before the first window: the screen check's question already shows the standard buttons.
    platform::installToolkitTranslations(
        app, Is_Spanish_Interface(Built_Program_Code()) ? QStringLiteral("es") : QStringLiteral("en"));
    modMain.ExchangeNumber = QCoreApplication::applicationPid();
    modMain.ProgramDir = Get_App_Path();
    frmMain main;
    QObject::connect(&main, &frmMain::runEnded, &app, &QCoreApplication::exit);
    if (!main.Form_Load())
        return *main.endCode();
    return app.exec();
}
