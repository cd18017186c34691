// Starting an activity on a subject of ten phrases: the phrases and their sounds gathered, the exchange file
// written and the activity's process started, from the click on its button.

#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTreeWidget>

#include "app/frmmain.h"
#include "app/modmain.h"
#include "bench/figures.h"
#include "bench/measure.h"
#include "bench/raw.h"
#include "bench/school.h"
#include "bench/startedprogram.h"
#include "common/apppath.h"
#include "common/files.h"

namespace bench {

namespace {
    // The activities become a program that ends at once: the figure is the launch, not the game.
    const QString QuickProgram = QStringLiteral("/bin/true");

    void makeActivitiesQuick(const QString& folder)
    {
        const QString activities = folder + QStringLiteral("Activities/");
        for (const QString& name : raw::list(activities, QStringLiteral("*.exe"))) {
            QFile::remove(activities + name);
            if (!QFile::copy(QuickProgram, activities + name))
                throw std::runtime_error("cannot put the quick program in place");
        }
    }

    QByteArray contentsOf(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error(QStringLiteral("no file %1").arg(path).toStdString());
        return file.readAll();
    }

    void launchGroup(const Context& context)
    {
        const QString name = QStringLiteral("activity started on a subject of ten phrases");
        if (!wanted(name))
            return;
        const ProgramFolder& school = context.school;
        makeActivitiesQuick(school.path());
        StartedProgram program(school.path());
        QTreeWidget* tree = program.tree();
        QTreeWidgetItem* subject = program.firstInstalledSubject();
        tree->setCurrentItem(subject);
        auto* button = program.main().findChild<QWidget*>(QStringLiteral("btnAct0"));
        if (!button)
            throw std::runtime_error("no activity button");
        const QString exchange = Get_Temp_Path() + Exchange_File_Name(modMain.ExchangeNumber);
        Work launch { [button, exchange] {
                         QTest::mouseClick(button, Qt::LeftButton);
                         if (!QFile::exists(exchange))
                             throw std::runtime_error("the activity was not started");
                     },
            [exchange] { QFile::remove(exchange); } };
        launch.run();

        // What the launch wrote, written again by plain calls after the same phrases are read.
        const QByteArray lines = contentsOf(exchange);
        QList<QByteArray> sounds;
        for (int i = 1; i <= PhrasesPerSubject; ++i)
            sounds << contentsOf(Get_Temp_Path() + Exchange_Sound_File_Name(modMain.ExchangeNumber, i));
        const ProgramFolder::Layout l = ProgramFolder::layoutOf(school.path());
        const QString file = l.installed + ProgramFolder::installedName(0, l.extension);
        Work baseline { [=] {
            raw::select(file, { "SELECT * FROM tblPhrases" });
            for (int i = 1; i <= PhrasesPerSubject; ++i)
                raw::write(Get_Temp_Path() + Exchange_Sound_File_Name(modMain.ExchangeNumber, i), sounds[i - 1]);
            raw::write(exchange, lines);
            if (!QProcess::startDetached(QuickProgram, { Exchange_File_Name(modMain.ExchangeNumber) }, Get_Temp_Path()))
                throw std::runtime_error("cannot start the quick program");
        } };
        compare(name, launch, baseline);
    }

    const Group registered(30, launchGroup);
}

}
