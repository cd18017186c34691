// The custom subject editor with the school's subjects: opening it, and a whole subject dropped into a virtual
// subject file.

#include <stdexcept>

#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "app/frmmain.h"
#include "app/modmain.h"
#include "bench/benchservices.h"
#include "bench/figures.h"
#include "bench/measure.h"
#include "bench/raw.h"
#include "bench/school.h"
#include "bench/startedprogram.h"
#include "common/filelist.h"
#include "custom/frmcustomsubject.h"
#include "platform/database.h"
#include "platform/services.h"
#include "tests/support/fakes.h"

namespace bench {

namespace {

    const QString OpenFigure = QStringLiteral("custom editor opens, 2000 subjects");
    const QString DropFigure = QStringLiteral("custom editor drops a whole subject");

    void closeEditor(QPointer<frmCustomSubject>& editor)
    {
        if (!editor)
            return;
        editor->close();
        delete editor.data();
        settle();
    }

    frmCustomSubject* openEditor(frmMain& main)
    {
        frmCustomSubject* editor = btnCreateVirtualSubjects_Click(main);
        settle();
        return editor;
    }

    // What the editor reads to fill its trees: both folders listed as the main window lists them, and the
    // virtual subjects of every file.
    void readEditorData(const FileList& installed, const FileList& virtualFiles)
    {
        need(raw::list(installed.path(), installed.pattern()).size() == InstalledSubjects,
            QStringLiteral("the installed subjects are missing"));
        int subjects = 0;
        for (const QString& name : raw::list(virtualFiles.path(), virtualFiles.pattern()))
            subjects += raw::select(virtualFiles.path() + name, { "SELECT * FROM tblParents" });
        need(subjects == VirtualFiles * VirtualSubjectsPerFile, QStringLiteral("the virtual subjects are missing"));
    }

    // The messages shown so far; one shown during a figure (a failure reported) means the figure did not
    // measure the work it names.
    const QVector<fakes::Message>& messages()
    {
        const auto* dialogs = dynamic_cast<fakes::Dialogs*>(platform::services().dialogs);
        need(dialogs, QStringLiteral("the benchmark dialogs are not installed"));
        return dialogs->shown;
    }

    void requireNoMessageSince(qsizetype shown, const QString& figure)
    {
        if (messages().size() > shown)
            need(false, figure + QStringLiteral(" showed: ") + messages()[shown].text);
    }

    void openFigure(frmMain& main)
    {
        const qsizetype shown = messages().size();
        QPointer<frmCustomSubject> editor;
        compare(OpenFigure, { [&] { editor = openEditor(main); }, [&] { closeEditor(editor); } },
            { [&] { readEditorData(main.File1(), main.File2()); } }, 5);
        need(editor && editor->TreeSubjects->topLevelItem(0)->childCount() == InstalledSubjects
                && editor->TreeVirtual->topLevelItemCount() == VirtualFiles,
            QStringLiteral("the editor did not show the school's subjects"));
        closeEditor(editor);
        requireNoMessageSince(shown, OpenFigure);
    }

    // The least work of the same drop: the ten phrases read, then the virtual subject and their copies written in
    // one transaction. The rows are known beforehand; the key is the one the file gives next.
    struct RawDrop
    {
        QString installedFile;
        QString virtualFile;
        QList<QByteArray> statements;
        QList<QVariantList> values;

        RawDrop(
            const QString& installedDir, const QString& sourceName, const QString& virtualPath, const QString& title)
            : installedFile(installedDir + sourceName)
            , virtualFile(virtualPath)
        {
            const qint64 key = platform::Database::openFile(virtualFile)
                                   .query(QStringLiteral("SELECT max(nParent) FROM tblParents"))
                                   .value(0, 0)
                                   .toLongLong()
                + 1;
            statements << "INSERT INTO tblParents VALUES (?, ?)";
            values << QVariantList { key, title };
            const platform::Recordset phrases
                = platform::Database::openFile(installedFile)
                      .query(QStringLiteral("SELECT pkPhraseNo, tPhrase, tTranslation, tTranslation2 FROM tblPhrases"));
            need(phrases.count() == PhrasesPerSubject, QStringLiteral("the installed subject has lost its phrases"));
            for (int i = 0; i < phrases.count(); ++i) {
                statements << "INSERT INTO tblPhrases (fkParent, tfilename, nPhraseNo, tPhrase, tTranslation, "
                              "tTranslation2) VALUES (?, ?, ?, ?, ?, ?)";
                values << QVariantList { key, sourceName, phrases.value(i, 0), phrases.text(i, 1), phrases.text(i, 2),
                    phrases.text(i, 3) };
            }
        }
        void run() const
        {
            need(raw::select(
                     installedFile, { "SELECT pkPhraseNo, tPhrase, tTranslation, tTranslation2 FROM tblPhrases" })
                    == PhrasesPerSubject,
                QStringLiteral("the installed subject has lost its phrases"));
            raw::execute(virtualFile, statements, values, true);
        }
    };

    void dropFigure(frmMain& main)
    {
        const qsizetype shown = messages().size();
        QPointer<frmCustomSubject> editor = openEditor(main);
        QTreeWidgetItem* subject = editor->TreeSubjects->topLevelItem(0)->child(0);
        QTreeWidgetItem* target = editor->TreeVirtual->topLevelItem(0);
        const int subjectsShown = target->childCount();
        const QString sourceName = main.File1().list(0);
        const QString virtualFile = modMain.VirtualSubjectsDir + main.File2().list(0);
        QTemporaryDir saved;
        const QString copy = saved.filePath(QStringLiteral("saved"));
        need(QFile::copy(virtualFile, copy), QStringLiteral("cannot save %1").arg(virtualFile));

        // Every run drops on the file as it was, shown as the editor showed it after opening.
        const auto putBack = [&] {
            need(QFile::remove(virtualFile) && QFile::copy(copy, virtualFile),
                QStringLiteral("cannot put back %1").arg(virtualFile));
            while (target->childCount() > subjectsShown)
                delete target->child(target->childCount() - 1);
            target->setExpanded(false);
            editor->TreeVirtual->setCurrentItem(target);
            editor->TreeSubjects->setCurrentItem(subject);
            settle();
        };
        const RawDrop rawDrop(modMain.InstalledSubjectsDir, sourceName, virtualFile, subject->text(0));
        int copies = 0;
        // The handler the drop calls, as far as it goes before the event loop; the repaint it leaves pending is
        // done by the next putBack, outside the time.
        compare(DropFigure,
            { [&] {
                 editor->TreeVirtual_DragDrop(target);
                 copies += target->childCount() == subjectsShown + 1
                     && target->child(subjectsShown)->childCount() == PhrasesPerSubject;
             },
                putBack },
            { [&] { rawDrop.run(); }, putBack });
        need(copies > 0, QStringLiteral("the drop copied nothing"));
        putBack();
        closeEditor(editor);
        requireNoMessageSince(shown, DropFigure);
    }

    const Group registered(40, [](const Context& context) { customFigures(context.school); });

}

void customFigures(const ProgramFolder& school)
{
    if (!wanted(OpenFigure) && !wanted(DropFigure))
        return;
    StartedProgram program(school.path());
    if (wanted(OpenFigure))
        openFigure(program.main());
    if (wanted(DropFigure))
        dropFigure(program.main());
}

}
