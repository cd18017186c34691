#pragma once

#include <memory>

#include <QObject>

#include "common/frmmsgbox.h"
#include "common/rnd.h"
#include "tests/support/fakes.h"
#include "tests/support/privatetemp.h"
#include "tests/support/subjectsession.h"

namespace fixtures {

// The frame of a test of the main window's tree: a temporary folder of its own, and for each test function the
// fakes and a fresh Window (TreeWindow or MainTree) over subject folders of its own.
template <typename Window> class TreeTest : public QObject
{
protected:
    // From init(): the fakes first, so that the window finds them.
    void start()
    {
        m_env = std::make_unique<fakes::Environment>();
        m_main = std::make_unique<Window>();
    }
    // From cleanup().
    void finish()
    {
        Set_Rnd_Script({});
        m_main.reset();
        frmMsgBox::Unload();
        m_env.reset();
    }

    QString installed(const QString& name) const { return m_main->installed(name); }
    QTreeWidgetItem* top(int n) const { return m_main->top(n); }
    void click(QTreeWidgetItem* node) { m_main->click(node); }
    QStringList errorReports() const { return fakes::errorReports(m_env->dialogs); }

    PrivateTempFolder m_temp;
    std::unique_ptr<fakes::Environment> m_env;
    std::unique_ptr<Window> m_main;
};

}
