#include <QtTest>

#include <QLineEdit>

#include "common/captions.h"
#include "common/frmmsgbox.h"
#include "custom/customrules.h"
#include "custom/frmcustomsubject.h"
#include "custom/virtualfiles.h"
#include "subjects/treenode.h"
#include "tests/support/customeditor.h"
#include "tests/support/modal.h"
#include "tests/support/privatetemp.h"
#include "tests/support/subjectfixtures.h"

using fixtures::childTexts;
using fixtures::nodeCentre;

namespace {
QLineEdit* openEditor(QTreeWidget* tree)
{
    for (QLineEdit* line : tree->viewport()->findChildren<QLineEdit*>()) {
        if (line->isVisible())
            return line;
    }
    return nullptr;
}

void typeLabel(QTreeWidget* tree, const QString& text, Qt::Key key = Qt::Key_Return)
{
    QLineEdit* line = openEditor(tree);
    QVERIFY(line);
    line->setText(text);
    QTest::keyClick(line, key);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

CommandStates shownStates(const frmCustomSubject* form)
{
    return { form->btnNewSubject->isEnabled(), form->btnRename->isEnabled(), form->btnDelete->isEnabled() };
}
}

class TestCustomSubject : public QObject
{
    Q_OBJECT
private:
    fixtures::PrivateTempFolder m_temp;
    std::unique_ptr<fixtures::CustomEditorFolder> m_folder;
    frmCustomSubject* m_form = nullptr;

