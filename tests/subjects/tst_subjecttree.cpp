#include <QtTest>

#include "common/frmmsgbox.h"
#include "common/session.h"
#include "subjects/subjecttree.h"
#include "subjects/treenode.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/subjectfixtures.h"
#include "tests/support/subjectsession.h"

namespace {
struct Expected
{
    QString text;
    QString tag;
    int image;
    int selectedImage;
    bool bold;
};

void checkNode(const QTreeWidgetItem* node, const Expected& e)
{
    QVERIFY(node);
    QCOMPARE(node->text(0), e.text);
    QCOMPARE(nodeTag(node), e.tag);
    QCOMPARE(nodeImage(node), e.image);
    QCOMPARE(nodeSelectedImage(node), e.selectedImage);
    QCOMPARE(isBoldNode(node), e.bold);
    QCOMPARE(node->icon(0).isNull(), e.image == NoImage);
}

QStringList childTags(const QTreeWidgetItem* node)
{
    QStringList tags;
    for (int i = 0; i < node->childCount(); ++i)
        tags << nodeTag(node->child(i));
    return tags;
}
}

class TestSubjectTree : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<fixtures::ProgramFolder> m_folder;
    std::unique_ptr<QTreeWidget> m_widget;
    FileList m_file1;
    FileList m_file2;
    std::unique_ptr<SubjectTree> m_tree;
    Session m_session;

    QString installed(const QString& name) const { return m_session.InstalledSubjectsDir + name; }
    QString virtualFile(const QString& name) const { return m_session.VirtualSubjectsDir + name; }
    void touch(const QString& path) const { fixtures::writeInstalledSubject(path, fixtures::numberedPhrases(2)); }
    void build()
    {
        m_tree->Create_Folders();
        m_tree->Get_Subjects();
        m_tree->Get_vSubjects();
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<fixtures::ProgramFolder>();
        m_session = fixtures::programSession(m_folder->path());
        fixtures::loadNumberedCaptions();
        m_session.InstalledSubjectsDir = m_folder->file("T10/");
        m_session.VirtualSubjectsDir = m_folder->file("T11/");
        m_file1 = fixtures::fileList(m_session.InstalledSubjectsDir, "*.ale");
        m_file2 = fixtures::fileList(m_session.VirtualSubjectsDir, "*.vale");
        m_widget = std::make_unique<QTreeWidget>();
        m_tree = std::make_unique<SubjectTree>(m_widget.get(), &m_file1, &m_file2, m_session);
    }

    void cleanup()
    {
        m_tree.reset();
        m_widget.reset();
        frmMsgBox::Unload();
    }

    void startUpTreeFollowsTheTagGrammar()
    {
        fakes::Environment env;
        touch(installed("colours.ale"));
        touch(installed("animals_at_the_zoo.ale"));
        touch(installed("at__home_.ale"));
        touch(installed("zoo.fre")); // other products and other files are not listed
        touch(installed("notes.txt"));
        touch(installed("lesson.vale"));
        const QVector<qint64> keys = fixtures::writeVirtualSubjectFile(
            virtualFile("My words.vale"), { { "Zoo animals", {} }, { "  Colours ", {} } });
        fixtures::writeVirtualSubjectFile(virtualFile("a.vale"), {});
        fixtures::writeVirtualSubjectFile(virtualFile("Mots.vfre"), { { "Ailleurs", {} } });
        touch(virtualFile("stray.ale"));

        build();

        QVERIFY(env.dialogs.shown.isEmpty());
        QCOMPARE(m_widget->topLevelItemCount(), 5);
        checkNode(m_widget->topLevelItem(0), { "T2", "FOLDER*INSTALLED_SUBJECTS", FolderClosed, NoImage, true });
        checkNode(m_widget->topLevelItem(1), { "T117", "FOLDER*RANDOM_SUBJECT", FolderClosed, NoImage, true });
        checkNode(m_widget->topLevelItem(2), { "T119", "FOLDER*RANDOM_PHRASES", FolderClosed, NoImage, true });
        QCOMPARE(m_widget->topLevelItem(1)->childCount(), 0);
        QCOMPARE(m_widget->topLevelItem(2)->childCount(), 0);

        const QTreeWidgetItem* subjects = m_widget->topLevelItem(0);
        QCOMPARE(subjects->childCount(), 3);
        checkNode(subjects->child(0),
            { "Animals At The Zoo", "SUBJECT*animals_at_the_zoo.ale", SubjectImage, SubjectSelected, false });
        // Doubled and trailing "_" leave blanks inside; only the ends are trimmed.
        checkNode(subjects->child(1), { "At  Home", "SUBJECT*at__home_.ale", SubjectImage, SubjectSelected, false });
        checkNode(subjects->child(2), { "Colours", "SUBJECT*colours.ale", SubjectImage, SubjectSelected, false });

        const QTreeWidgetItem* empty = m_widget->topLevelItem(3);
        checkNode(empty, { "a", "FOLDER*a.vale", VirtualFileClosed, NoImage, true });
        QCOMPARE(empty->childCount(), 1);
        checkNode(empty->child(0), { "T130", "IGNORE", NoImage, NoImage, false });

        const QTreeWidgetItem* words = m_widget->topLevelItem(4);
        checkNode(words, { "My words", "FOLDER*My words.vale", VirtualFileClosed, NoImage, true });
        QCOMPARE(words->childCount(), 2);
        checkNode(words->child(0),
            { "Zoo animals", "SUBJECT*VIRTUALSUBJECT*" + QString::number(keys[0]), VirtualSubjectImage,
                VirtualSubjectSelected, false });
        // Virtual subject names are shown as stored.
        checkNode(words->child(1),
            { "  Colours ", "SUBJECT*VIRTUALSUBJECT*" + QString::number(keys[1]), VirtualSubjectImage,
                VirtualSubjectSelected, false });

        QCOMPARE(m_widget->currentItem(), subjects);
        QVERIFY(subjects->isSelected());
        QVERIFY(m_tree->isVirtualFileFolder(empty));
        QVERIFY(!m_tree->isVirtualFileFolder(m_widget->topLevelItem(2)));
        QVERIFY(!m_tree->isVirtualFileFolder(words->child(0)));
    }

    void virtualFilesInReadingOrder()
    {
        fakes::Environment env;
        for (const char* name : { "Nueva carpeta 10.vale", "nueva carpeta 5.vale", "Nueva carpeta.vale" })
            fixtures::writeVirtualSubjectFile(virtualFile(name), {});
        build();
        QStringList shown;
        for (int i = 3; i < m_widget->topLevelItemCount(); ++i)
            shown << m_widget->topLevelItem(i)->text(0);
        QCOMPARE(shown, QStringList({ "Nueva carpeta", "nueva carpeta 5", "Nueva carpeta 10" }));
    }

    void emptyFoldersGetThePlaceholder()
    {
        fakes::Environment env;
        fixtures::writeVirtualSubjectFile(virtualFile("Nothing yet.vale"), {});
        build();
        const QTreeWidgetItem* subjects = m_widget->topLevelItem(0);
        QCOMPARE(childTags(subjects), QStringList { "IGNORE" });
        checkNode(subjects->child(0), { "T130", "IGNORE", NoImage, NoImage, false });
        QCOMPARE(childTags(m_widget->topLevelItem(3)), QStringList { "IGNORE" });
        QCOMPARE(m_widget->currentItem(), subjects);
        QVERIFY(env.dialogs.shown.isEmpty());
    }

    void getSubjectsReplacesTheInstalledSubjects()
    {
        fakes::Environment env;
        build(); // placeholder only
        touch(installed("numbers.ale"));
        m_tree->Get_Subjects();
        QCOMPARE(childTags(m_widget->topLevelItem(0)), QStringList { "SUBJECT*numbers.ale" });
        touch(installed("family.ale"));
        m_tree->Get_Subjects();
        QCOMPARE(childTags(m_widget->topLevelItem(0)), (QStringList { "SUBJECT*family.ale", "SUBJECT*numbers.ale" }));
        QCOMPARE(m_widget->topLevelItemCount(), 3);
    }

    void aBrokenVirtualFileIsReportedAndEndsTheListing()
    {
        fakes::Environment env;
        touch(installed("colours.ale"));
        fixtures::writeVirtualSubjectFile(virtualFile("a.vale"), { { "First", {} } });
        fixtures::writeBrokenFile(virtualFile("b.vale"));
        fixtures::writeVirtualSubjectFile(virtualFile("c.vale"), { { "Never listed", {} } });

        build();

        QCOMPARE(env.dialogs.shown.size(), 1);
        const fakes::Message& report = env.dialogs.shown[0];
        QCOMPARE(report.title, QStringLiteral("ERROR"));
        QCOMPARE(report.icon, platform::Icon::Critical);
        QVERIFY2(report.text.startsWith("T149\r\n\r\nGet_vSubjects: "), qPrintable(report.text));
        QVERIFY(report.text.size() > QStringLiteral("T149\r\n\r\nGet_vSubjects: ").size());
        // What was built stays: the broken file's folder without children, nothing after it.
        QCOMPARE(m_widget->topLevelItemCount(), 5);
        QCOMPARE(childTags(m_widget->topLevelItem(3)).size(), 1);
        QCOMPARE(nodeTag(m_widget->topLevelItem(4)), QStringLiteral("FOLDER*b.vale"));
        QCOMPARE(m_widget->topLevelItem(4)->childCount(), 0);
        QCOMPARE(childTags(m_widget->topLevelItem(0)), QStringList { "SUBJECT*colours.ale" });
    }

    void getSubjectsWithoutFoldersIsReported()
    {
        fakes::Environment env;
        touch(installed("colours.ale"));
        m_tree->Get_Subjects();
        QCOMPARE(env.dialogs.shown.size(), 1);
        QVERIFY(env.dialogs.shown[0].text.startsWith("T149\r\n\r\nGet_Subjects: "));
        QCOMPARE(m_widget->topLevelItemCount(), 0);
    }

    void refreshRebuildsTheWholeTree()
    {
        fakes::Environment env;
        touch(installed("colours.ale"));
        fixtures::writeVirtualSubjectFile(virtualFile("Mine.vale"), { { "One", {} } });
        build();
        // What a click would have added: a random subject under node 2, and a listed phrase.
        m_widget->topLevelItem(1)->addChild(makeNode("Colours", "SUBJECT*colours.ale", SubjectImage, SubjectSelected));
        m_widget->topLevelItem(0)->child(0)->addChild(makeNode("Tr1", "colours.ale*1*P1*Tr1*Tr21", PhraseImage));
        m_widget->setCurrentItem(m_widget->topLevelItem(1)->child(0));
        fixtures::writeVirtualSubjectFile(virtualFile("New.vale"), { { "Two", {} } });

        m_tree->Refresh_Subjects();
        QCOMPARE(m_widget->topLevelItemCount(), 5);
        QCOMPARE(m_widget->topLevelItem(1)->childCount(), 0);
        QCOMPARE(m_widget->topLevelItem(0)->child(0)->childCount(), 0);
        QCOMPARE(nodeTag(m_widget->topLevelItem(3)), QStringLiteral("FOLDER*Mine.vale"));
        QCOMPARE(nodeTag(m_widget->topLevelItem(4)), QStringLiteral("FOLDER*New.vale"));
        QCOMPARE(m_widget->currentItem(), m_widget->topLevelItem(0));
        QVERIFY(env.dialogs.shown.isEmpty());
    }

    void progressGoesToTheMessageWindowAndTheStatusLog()
    {
        fakes::Environment env;
        touch(installed("animals_at_the_zoo.ale"));
        touch(installed("colours.ale"));
        fixtures::writeVirtualSubjectFile(virtualFile("Mine.vale"), { { "Own words", {} } });
        fakes::StatusLogLines log;
        log.Set_Status_Log("T12.  T13");

        m_tree->Create_Folders();
        frmMsgBox::Show_Busy("Busy", "Working");
        m_tree->Get_Subjects();
        QCOMPARE(frmMsgBox::showing()->lblMsg->text(), QStringLiteral(" Colours"));
        frmMsgBox::Unload();
        m_tree->Get_vSubjects(); // the message window is gone: nothing to update, nothing fails

        // Newest first; the installed title keeps its leading blank.
        QCOMPARE(log.lines, QStringList({ "T23 Own words", "T23  Colours", "T23  Animals At The Zoo", "T12.  T13" }));
    }
};

QTEST_MAIN(TestSubjectTree)
#include "tst_subjecttree.moc"
