#include "customeditor.h"

#include "common/frmmsgbox.h"
#include "custom/frmcustomsubject.h"
#include "custom/virtualfiles.h"
#include "tests/support/fixtures.h"
#include "tests/support/subjectfixtures.h"
#include "tests/support/subjectsession.h"

namespace fixtures {

void FakeCustomHost::Refresh_Subjects() { ++refreshes; }

CustomEditorFolder::CustomEditorFolder()
{
    // The page about subjects is not opened: a test looks at the question alone.
    env.dialogs.defaultAnswer = false;
    host.state = subjectSession(folder);
    loadNumberedCaptions();
    host.File1().setPath(host.state.InstalledSubjectsDir);
    host.File1().setPattern(QStringLiteral("*.ale"));
    host.File2().setPath(host.state.VirtualSubjectsDir);
    host.File2().setPattern(QStringLiteral("*.vale"));
    writeVirtualSubjectFile(folder.file(QStringLiteral("custom.tpl")), {});
    writeInstalledSubject(installed(QStringLiteral("animals_at_the_zoo.ale")), numberedPhrases(3));
    writeBrokenFile(installed(QStringLiteral("broken.ale")));
    writeInstalledSubject(installed(QStringLiteral("colours.ale")), numberedPhrases(2));
    keys = writeVirtualSubjectFile(virtualFile(QStringLiteral("My words")),
        { { QStringLiteral("Zoo"),
              { { QStringLiteral("animals_at_the_zoo.ale"), 2, "P2", "Tr2", "Tr22" },
                  { QStringLiteral("animals_at_the_zoo.ale"), 3, "P3", "Tr3", "Tr23" } } },
            { QStringLiteral("Empty"), {} } });
}

CustomEditorFolder::~CustomEditorFolder()
{
    delete m_editor.data();
    frmMsgBox::Unload();
}

QString CustomEditorFolder::installed(const QString& name) const { return host.state.InstalledSubjectsDir + name; }

QString CustomEditorFolder::virtualFile(const QString& displayName) const
{
    return Virtual_File_Path(host.state, displayName);
}

frmCustomSubject* CustomEditorFolder::open()
{
    frmCustomSubject* editor = btnCreateVirtualSubjects_Click(host);
    m_editor = editor;
    return editor;
}

QTreeWidgetItem* CustomEditorFolder::virtualNode(const QString& text) const
{
    return nodeNamed(m_editor->TreeVirtual, text);
}

QTreeWidgetItem* CustomEditorFolder::installedNode(const QString& text) const
{
    return nodeNamed(m_editor->TreeSubjects, text);
}

QTreeWidgetItem* nodeNamed(QTreeWidget* tree, const QString& text)
{
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

QStringList childTexts(const QTreeWidgetItem* node)
{
    QStringList texts;
    for (int i = 0; node && i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

QPoint nodeCentre(QTreeWidget* tree, QTreeWidgetItem* node)
{
    tree->scrollToItem(node);
    return tree->visualItemRect(node).center();
}

QStringList CustomEditorFolder::storedSubjects(const QString& displayName) const
{
    QStringList names;
    for (const VirtualSubjectRow& row : List_Virtual_Subjects(host.state, displayName))
        names << row.name;
    return names;
}

QStringList CustomEditorFolder::storedPhrases(const QString& displayName, int key) const
{
    QStringList phrases;
    for (const VirtualPhraseRow& row : List_Virtual_Phrases(host.state, displayName, key))
        phrases << row.tPhrase;
    return phrases;
}

}
