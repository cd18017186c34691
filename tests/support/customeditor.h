#pragma once

#include <memory>

#include <QPointer>
#include <QStringList>
#include <QTreeWidget>

#include "common/filelist.h"
#include "common/session.h"
#include "custom/customhost.h"
#include "tests/support/fakes.h"
#include "tests/support/subjectfolders.h"

class frmCustomSubject;

namespace fixtures {

// The main window as the custom subject editor sees it: it counts what the editor asks of it.
class FakeCustomHost : public CustomSubjectHost
{
public:
    const Session& session() const override { return state; }
    void Hide_Main_Window() override { ++hides; }
    void Show_Main_Window() override { ++shows; }
    void Refresh_Subjects() override;
    FileList& File1() override { return m_file1; }
    FileList& File2() override { return m_file2; }
    Session state;
    int hides = 0;
    int shows = 0;
    int refreshes = 0;

private:
    FileList m_file1;
    FileList m_file2;
};

// A program folder for the editor with fake services and numbered texts. Installed: animals_at_the_zoo.ale
// (phrases 1..3), broken.ale (not a database), colours.ale (phrases 1..2). Virtual: "My words" with "Zoo"
// (phrases 2 and 3 of the zoo) and "Empty"; custom.tpl in the program folder.
class CustomEditorFolder
{
public:
    CustomEditorFolder();
    ~CustomEditorFolder();
    QString installed(const QString& name) const;
    QString virtualFile(const QString& displayName) const;
    // The editor as the main window's button opens it; deleted by the folder when still open.
    frmCustomSubject* open();
    // Nodes of the last editor opened, by their text.
    QTreeWidgetItem* virtualNode(const QString& text) const;
    QTreeWidgetItem* installedNode(const QString& text) const;
    // What a file holds: the names of its virtual subjects, and the tPhrase of one's phrases in table order.
    QStringList storedSubjects(const QString& displayName) const;
    QStringList storedPhrases(const QString& displayName, int key) const;
    const Session& session() const { return host.state; }

    SubjectFolders folder;
    fakes::Environment env;
    FakeCustomHost host;
    QVector<qint64> keys; // of "Zoo" and "Empty"

private:
    QPointer<frmCustomSubject> m_editor;
};

// The node of a tree with that text, at any level; nullptr when there is none.
QTreeWidgetItem* nodeNamed(QTreeWidget* tree, const QString& text);
QStringList childTexts(const QTreeWidgetItem* node);
// Where the node shows, in the tree's viewport, scrolled into view first.
QPoint nodeCentre(QTreeWidget* tree, QTreeWidgetItem* node);
}
