#include "errorreport.h"

#include "common/captions.h"
#include "platform/services.h"

QString Error_Report_Text(const QString& procedure, const QString& description)
{
    return Caption(149) + QStringLiteral("\r\n\r\n") + procedure + QStringLiteral(": ") + description;
}

void Error_Report(const QString& procedure, const QString& description)
{
    platform::services().dialogs->message(
        Error_Report_Text(procedure, description), QStringLiteral("ERROR"), platform::Icon::Critical);
}

QString Template_Failure_Text(const QString& templatePath, const QString& description)
{
    return QStringLiteral("The interface texts could not be read from the file\r\n%1\r\n(%2)\r\n\r\n"
                          "No se pudieron leer los textos de la interfaz del archivo\r\n%1\r\n(%2)\r\n\r\n"
                          "Please reinstall the program. / Vuelva a instalar el programa.")
        .arg(templatePath, description);
}
