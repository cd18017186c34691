// The subject tree with the school's library: built while the main window is hidden (start-up), while it is
// shown (back from the custom subject editor) and under the start-up log; a click on a subject; the random
// phrases.

#include <stdexcept>

#include <QRandomGenerator>
#include <QTest>
#include <QTreeWidget>

#include "app/frmmain.h"
#include "app/frmsplash.h"
#include "bench/figures.h"
#include "bench/measure.h"
#include "bench/raw.h"
#include "bench/school.h"
#include "bench/startedprogram.h"

namespace bench {

namespace {
    // The floor of any tree: the two sorted listings and each virtual file's subjects.
    Work listingAndSubjects(const ProgramFolder& school)
    {
        const ProgramFolder::Layout l = ProgramFolder::layoutOf(school.path());
        return { [l] {
            raw::list(l.installed, QStringLiteral("*.") + l.extension);
            for (const QString& name : raw::list(l.virtualFiles, QStringLiteral("*.v") + l.extension))
                raw::select(l.virtualFiles + name, { "SELECT * FROM tblParents" });
        } };
    }

    void checkTree(QTreeWidget* tree)
    {
        int subjects = 0;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            subjects += tree->topLevelItem(i)->childCount();
        if (subjects != InstalledSubjects + VirtualFiles * VirtualSubjectsPerFile)
            throw std::runtime_error("the tree does not hold the library");
    }

    Work rebuild(StartedProgram& program)
    {
        return { [&program] {
            program.main().Refresh_Subjects();
            settle();
            checkTree(program.tree());
        } };
    }

    void click(QTreeWidget* tree, QTreeWidgetItem* node)
    {
        tree->scrollToItem(node);
        settle();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
        settle();
    }

    void treeFigures(StartedProgram& program, const ProgramFolder& school)
    {
        frmMain& main = program.main();
        QTreeWidget* tree = program.tree();
        main.hide();
        settle();
        compare(
            QStringLiteral("subject tree built, main window hidden"), rebuild(program), listingAndSubjects(school), 5);

        if (wanted(QStringLiteral("subject tree built under the start-up log"))) {
            Work underLog = rebuild(program);
            underLog.prepare = [] {
                (new frmSplash(QPixmap()))->show();
                settle();
            };
            const auto run = underLog.run;
            underLog.run = [run] {
                run();
                frmSplash::current()->close();
            };
            compare(
                QStringLiteral("subject tree built under the start-up log"), underLog, listingAndSubjects(school), 3);
            settle();
        }

        main.show();
        settle();
        compare(
            QStringLiteral("subject tree built, main window shown"), rebuild(program), listingAndSubjects(school), 5);

        // The first installed subject, its phrases not listed; the installed folder open.
        tree->topLevelItem(0)->setExpanded(true);
        const QString installed = ProgramFolder::layoutOf(school.path()).installed;
        Work clickSubject { [tree] {
                               QTreeWidgetItem* subject = tree->topLevelItem(0)->child(0);
                               click(tree, subject);
                               if (subject->childCount() != PhrasesPerSubject)
                                   throw std::runtime_error("the subject's phrases were not listed");
                           },
            [tree] {
                QTreeWidgetItem* subject = tree->topLevelItem(0)->child(0);
                qDeleteAll(subject->takeChildren());
                tree->setCurrentItem(tree->topLevelItem(0));
                tree->scrollToItem(subject);
                settle();
            } };
        const QString ext = ProgramFolder::layoutOf(school.path()).extension;
        const QString firstFile = installed + ProgramFolder::installedName(0, ext);
        compare(QStringLiteral("click on a subject of ten phrases"), clickSubject,
            { [firstFile] { raw::select(firstFile, { "SELECT * FROM tblPhrases" }); } });

        // The random phrases folder is the third one.
        tree->topLevelItem(0)->setExpanded(false);
        Work randomPhrases { [tree] {
                                click(tree, tree->topLevelItem(2));
                                QTreeWidgetItem* set = tree->topLevelItem(2)->child(0);
                                if (!set || set->childCount() != 10)
                                    throw std::runtime_error("the random phrases were not drawn");
                            },
            [tree] {
                qDeleteAll(tree->topLevelItem(2)->takeChildren());
                tree->setCurrentItem(tree->topLevelItem(0));
                settle();
            } };
        Work drawRaw { [installed, ext] {
            const QStringList files = raw::list(installed, QStringLiteral("*.") + ext);
            for (int i = 0; i < 10; ++i) {
                const QString file = installed + files[QRandomGenerator::global()->bounded(files.size())];
                raw::select(file, { "SELECT * FROM tblProperties" });
                raw::select(file,
                    { "SELECT COUNT(*) FROM tblPhrases", "SELECT * FROM tblPhrases WHERE pkPhraseNo = ?" },
                    { 1 + QRandomGenerator::global()->bounded(PhrasesPerSubject) });
            }
        } };
        compare(QStringLiteral("random phrases drawn"), randomPhrases, drawRaw);
    }

    void treeGroup(const Context& context)
    {
        if (!wantedAny({ QStringLiteral("subject tree"), QStringLiteral("click on a subject"),
                QStringLiteral("random phrases") }))
            return;
        StartedProgram program(context.school.path());
        treeFigures(program, context.school);
    }

    const Group registered(20, treeGroup);
}

}