    void clickVirtual(QTreeWidgetItem* node)
    {
        QTest::mouseClick(m_form->TreeVirtual->viewport(), Qt::LeftButton, {}, nodeCentre(m_form->TreeVirtual, node));
    }
    void clickInstalled(QTreeWidgetItem* node)
    {
        QTest::mouseClick(m_form->TreeSubjects->viewport(), Qt::LeftButton, {}, nodeCentre(m_form->TreeSubjects, node));
    }
    // As the system sends it: a click, then the double click on the same node.
    static void doubleClick(QTreeWidget* tree, QTreeWidgetItem* node)
    {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, nodeCentre(tree, node));
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, nodeCentre(tree, node));
    }
    int zooKey() const { return static_cast<int>(m_folder->keys[0]); }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<fixtures::CustomEditorFolder>();
        m_form = m_folder->open();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
    }

    void cleanup()
    {
        m_folder.reset();
        m_form = nullptr;
    }

    void nodeKindsAndTheirCommands()
    {
        QTreeWidgetItem top(QStringList { "top" });
        setBoldNode(&top, true);
        auto* middle = new QTreeWidgetItem(&top, QStringList { "middle" });
        auto* phrase = new QTreeWidgetItem(middle, QStringList { "phrase" });
        QTreeWidgetItem loose(QStringList { "loose" });
        QCOMPARE(Node_Kind(&top), NodeKind::Top);
        QCOMPARE(Node_Kind(middle), NodeKind::Middle);
        QCOMPARE(Node_Kind(phrase), NodeKind::Phrase);
        // Boldness alone decides: an unbold node at the top is no folder.
        QCOMPARE(Node_Kind(&loose), NodeKind::Phrase);
        QCOMPARE(Top_Node(phrase), &top);
        QCOMPARE(Top_Node(&loose), nullptr);

        QCOMPARE(Command_States(NodeKind::Top), (CommandStates { true, true, true }));
        QCOMPARE(Command_States(NodeKind::Middle), (CommandStates { false, true, true }));
        QCOMPARE(Command_States(NodeKind::Phrase), (CommandStates { false, false, true }));

        QCOMPARE(Label_Edit_Outcome(NodeKind::Top, " \t "), EditOutcome::Refuse);
        QCOMPARE(Label_Edit_Outcome(NodeKind::Middle, ""), EditOutcome::Refuse);
        QCOMPARE(Label_Edit_Outcome(NodeKind::Top, " x"), EditOutcome::RenameFile);
        QCOMPARE(Label_Edit_Outcome(NodeKind::Middle, "x"), EditOutcome::RenameSubject);
        QCOMPARE(Label_Edit_Outcome(NodeKind::Phrase, "x"), EditOutcome::Keep);
        QCOMPARE(Rename_Refusal_Text(RenameResult::Blank), 124);
        QCOMPARE(Rename_Refusal_Text(RenameResult::Exists), 125);
        QCOMPARE(Rename_Refusal_Text(RenameResult::Forbidden), 170);
        QCOMPARE(Rename_Refusal_Text(RenameResult::Unchanged), 0);
        QCOMPARE(Rename_Refusal_Text(RenameResult::TooLong), 176);
        QCOMPARE(Rename_Refusal_Text(RenameResult::Done), 0);
    }

    void opensBehindBusyNoticeWithBothTreesFilled()
    {
        // Opened again here, to watch the notice while the editor loads.
        m_folder.reset();
        m_folder = std::make_unique<fixtures::CustomEditorFolder>();
        QStringList seen;
        m_folder->env.clock.onEvents = [&] {
            if (frmMsgBox* box = frmMsgBox::showing())
                seen << box->windowTitle() + "|" + box->lblMsg->text() + "|" + QString::number(box->height());
        };
        m_form = m_folder->open();
        m_folder->env.clock.onEvents = nullptr;
        QVERIFY(!seen.isEmpty());
        QCOMPARE(seen.first(), "T12|T13...|" + QString::number(platform::twips(1800)));
        QVERIFY(!frmMsgBox::isLoaded());
        QCOMPARE(m_folder->host.hides, 1);
        QCOMPARE(m_folder->host.shows, 0);
        QVERIFY(m_form->isVisible());

        QCOMPARE(m_form->windowTitle(), m_folder->session().ProductName + " - T65");
        QCOMPARE(m_form->lblCaption[0]->text(), "T2");
        QCOMPARE(m_form->lblCaption[1]->text(), "T64");
        const QStringList buttons { m_form->btnNewFolder->text(), m_form->btnNewSubject->text(),
            m_form->btnRename->text(), m_form->btnDelete->text(), m_form->btnDone->text() };
        QCOMPARE(buttons, QStringList({ "T123", "T66", "T84", "T24", "T128" }));
        QStringList menu;
        for (const QAction* action : m_form->mnuEdit->actions())
            menu << action->text();
        QCOMPARE(menu, QStringList({ "T123", "T66", "T24", "T84" }));
        QCOMPARE(m_form->Timer1->interval(), 200);
        QCOMPARE(m_form->TimerEdit->interval(), 100);
        QVERIFY(!m_form->Timer1->isActive() && !m_form->TimerEdit->isActive());

        QTreeWidgetItem* root = m_form->TreeSubjects->topLevelItem(0);
        QCOMPARE(root->text(0), "T2");
        QVERIFY(isBoldNode(root) && root->isExpanded());
        QCOMPARE(nodeImage(root), FolderOpen);
        QCOMPARE(m_form->TreeSubjects->currentItem(), root);
        QCOMPARE(childTexts(root), QStringList({ "Animals At The Zoo", "Broken", "Colours" }));
        QCOMPARE(nodeTag(root->child(2)), "2");
        QCOMPARE(nodeImage(root->child(0)), SubjectImage);
        QCOMPARE(nodeSelectedImage(root->child(0)), SubjectSelected);

        QCOMPARE(m_form->TreeVirtual->topLevelItemCount(), 1);
        QTreeWidgetItem* file = m_form->TreeVirtual->topLevelItem(0);
        QCOMPARE(file->text(0), "My words");
        QVERIFY(isBoldNode(file));
        QCOMPARE(nodeImage(file), VirtualFileClosed);
        QCOMPARE(childTexts(file), QStringList({ "Zoo", "Empty" }));
        QCOMPARE(nodeTag(file->child(0)), QString::number(zooKey()));
        QCOMPARE(file->child(0)->childCount(), 0);
        // Selected by the program: no command changes.
        QCOMPARE(m_form->TreeVirtual->currentItem(), file);
        QCOMPARE(shownStates(m_form), (CommandStates { false, false, false }));
        QVERIFY(!m_form->mnuNew->isEnabled());
        QVERIFY(m_form->mnuDelete->isEnabled() && m_form->mnuRename->isEnabled());
    }

    void unreadableVirtualFileIsShownEmptyAndHidesNoOther()
    {
        m_folder.reset();
        m_folder = std::make_unique<fixtures::CustomEditorFolder>();
        fixtures::writeBrokenFile(m_folder->virtualFile("Another"));
        fixtures::writeVirtualSubjectFile(m_folder->virtualFile("Zeta"), { { "Last", {} }, { "Later", {} } });
        m_form = m_folder->open();
        QTreeWidget* tree = m_form->TreeVirtual;
        QStringList files;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            files << tree->topLevelItem(i)->text(0);
        QCOMPARE(files, QStringList({ "Another", "My words", "Zeta" }));
        QCOMPARE(tree->topLevelItem(0)->childCount(), 0);
        QVERIFY(isBoldNode(tree->topLevelItem(0)));
        QCOMPARE(childTexts(tree->topLevelItem(1)), QStringList({ "Zoo", "Empty" }));
        QCOMPARE(childTexts(tree->topLevelItem(2)), QStringList({ "Last", "Later" }));
        QCOMPARE(m_folder->env.dialogs.shown.size(), 1);
        QVERIFY(m_folder->env.dialogs.shown[0].text.contains("Fill_Virtual_Subjects: Another: "));
        QCOMPARE(tree->currentItem(), tree->topLevelItem(0));
    }

    void clicksListPhrasesCheckSubjectsAndSetCommands()
    {
        QTreeWidgetItem* zoo = m_folder->installedNode("Animals At The Zoo");
        clickInstalled(zoo);
        QCOMPARE(childTexts(zoo), QStringList({ "Tr1", "Tr2", "Tr3" }));
        QCOMPARE(nodeTag(zoo->child(1)), "animals_at_the_zoo.ale*2*P2*Tr2*Tr22");
        QCOMPARE(nodeImage(zoo->child(1)), PhraseImage);

        QTreeWidgetItem* broken = m_folder->installedNode("Broken");
        clickInstalled(broken);
        QCOMPARE(nodeImage(broken), UnusableSubject);
        QCOMPARE(nodeSelectedImage(broken), UnusableSubject);
        QCOMPARE(broken->childCount(), 0);
        QCOMPARE(m_form->TreeSubjects->currentItem(), m_form->TreeSubjects->topLevelItem(0));
        QCOMPARE(m_folder->env.dialogs.shown.size(), 1);
        QCOMPARE(m_folder->env.dialogs.shown[0].title, "T103");

        QTreeWidgetItem* file = m_folder->virtualNode("My words");
        clickVirtual(file);
        QVERIFY(file->isExpanded());
        QCOMPARE(nodeImage(file), VirtualFileOpen);
        QCOMPARE(shownStates(m_form), (CommandStates { true, true, true }));
        QVERIFY(m_form->mnuNew->isEnabled());

        QTreeWidgetItem* subject = m_folder->virtualNode("Zoo");
        clickVirtual(subject);
        QCOMPARE(childTexts(subject), QStringList({ "Tr2", "Tr3" }));
        const QStringList tag = nodeTag(subject->child(1)).split('*');
        QCOMPARE(tag.mid(0, 5), QStringList({ "animals_at_the_zoo.ale", "3", "P3", "Tr3", "Tr23" }));
        QCOMPARE(nodeImage(subject->child(1)), VirtualPhraseImage);
        QCOMPARE(shownStates(m_form), (CommandStates { false, true, true }));
        QVERIFY(!m_form->mnuNew->isEnabled());
        clickVirtual(subject);
        QCOMPARE(subject->childCount(), 2);

        clickVirtual(subject->child(0));
        QCOMPARE(shownStates(m_form), (CommandStates { false, false, true }));

        // The source subject of a phrase is gone: reported, and its virtual subject is selected.
        QFile::remove(m_folder->installed("animals_at_the_zoo.ale"));
        clickVirtual(subject->child(1));
        QCOMPARE(m_folder->env.dialogs.shown.size(), 2);
        QVERIFY(m_folder->env.dialogs.shown[1].text.contains("animals_at_the_zoo.ale"));
        QCOMPARE(m_form->TreeVirtual->currentItem(), subject);
        QCOMPARE(shownStates(m_form), (CommandStates { false, true, true }));

        // An empty file toggles its picture though it has nothing to open.
        QTest::mouseClick(m_form->btnNewFolder, Qt::LeftButton);
        QTreeWidgetItem* created = m_folder->virtualNode("T123");
        QTest::keyClick(openEditor(m_form->TreeVirtual), Qt::Key_Escape);
        clickVirtual(created);
        QCOMPARE(nodeImage(created), VirtualFileOpen);
        clickVirtual(created);
        QCOMPARE(nodeImage(created), VirtualFileClosed);
    }

    void aConfirmedUnchangedNameSaysNothingAndAnotherFilesNameIsRefused()
    {
        ModalScript modal;
        clickVirtual(m_folder->virtualNode("My words"));
        QTest::mouseClick(m_form->btnRename, Qt::LeftButton);
        typeLabel(m_form->TreeVirtual, "My words");
        QTest::qWait(150);
        QVERIFY(!openEditor(m_form->TreeVirtual));
        QVERIFY(!m_form->wroteFiles());

        QTest::mouseClick(m_form->btnNewFolder, Qt::LeftButton);
        QTreeWidgetItem* file = m_folder->virtualNode("T123");
        QVERIFY(file);
        QVERIFY(QFile::exists(m_folder->virtualFile("T123")));
        QVERIFY(isBoldNode(file));
        QCOMPARE(m_form->TreeVirtual->currentItem(), file);
        QVERIFY(openEditor(m_form->TreeVirtual));
        QVERIFY(m_form->btnNewSubject->isEnabled() && m_form->mnuNew->isEnabled());
        QVERIFY(m_form->wroteFiles());
        typeLabel(m_form->TreeVirtual, "T123");
        QTest::qWait(150);
        QVERIFY(!openEditor(m_form->TreeVirtual));
        QCOMPARE(file->text(0), "T123");
        QVERIFY(QFile::exists(m_folder->virtualFile("T123")));
        QVERIFY(modal.notices.isEmpty());

        QTest::mouseClick(m_form->btnNewFolder, Qt::LeftButton);
        QTRY_VERIFY(m_folder->virtualNode("T123 2"));
        typeLabel(m_form->TreeVirtual, "My words");
        QTRY_COMPARE(modal.notices, QStringList { "T125" });
        QTRY_VERIFY(openEditor(m_form->TreeVirtual));
        QVERIFY(!m_form->TimerEdit->isActive());
        QCOMPARE(m_folder->virtualNode("T123 2")->text(0), "T123 2");

        typeLabel(m_form->TreeVirtual, "Verbs");
        QTRY_COMPARE(m_folder->virtualNode("Verbs"), m_form->TreeVirtual->topLevelItem(2));
        QVERIFY(QFile::exists(m_folder->virtualFile("Verbs")));
        QVERIFY(!QFile::exists(m_folder->virtualFile("T123 2")));
        QVERIFY(QFile::exists(m_folder->virtualFile("My words")));
        QCOMPARE(modal.notices.size(), 1);
    }

    void blankSubjectNameIsRefusedAndEscapeKeepsTheOldName()
    {
        ModalScript modal;
        QTreeWidgetItem* subject = m_folder->virtualNode("Zoo");
        clickVirtual(m_folder->virtualNode("My words"));
        clickVirtual(subject);
        QTest::mouseClick(m_form->btnRename, Qt::LeftButton);
        QCOMPARE(m_form->TreeVirtual->OldName, "Zoo");
        typeLabel(m_form->TreeVirtual, "   ");
        QTRY_COMPARE(modal.notices, QStringList { "T124" });
        QTRY_VERIFY(openEditor(m_form->TreeVirtual));
        QCOMPARE(subject->text(0), "Zoo");
        QCOMPARE(openEditor(m_form->TreeVirtual)->text(), "Zoo");

        typeLabel(m_form->TreeVirtual, "Lions", Qt::Key_Escape);
        QTest::qWait(150);
        QCOMPARE(subject->text(0), "Zoo");
        QVERIFY(!openEditor(m_form->TreeVirtual));
        QCOMPARE(m_folder->storedSubjects("My words"), QStringList({ "Zoo", "Empty" }));
        QVERIFY(!m_form->wroteFiles());

        QTest::mouseClick(m_form->btnRename, Qt::LeftButton);
        typeLabel(m_form->TreeVirtual, " Big cats ");
        QTRY_COMPARE(subject->text(0), " Big cats ");
        QCOMPARE(m_folder->storedSubjects("My words"), QStringList({ " Big cats ", "Empty" }));
        QCOMPARE(nodeTag(subject), QString::number(zooKey()));
        QVERIFY(m_form->wroteFiles());
        QCOMPARE(modal.notices.size(), 1);
    }

    void newSubjectGoesIntoTheFileOfTheSelection()
    {
        QTreeWidgetItem* file = m_folder->virtualNode("My words");
        clickVirtual(file);
        QTest::mouseClick(m_form->btnNewSubject, Qt::LeftButton);
        QCOMPARE(m_folder->storedSubjects("My words"), QStringList({ "Zoo", "Empty", "T51" }));
        QTreeWidgetItem* created = file->child(2);
        QCOMPARE(created->text(0), "T51");
        QCOMPARE(nodeImage(created), VirtualSubjectImage);
        QCOMPARE(m_form->TreeVirtual->currentItem(), created);
        QVERIFY(openEditor(m_form->TreeVirtual));
        typeLabel(m_form->TreeVirtual, "Birds");
        QTRY_COMPARE(created->text(0), "Birds");

        // With a phrase selected the subject still lands in its file, not in a file named after its subject.
        clickVirtual(m_folder->virtualNode("Zoo"));
        clickVirtual(m_folder->virtualNode("Tr2"));
        m_form->btnNewSubject_Click();
        QCOMPARE(m_folder->storedSubjects("My words"), QStringList({ "Zoo", "Empty", "Birds", "T51" }));
        QVERIFY(!QFile::exists(m_folder->virtualFile("Zoo")));
    }

    void deleteKeyDeletesLikeTheButton()
    {
        QTreeWidgetItem* subject = m_folder->virtualNode("Zoo");
        clickVirtual(m_folder->virtualNode("My words"));
        clickVirtual(subject);
        clickVirtual(subject->child(0));
        // The last press went to the other tree: the phrase row deleted is still the one of the node.
        QTest::mousePress(m_form->TreeSubjects->viewport(), Qt::LeftButton, {},
            nodeCentre(m_form->TreeSubjects, m_folder->installedNode("Colours")));
        QTest::mouseRelease(m_form->TreeSubjects->viewport(), Qt::LeftButton, {},
            nodeCentre(m_form->TreeSubjects, m_folder->installedNode("Colours")));
        QTest::mouseClick(m_form->btnDelete, Qt::LeftButton);
        QCOMPARE(childTexts(subject), QStringList { "Tr3" });
        QCOMPARE(m_folder->storedPhrases("My words", zooKey()), QStringList { "P3" });
        QVERIFY(m_form->wroteFiles());

        // The key works whatever the state of the button.
        m_form->TreeVirtual->setCurrentItem(m_folder->virtualNode("Empty"));
        m_form->btnDelete->setEnabled(false);
        QTest::keyClick(m_form->TreeVirtual, Qt::Key_Delete);
        QCOMPARE(m_folder->storedSubjects("My words"), QStringList { "Zoo" });
        QVERIFY(!m_folder->virtualNode("Empty"));
        QVERIFY(!m_form->btnNewSubject->isEnabled());

        m_form->TreeVirtual->setCurrentItem(m_folder->virtualNode("My words"));
        QTest::keyClick(m_form->TreeVirtual, Qt::Key_Delete);
        QVERIFY(!QFile::exists(m_folder->virtualFile("My words")));
        QCOMPARE(m_form->TreeVirtual->topLevelItemCount(), 0);
        QTest::keyClick(m_form->TreeVirtual, Qt::Key_Delete);
        QCOMPARE(m_folder->env.dialogs.shown.size(), 0);
    }

    void failedDeleteKeepsTheNodeAndTheEditorUsable()
    {
        clickVirtual(m_folder->virtualNode("My words"));
        clickVirtual(m_folder->virtualNode("Empty"));
        QFile::remove(m_folder->virtualFile("My words"));
        QTest::mouseClick(m_form->btnDelete, Qt::LeftButton);
        QCOMPARE(m_folder->env.dialogs.shown.size(), 1);
        QCOMPARE(m_folder->env.dialogs.shown[0].title, "ERROR");
        QVERIFY(m_folder->env.dialogs.shown[0].text.startsWith("T149\r\n\r\nbtnDelete_Click: "));
        QVERIFY(m_folder->virtualNode("Empty"));
        QVERIFY(m_form->isEnabled());
        QTest::mouseClick(m_form->btnNewFolder, Qt::LeftButton);
        QVERIFY(QFile::exists(m_folder->virtualFile("T123")));
    }

    void rightClickMenuActsOnTheNodeUnderThePointer()
    {
        clickVirtual(m_folder->virtualNode("My words"));
        clickVirtual(m_folder->virtualNode("Empty"));
        QTreeWidgetItem* zoo = m_folder->virtualNode("Zoo");
        const auto rightClick = [&](QTreeWidgetItem* node, QAction* command) {
            connect(
                m_form->mnuEdit, &QMenu::aboutToShow, this,
                [&, command] {
                    QTimer::singleShot(0, command, &QAction::trigger);
                    QTimer::singleShot(0, m_form->mnuEdit, &QMenu::close);
                },
                Qt::SingleShotConnection);
            QTest::mousePress(m_form->TreeVirtual->viewport(), Qt::RightButton, {}, nodeCentre(m_form->TreeVirtual, node));
        };
        rightClick(zoo, m_form->mnuRename);
        QCOMPARE(m_form->TreeVirtual->editedNode(), zoo);
        QCOMPARE(shownStates(m_form), (CommandStates { false, true, true }));
        QTest::keyClick(openEditor(m_form->TreeVirtual), Qt::Key_Escape);

        rightClick(m_folder->virtualNode("Empty"), m_form->mnuDelete);
        QCOMPARE(m_folder->storedSubjects("My words"), QStringList { "Zoo" });
    }

    void renameFollowsTheNewNode()
    {
        // A new file, then a new subject in it: each is selected, and Rename edits it rather than the node before.
        clickVirtual(m_folder->virtualNode("Zoo"));
        for (QPushButton* command : { m_form->btnNewFolder, m_form->btnNewSubject }) {
            QTest::mouseClick(command, Qt::LeftButton);
            QTreeWidgetItem* created = m_form->TreeVirtual->editedNode();
            QTest::keyClick(openEditor(m_form->TreeVirtual), Qt::Key_Escape);
            QCOMPARE(shownStates(m_form), Command_States(Node_Kind(created)));
            QTest::mouseClick(m_form->btnRename, Qt::LeftButton);
            QCOMPARE(m_form->TreeVirtual->editedNode(), created);
            QCOMPARE(m_form->TreeVirtual->OldName, command == m_form->btnNewFolder ? "T123" : "T51");
            QTest::keyClick(openEditor(m_form->TreeVirtual), Qt::Key_Escape);
        }
        QCOMPARE(m_folder->virtualNode("T51")->parent(), m_folder->virtualNode("T123"));
    }

    void deletedFileComesBackByteForByte_data()
    {
        QTest::addColumn<bool>("hasTrash");
        QTest::newRow("to the trash") << true;
        QTest::newRow("no trash") << false;
    }

    void deletedFileComesBackByteForByte()
    {
        QFETCH(bool, hasTrash);
        m_folder->env.shell.hasTrash = hasTrash;
        const QString path = m_folder->virtualFile("My words");
        const QByteArray before = readFile(path);
        QTreeWidgetItem* file = m_folder->virtualNode("My words");
        file->setExpanded(true);
        m_form->TreeVirtual->setCurrentItem(file);
        QTest::keyClick(m_form->TreeVirtual, Qt::Key_Delete);
        QCOMPARE(m_folder->env.shell.trashed, QStringList { path });
        QVERIFY(!QFile::exists(path));
        QVERIFY(m_form->btnUndo->isEnabled());

        QApplication::setActiveWindow(m_form);
        QTest::keySequence(m_form, QKeySequence::Undo);
        QCOMPARE(readFile(path), before);
        QCOMPARE(m_form->TreeVirtual->topLevelItem(0), file);
        QCOMPARE(childTexts(file), QStringList({ "Zoo", "Empty" }));
        QVERIFY(file->isExpanded());
        QCOMPARE(m_form->TreeVirtual->currentItem(), file);
        QCOMPARE(shownStates(m_form), (CommandStates { true, true, true }));
        QVERIFY(!m_form->btnUndo->isEnabled());
        QVERIFY(m_form->wroteFiles());
    }

    void deletionsComeBackInReverseOrderEachInItsPlace()
    {
        QTreeWidgetItem* zoo = m_folder->virtualNode("Zoo");
        clickVirtual(m_folder->virtualNode("My words"));
        clickVirtual(zoo);
        const auto rows = [&] {
            QStringList all;
            for (int key : { zooKey(), static_cast<int>(m_folder->keys[1]) }) {
                for (const VirtualPhraseRow& row : List_Virtual_Phrases(m_folder->session(), "My words", key))
                    all << QStringList { QString::number(row.pkPhraseNo), QString::number(row.fkParent), row.tfilename,
                        QString::number(row.nPhraseNo), row.tPhrase, row.tTranslation, row.tTranslation2 }
                               .join('|');
            }
            return all;
        };
        const QStringList phrasesBefore = rows();
        const QStringList tagsBefore { nodeTag(zoo->child(0)), nodeTag(zoo->child(1)) };

        // The first phrase, then its subject, then the other subject.
        for (QTreeWidgetItem* node : { zoo->child(0), zoo, m_folder->virtualNode("Empty") }) {
            m_form->TreeVirtual->setCurrentItem(node);
            m_form->btnDelete_Click();
        }
        QVERIFY(m_folder->storedSubjects("My words").isEmpty());
        QCOMPARE(m_folder->env.dialogs.shown.size(), 0);

        const QList<QStringList> undone { { "Empty" }, { "Zoo", "Empty" }, { "Zoo", "Empty" } };
        for (const QStringList& subjects : undone) {
            QTest::mouseClick(m_form->btnUndo, Qt::LeftButton);
            QCOMPARE(m_folder->storedSubjects("My words"), subjects);
            QCOMPARE(childTexts(m_folder->virtualNode("My words")), subjects);
        }
        QCOMPARE(m_form->TreeVirtual->currentItem(), zoo->child(0));
        QCOMPARE(childTexts(zoo), QStringList({ "Tr2", "Tr3" }));
        QCOMPARE((QStringList { nodeTag(zoo->child(0)), nodeTag(zoo->child(1)) }), tagsBefore);
        QCOMPARE(rows(), phrasesBefore);
        QCOMPARE(m_folder->env.dialogs.shown.size(), 0);

        // Nothing left to undo: nothing happens.
        QVERIFY(!m_form->btnUndo->isEnabled());
        m_form->btnUndo_Click();
        QApplication::setActiveWindow(m_form);
        QTest::keySequence(m_form, QKeySequence::Undo);
        QCOMPARE(rows(), phrasesBefore);
        QCOMPARE(childTexts(m_folder->virtualNode("My words")), QStringList({ "Zoo", "Empty" }));
        QCOMPARE(m_folder->env.dialogs.shown.size(), 0);
    }

    void failedUndoSaysSoAndLosesNothing()
    {
        const QString path = m_folder->virtualFile("My words");
        m_form->TreeVirtual->setCurrentItem(m_folder->virtualNode("Empty"));
        m_form->btnDelete_Click();
        m_form->TreeVirtual->setCurrentItem(m_folder->virtualNode("My words"));
        m_form->btnDelete_Click();
        // Another file took the name meanwhile: it stays as it is, and so does the deletion.
        QVERIFY(writeFile(path, "another"));
        m_form->btnUndo_Click();
        QCOMPARE(m_folder->env.dialogs.shown.size(), 1);
        QVERIFY(m_folder->env.dialogs.shown[0].text.startsWith("T183\r\n\r\n"));
        QCOMPARE(readFile(path), QByteArray("another"));
        QCOMPARE(m_form->TreeVirtual->topLevelItemCount(), 0);
        QVERIFY(m_form->btnUndo->isEnabled());

        QVERIFY(QFile::remove(path));
        m_form->btnUndo_Click();
        m_form->btnUndo_Click();
        QCOMPARE(m_folder->storedSubjects("My words"), QStringList({ "Zoo", "Empty" }));
        QCOMPARE(childTexts(m_folder->virtualNode("My words")), QStringList({ "Zoo", "Empty" }));
        QCOMPARE(m_folder->env.dialogs.shown.size(), 1);
    }

    void doubleClickPlaysTheSelectedPhrase()
    {
        QTreeWidgetItem* zoo = m_folder->installedNode("Animals At The Zoo");
        clickInstalled(zoo);
        doubleClick(m_form->TreeSubjects, zoo);
        QVERIFY(m_folder->env.sound.files.isEmpty());
        doubleClick(m_form->TreeSubjects, zoo->child(2));
        QCOMPARE(m_folder->env.sound.files.size(), 1);
        QCOMPARE(m_folder->env.sound.files[0].second, 0);
        QFile played(m_folder->env.sound.files[0].first);
        QVERIFY(played.fileName().endsWith("~selectedphrase.wav"));
        QVERIFY(played.open(QIODevice::ReadOnly));
        QCOMPARE(played.readAll(), fixtures::numberedPhrases(3)[2].sound);

        // A phrase of a virtual subject plays the sound of its installed subject.
        clickVirtual(m_folder->virtualNode("My words"));
        clickVirtual(m_folder->virtualNode("Zoo"));
        doubleClick(m_form->TreeVirtual, m_folder->virtualNode("Zoo")->child(0));
        QCOMPARE(m_folder->env.sound.files.size(), 2);
        QVERIFY(!frmMsgBox::isLoaded());
    }

    void closingRebuildsTheMainTreeOnlyAfterAChange()
    {
        int passes = m_folder->env.clock.eventPasses;
        QTest::mouseClick(m_form->btnDone, Qt::LeftButton);
        QCOMPARE(m_folder->host.refreshes, 0);
        QCOMPARE(m_folder->host.shows, 1);
        QCOMPARE(m_folder->env.clock.eventPasses, passes);
        QVERIFY(!frmMsgBox::isLoaded());

        m_form = m_folder->open();
        QTest::mouseClick(m_form->btnNewFolder, Qt::LeftButton);
        QTest::keyClick(openEditor(m_form->TreeVirtual), Qt::Key_Escape);
        QStringList seen;
        m_folder->env.clock.onEvents = [&] {
            if (frmMsgBox* box = frmMsgBox::showing())
                seen << box->windowTitle() + "|" + box->lblMsg->text();
            QVERIFY(!m_form->isVisible());
        };
        QPointer<frmCustomSubject> form = m_form;
        QTest::mouseClick(m_form->btnDone, Qt::LeftButton);
        m_folder->env.clock.onEvents = nullptr;
        QCOMPARE(m_folder->host.refreshes, 1);
        QCOMPARE(m_folder->host.shows, 2);
        QVERIFY(!seen.isEmpty());
        QCOMPARE(seen.first(), "T129|T13...");
        QVERIFY(!frmMsgBox::isLoaded());
        QTRY_VERIFY(!form);
    }
};

QTEST_MAIN(TestCustomSubject)
#include "tst_customsubject.moc"
