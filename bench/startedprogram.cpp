#include "startedprogram.h"

#include <stdexcept>

#include <QCoreApplication>
#include <QTreeWidget>

#include "app/frmmain.h"
#include "app/modmain.h"
#include "common/apppath.h"
#include "platform/services.h"
#include "students/frmlogin.h"

namespace bench {

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

StartedProgram::StartedProgram(const QString& programFolder)
{
    modMain = Session();
    modMain.ProgramDir = With_Separator(programFolder);
    m_main = std::make_unique<frmMain>();
    if (!m_main->Form_Load())
        throw std::runtime_error("the program did not start");
    if (frmLogin* login = m_main->login())
        login->hide();
    m_main->Student_Logged_In(QStringLiteral("Student0 O'Family0"), true);
    settle();
}

StartedProgram::~StartedProgram() = default;

frmMain& StartedProgram::main() { return *m_main; }

QTreeWidget* StartedProgram::tree() { return m_main->findChild<QTreeWidget*>(QStringLiteral("TreeFolders")); }

QTreeWidgetItem* StartedProgram::firstInstalledSubject()
{
    QTreeWidgetItem* installed = tree()->topLevelItem(0);
    if (!installed || installed->childCount() == 0)
        throw std::runtime_error("no installed subject in the tree");
    return installed->child(0);
}

}
