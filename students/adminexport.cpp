#include "frmadmin.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "common/captions.h"
#include "common/failuretext.h"
#include "common/registry.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "platform/wholefile.h"
#include "students/scorechartview.h"
#include "students/scoreexport.h"

// The tracked scores' export menu: the results listed, every stored result, or the chart shown, each into a file
// the administrator chooses.

namespace {
const QString ExportDirValue = QStringLiteral("ExportDir");
}

QString frmAdmin::Ask_Export_Path(int filterCaption, const QString& suffix)
{
    const QString folder = QDir::fromNativeSeparators(Get_Reg_String(Program_Key(m_session.ProgramCode), ExportDirValue,
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    const QString proposed = QDir(folder).filePath(m_session.ProductName + QLatin1Char(' ')
        + platform::services().clock->now().date().toString(Qt::ISODate) + QLatin1Char('.') + suffix);
    QString path = platform::services().dialogs->saveFileName(
        Caption(150).remove(QStringLiteral("...")), proposed, Caption(filterCaption));
    // The next export is usually meant for the same place.
    if (!path.isEmpty())
        Save_Reg_String(Program_Key(m_session.ProgramCode), ExportDirValue,
            QDir::toNativeSeparators(QFileInfo(path).absolutePath()) + QDir::separator());
    // A name typed without its type still opens in a spreadsheet or a picture viewer.
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    return path;
}

void frmAdmin::Report_Export_Failure(int caption, const QString& path, const QString& reason)
{
    platform::services().dialogs->message(Caption(caption) + QStringLiteral("\r\n") + QDir::toNativeSeparators(path)
            + QStringLiteral("\r\n\r\n") + reason,
        Caption(54), platform::Icon::Warning);
}

void frmAdmin::mnuExportList_Click()
{
    if (m_listed.view != -1)
        Export_Csv(m_listed);
}

void frmAdmin::mnuExportAll_Click() { Export_Csv({}); }

void frmAdmin::Export_Csv(const ResultChoice& choice)
{
    const QString path = Ask_Export_Path(151, QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    const QString error
        = choice.view == PhraseView ? Export_Phrases(path, choice) : Export_Results(m_users, path, choice);
    if (!error.isEmpty())
        Report_Export_Failure(152, path, error);
}

void frmAdmin::mnuExportChart_Click()
{
    if (m_listed.view == -1)
        return;
    const QString path = Ask_Export_Path(160, QStringLiteral("png"));
    if (path.isEmpty())
        return;
    Draw_Due_Chart();
    QString error;
    if (!platform::writeWholeFile(path, chartView->png(), &error))
        Report_Export_Failure(
            161, path, Failure_Text(platform::FileFailure::Unwritable, QDir::toNativeSeparators(path), error));
}
