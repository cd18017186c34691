#include <QtTest>

#include <QScrollBar>

#include "common/captions.h"
#include "custom/autoscroll.h"
#include "custom/customdrop.h"
#include "custom/customnodes.h"
#include "custom/frmcustomsubject.h"
#include "subjects/treenode.h"
#include "tests/support/customeditor.h"
#include "tests/support/subjectfixtures.h"

using fixtures::childTexts;
using fixtures::nodeCentre;
using platform::twips;

class TestCustomDrop : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<fixtures::CustomEditorFolder> m_folder;
    bool m_wrote = false; // a drop wrote to a file since init
    frmCustomSubject* m_form = nullptr;

    // A phrase of an installed subject, listed as a click on its subject lists it.
    QTreeWidgetItem* installedPhrase(const QString& subject, int i)
    {
        m_form->TreeSubjects_NodeClick(m_folder->installedNode(subject));
        return m_folder->installedNode(subject)->child(i);
    }
    DropResult drop(const QTreeWidgetItem* dragged, QTreeWidgetItem* on)
    {
        const DropResult result
            = Drop_Node(m_folder->session(), m_form->TreeVirtual, on, dragged, m_folder->host.File1());
        m_wrote = m_wrote || Drop_Wrote(result);
        return result;
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const fakes::Message& m : m_folder->env.dialogs.shown)
            texts << m.text;
        return texts;
    }
    int zooKey() const { return static_cast<int>(m_folder->keys[0]); }
    int emptyKey() const { return static_cast<int>(m_folder->keys[1]); }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<fixtures::CustomEditorFolder>();
        m_form = m_folder->open();
        m_wrote = false;
    }

    void cleanup() { m_folder.reset(); }

    void wholeSubjectOnAFileBecomesAVirtualSubject()
    {
        QTreeWidgetItem* file = m_folder->virtualNode("My words");
        QCOMPARE(drop(m_folder->installedNode("Animals At The Zoo"), file), DropResult::SubjectCopied);
        QCOMPARE(m_folder->storedSubjects("My words"), QStringList({ "Zoo", "Empty", "Animals At The Zoo" }));
        QTreeWidgetItem* subject = file->child(2);
        QCOMPARE(subject->text(0), "Animals At The Zoo");
        QCOMPARE(nodeImage(subject), VirtualSubjectImage);
        QCOMPARE(nodeSelectedImage(subject), VirtualSubjectSelected);
        const int key = nodeTag(subject).toInt();
        QVERIFY(key != zooKey() && key != emptyKey());
        QCOMPARE(m_folder->storedPhrases("My words", key), QStringList({ "P1", "P2", "P3" }));
        QCOMPARE(childTexts(subject), QStringList({ "Tr1", "Tr2", "Tr3" }));
        const QStringList tag = nodeTag(subject->child(0)).split('*');
        QCOMPARE(tag.size(), 6);
        QCOMPARE(tag.mid(0, 5), QStringList({ "animals_at_the_zoo.ale", "1", "P1", "Tr1", "Tr21" }));
        QCOMPARE(tag[5].toInt(), List_Virtual_Phrases(m_folder->session(), "My words", key)[0].pkPhraseNo);
        QCOMPARE(nodeImage(subject->child(0)), VirtualPhraseImage);
        QVERIFY(file->isExpanded());
        QCOMPARE(m_form->TreeVirtual->currentItem(), subject);
        QVERIFY(m_wrote);
        QVERIFY(messages().isEmpty());

        // The window follows up: the new subject is the one Rename edits.
        m_form->TreeSubjects->setCurrentItem(m_folder->installedNode("Colours"));
        m_form->TreeVirtual_DragDrop(file);
        QCOMPARE(childTexts(file), QStringList({ "Zoo", "Empty", "Animals At The Zoo", "Colours" }));
        QVERIFY(m_form->btnRename->isEnabled() && m_form->btnDelete->isEnabled());
        m_form->btnRename_Click();
        QCOMPARE(m_form->TreeVirtual->editedNode(), file->child(3));
    }

    void wholeSubjectOnAnythingButAFileIsRefused()
    {
        m_form->TreeVirtual_NodeClick(m_folder->virtualNode("Zoo"));
        for (const char* on : { "Zoo", "Tr2" }) {
            m_folder->env.dialogs.shown.clear();
            QCOMPARE(drop(m_folder->installedNode("Colours"), m_folder->virtualNode(on)), DropResult::NotAFile);
            QCOMPARE(messages(), QStringList { "T137" });
            QCOMPARE(m_folder->env.dialogs.shown[0].icon, platform::Icon::None);
            QCOMPARE(m_folder->env.dialogs.shown[0].title, m_folder->session().ProductName);
        }
        m_folder->env.dialogs.shown.clear();
        QCOMPARE(drop(m_folder->installedNode("Colours"), nullptr), DropResult::NoTarget);
        QCOMPARE(drop(m_form->TreeSubjects->topLevelItem(0), m_folder->virtualNode("My words")), DropResult::Nothing);
        QVERIFY(messages().isEmpty());
        QCOMPARE(m_folder->storedSubjects("My words"), QStringList({ "Zoo", "Empty" }));
        QCOMPARE(childTexts(m_folder->virtualNode("Zoo")), QStringList({ "Tr2", "Tr3" }));
        QVERIFY(!m_wrote);
    }

    void phraseGoesIntoTheVirtualSubjectOfItsTarget()
    {
        QCOMPARE(drop(installedPhrase("Colours", 1), m_folder->virtualNode("Empty")), DropResult::PhraseCopied);
        QTreeWidgetItem* empty = m_folder->virtualNode("Empty");
        QCOMPARE(childTexts(empty), QStringList { "Tr2" });
        const QVector<VirtualPhraseRow> rows = List_Virtual_Phrases(m_folder->session(), "My words", emptyKey());
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].tfilename, "colours.ale");
        QCOMPARE(rows[0].nPhraseNo, 2);
        QCOMPARE(rows[0].tTranslation2, "Tr22");
        QCOMPARE(nodeTag(empty->child(0)), "colours.ale*2*P2*Tr2*Tr22*" + QString::number(rows[0].pkPhraseNo));
        QCOMPARE(m_form->TreeVirtual->currentItem(), empty->child(0));
        QVERIFY(m_wrote);

        // On a phrase: into that phrase's subject.
        QCOMPARE(drop(installedPhrase("Colours", 0), empty->child(0)), DropResult::PhraseCopied);
        QCOMPARE(childTexts(empty), QStringList({ "Tr2", "Tr1" }));
        QCOMPARE(m_folder->storedPhrases("My words", emptyKey()), QStringList({ "P2", "P1" }));
        QVERIFY(messages().isEmpty());
    }

    void phraseOnAFileOrOnNothing()
    {
        QCOMPARE(drop(installedPhrase("Colours", 0), m_folder->virtualNode("My words")), DropResult::NotASubject);
        QCOMPARE(messages(), QStringList { "T126" });
        QVERIFY(!m_wrote);
        QCOMPARE(m_folder->storedPhrases("My words", emptyKey()), QStringList());

        QCOMPARE(drop(installedPhrase("Colours", 0), nullptr), DropResult::NoTarget);
        QCOMPARE(messages().size(), 1);
        QVERIFY(!m_wrote);
    }

    void eleventhPhraseIsRefused()
    {
        fixtures::writeInstalledSubject(m_folder->installed("eleven.ale"), fixtures::numberedPhrases(PhraseLimit + 1));
        delete m_form;
        m_form = m_folder->open();
        QTreeWidgetItem* empty = m_folder->virtualNode("Empty");
        for (int i = 0; i < PhraseLimit; ++i)
            QCOMPARE(drop(installedPhrase("Eleven", i), empty), DropResult::PhraseCopied);
        m_wrote = false;
        QCOMPARE(drop(installedPhrase("Eleven", PhraseLimit), empty->child(3)), DropResult::SubjectFull);
        QCOMPARE(messages(), QStringList { "T7" });
        QCOMPARE(empty->childCount(), PhraseLimit);
        QCOMPARE(m_folder->storedPhrases("My words", emptyKey()).size(), PhraseLimit);
        QVERIFY(!m_wrote);
    }

    // "Zoo" holds phrases 2 and 3 of the zoo; phrase 2 of the colours has the same text as the zoo's.
    void aPhraseTheSubjectHoldsIsRefused_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<int>("phrase");
        QTest::addColumn<DropResult>("result");
        QTest::newRow("the same phrase") << "Animals At The Zoo" << 1 << DropResult::AlreadyThere;
        QTest::newRow("the same text from another subject") << "Colours" << 1 << DropResult::AlreadyThere;
        QTest::newRow("another phrase") << "Colours" << 0 << DropResult::PhraseCopied;
    }
    void aPhraseTheSubjectHoldsIsRefused()
    {
        QFETCH(QString, subject);
        QFETCH(int, phrase);
        QFETCH(DropResult, result);
        QCOMPARE(drop(installedPhrase(subject, phrase), m_folder->virtualNode("Zoo")), result);
        const bool refused = result == DropResult::AlreadyThere;
        QCOMPARE(messages(), refused ? QStringList { "T171" } : QStringList());
        if (refused)
            QCOMPARE(m_folder->env.dialogs.shown[0].title, m_folder->session().ProductName);
        QCOMPARE(m_folder->storedPhrases("My words", zooKey()).size(), refused ? 2 : 3);
        QCOMPARE(m_folder->virtualNode("Zoo")->childCount(), refused ? 2 : 3);
        QCOMPARE(m_wrote, !refused);
    }

    void aWholeSubjectKeepsOneOfEachPhrase()
    {
        fixtures::writeInstalledSubject(m_folder->installed("twice.ale"),
            { { 1, "P1", "Tr1", "", {} }, { 2, " p1 ", "Again", "", {} }, { 3, "", "Tr3", "", {} },
                { 4, QVariant(), "Tr4", "", {} } });
        delete m_form;
        m_form = m_folder->open();
        QTreeWidgetItem* file = m_folder->virtualNode("My words");
        QCOMPARE(drop(m_folder->installedNode("Twice"), file), DropResult::SubjectCopied);
        QCOMPARE(messages(), QStringList { "T171" });
        // Phrases without a text are not repeats of each other.
        QCOMPARE(childTexts(file->child(2)), QStringList({ "Tr1", "Tr3", "Tr4" }));
        QCOMPARE(m_folder->storedPhrases("My words", nodeTag(file->child(2)).toInt()), QStringList({ "P1", "", "" }));
        // Dropped again, it makes a second copy of the subject.
        QCOMPARE(drop(m_folder->installedNode("Twice"), file), DropResult::SubjectCopied);
        QCOMPARE(childTexts(file->child(3)), QStringList({ "Tr1", "Tr3", "Tr4" }));
    }

    void storedPhrasesCountBeforeTheSubjectWasOpened()
    {
        QVector<fixtures::VirtualPhraseFixture> nine;
        for (int k = 1; k <= 9; ++k)
            nine.push_back({ "colours.ale", 1, QString("S%1").arg(k), "Ts", "Ts2" });
        fixtures::writeVirtualSubjectFile(m_folder->virtualFile("Full"), { { "Nine", nine } });
        // Opened again, so that the new file is read.
        delete m_form;
        m_form = m_folder->open();
        QTreeWidgetItem* subject = m_folder->virtualNode("Nine");
        QCOMPARE(subject->childCount(), 0);
        QCOMPARE(drop(installedPhrase("Colours", 1), subject), DropResult::PhraseCopied);
        QCOMPARE(subject->childCount(), 10);
        QCOMPARE(subject->child(0)->text(0), "Ts");
        QCOMPARE(subject->child(9)->text(0), "Tr2");
        QCOMPARE(drop(installedPhrase("Colours", 1), subject), DropResult::SubjectFull);
        QCOMPARE(messages(), QStringList { "T7" });
    }

    void deletedSourceIsReportedAndNothingWritten()
    {
        QTreeWidgetItem* phrase = installedPhrase("Colours", 0);
        QFile::remove(m_folder->installed("colours.ale"));
        QCOMPARE(
            drop(m_folder->installedNode("Colours"), m_folder->virtualNode("My words")), DropResult::SourceUnusable);
        QCOMPARE(drop(phrase, m_folder->virtualNode("Empty")), DropResult::SourceUnusable);
        QCOMPARE(m_folder->env.dialogs.shown.size(), 2);
        for (const fakes::Message& m : m_folder->env.dialogs.shown) {
            QCOMPARE(m.title, "T103");
            QVERIFY(m.text.contains("colours.ale"));
        }
        QCOMPARE(m_folder->storedSubjects("My words"), QStringList({ "Zoo", "Empty" }));
        QCOMPARE(m_folder->storedPhrases("My words", emptyKey()), QStringList());
        QCOMPARE(m_folder->virtualNode("My words")->childCount(), 2);
        QCOMPARE(m_folder->virtualNode("Empty")->childCount(), 0);
        QVERIFY(!m_wrote);
    }

    void failedCopyIsReportedAndTheTreeStaysAsItWas()
    {
        m_form->TreeVirtual_NodeClick(m_folder->virtualNode("Zoo"));
        QFile::remove(m_folder->virtualFile("My words"));
        QCOMPARE(drop(installedPhrase("Colours", 0), m_folder->virtualNode("Zoo")), DropResult::Failed);
        QCOMPARE(drop(m_folder->installedNode("Colours"), m_folder->virtualNode("My words")), DropResult::Failed);
        QCOMPARE(m_folder->env.dialogs.shown.size(), 2);
        QVERIFY(m_folder->env.dialogs.shown[0].text.startsWith("T149\r\n\r\nCopy_Phrase: "));
        QVERIFY(m_folder->env.dialogs.shown[1].text.startsWith("T149\r\n\r\nCopy_Subject: "));
        QCOMPARE(childTexts(m_folder->virtualNode("Zoo")), QStringList({ "Tr2", "Tr3" }));
        QCOMPARE(m_folder->virtualNode("My words")->childCount(), 2);
    }

    void autoScrollNearTheEdges()
    {
        QCOMPARE(Auto_Scroll_Direction(1, 3000), ScrollDirection::Up);
        QCOMPARE(Auto_Scroll_Direction(99, 3000), ScrollDirection::Up);
        QCOMPARE(Auto_Scroll_Direction(0, 3000), ScrollDirection::None);
        QCOMPARE(Auto_Scroll_Direction(100, 3000), ScrollDirection::None);
        QCOMPARE(Auto_Scroll_Direction(2800, 3000), ScrollDirection::None);
        QCOMPARE(Auto_Scroll_Direction(2801, 3000), ScrollDirection::Down);
        QCOMPARE(Auto_Scroll_Direction(2999, 3000), ScrollDirection::Down);
        QCOMPARE(Auto_Scroll_Direction(3000, 3000), ScrollDirection::None);
        QCOMPARE(Auto_Scroll_Direction(-5, 3000), ScrollDirection::None);

        VirtualTree* tree = m_form->TreeVirtual;
        for (int i = 0; i < 60; ++i)
            tree->addTopLevelItem(Virtual_File_Node(QString("File %1").arg(i)));
        tree->resize(tree->width(), twips(3000));
        QTimer* timer = m_form->Timer1;
        AutoScroll* scroll = m_form->autoScroll();
        const int middle = tree->height() / 2;
        const int bottom = tree->height() - twips(100);

        scroll->dragOver(QPoint(40, middle));
        QVERIFY(!timer->isActive());
        QCOMPARE(tree->dropHighlight(), tree->itemAt(tree->viewport()->mapFrom(tree, QPoint(40, middle))));
        scroll->dragOver(QPoint(40, bottom));
        QVERIFY(timer->isActive());
        QVERIFY(!scroll->ScrollUp);
        const int before = tree->verticalScrollBar()->value();
        scroll->Timer1_Timer();
        QCOMPARE(tree->verticalScrollBar()->value(), before + 1);
        scroll->dragOver(QPoint(40, twips(50)));
        QVERIFY(timer->isActive());
        QVERIFY(scroll->ScrollUp);
        scroll->Timer1_Timer();
        QCOMPARE(tree->verticalScrollBar()->value(), before);
        scroll->dragOver(QPoint(40, middle));
        QVERIFY(!timer->isActive());

        // A pointer that keeps moving inside the band still scrolls: the timer is not put off by each move.
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 700) {
            scroll->dragOver(QPoint(40 + clock.elapsed() % 7, bottom));
            QTest::qWait(40);
        }
        QVERIFY(tree->verticalScrollBar()->value() >= before + 2);
        scroll->stop();
        QVERIFY(!timer->isActive());
        QCOMPARE(tree->dropHighlight(), nullptr);
    }

    void everyDropEndsTheHighlightAndTheScrolling()
    {
        QTreeWidgetItem* zoo = m_folder->virtualNode("Zoo");
        m_form->TreeVirtual->setDropHighlight(zoo);
        m_form->Timer1->start();
        m_form->TreeSubjects->setCurrentItem(m_folder->installedNode("Colours"));
        m_form->TreeVirtual_DragDrop(zoo);
        QCOMPARE(messages(), QStringList { "T137" });
        QCOMPARE(m_form->TreeVirtual->dropHighlight(), nullptr);
        QVERIFY(!m_form->Timer1->isActive());
    }
};

QTEST_MAIN(TestCustomDrop)
#include "tst_customdrop.moc"
