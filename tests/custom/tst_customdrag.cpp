#include <QtTest>

#include <QDrag>
#include <QMimeData>
#include <QScrollBar>

#include "common/captions.h"
#include "custom/customnodes.h"
#include "custom/frmcustomsubject.h"
#include "tests/support/customeditor.h"

using fixtures::childTexts;
using fixtures::nodeCentre;

// Drags with the real mouse path of the window system: QDrag::exec() runs its own event loop, so everything
// after the start of a drag is sent from a timer inside that loop.
class TestCustomDrag : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<fixtures::CustomEditorFolder> m_folder;
    frmCustomSubject* m_form = nullptr;

    void listPhrases(QTreeWidgetItem* subject)
    {
        QTest::mouseClick(
            m_form->TreeSubjects->viewport(), Qt::LeftButton, {}, nodeCentre(m_form->TreeSubjects, subject));
        QVERIFY(subject->childCount() > 0);
    }
    // Lets the drag rest over the tree for a while, as a hand would.
    void hover(const QPoint& at, int ms)
    {
        QWidget* to = m_form->TreeVirtual->viewport();
        QTest::mouseMove(to, at - QPoint(0, 3));
        QTest::mouseMove(to, at);
        QTest::qWait(ms);
    }
    // Takes the node by the mouse, moves it over TreeVirtual to at (viewport pixels), runs whileOver there
    // and lets go.
    void dragTo(QTreeWidgetItem* node, const QPoint& at, const std::function<void()>& whileOver = {})
    {
        QWidget* from = m_form->TreeSubjects->viewport();
        const QPoint start = nodeCentre(m_form->TreeSubjects, node);
        bool released = false;
        QTimer::singleShot(150, this, [&, at] {
            hover(at, 60);
            if (whileOver)
                whileOver();
            QTest::mouseRelease(m_form->TreeVirtual->viewport(), Qt::LeftButton, {}, at);
            released = true;
        });
        QTest::mousePress(from, Qt::LeftButton, {}, start);
        QTest::mouseMove(from, start + QPoint(2, 0));
        QTest::mouseMove(from, start + QPoint(QApplication::startDragDistance() + 8, 0));
        QTRY_VERIFY(released);
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<fixtures::CustomEditorFolder>();
        m_form = m_folder->open();
        m_form->move(0, 0);
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
    }

    void cleanup() { m_folder.reset(); }

    void phraseDraggedOntoAVirtualSubject()
    {
        QTreeWidgetItem* colours = m_folder->installedNode("Colours");
        listPhrases(colours);
        QTreeWidgetItem* zoo = m_folder->virtualNode("Zoo");
        QTreeWidgetItem* hovered = nullptr;
        dragTo(colours->child(0), nodeCentre(m_form->TreeVirtual, zoo),
            [&] { hovered = m_form->TreeVirtual->dropHighlight(); });
        QCOMPARE(hovered, zoo);
        // Its stored phrases are listed first, then the dropped one follows them.
        QTRY_COMPARE(childTexts(zoo), QStringList({ "Tr2", "Tr3", "Tr1" }));
        QCOMPARE(m_folder->storedPhrases("My words", static_cast<int>(m_folder->keys[0])),
            QStringList({ "P2", "P3", "P1" }));
        QCOMPARE(m_form->TreeVirtual->currentItem(), zoo->child(2));
        QCOMPARE(m_form->TreeVirtual->dropHighlight(), nullptr);
        QVERIFY(!m_form->Timer1->isActive());
        QVERIFY(m_form->wroteFiles());
        // The drag copies: the installed subject keeps its phrase.
        QCOMPARE(childTexts(colours), QStringList({ "Tr1", "Tr2" }));
        QVERIFY(m_folder->env.dialogs.shown.isEmpty());
    }

    void subjectDraggedOntoAFile()
    {
        QTreeWidgetItem* file = m_folder->virtualNode("My words");
        dragTo(m_folder->installedNode("Colours"), nodeCentre(m_form->TreeVirtual, file));
        QTRY_COMPARE(childTexts(file), QStringList({ "Zoo", "Empty", "Colours" }));
        QCOMPARE(childTexts(file->child(2)), QStringList({ "Tr1", "Tr2" }));
        QCOMPARE(m_folder->storedSubjects("My words"), QStringList({ "Zoo", "Empty", "Colours" }));
        QVERIFY(m_form->btnRename->isEnabled() && m_form->btnDelete->isEnabled());

        // The same subject on a virtual subject is refused.
        dragTo(m_folder->installedNode("Colours"), nodeCentre(m_form->TreeVirtual, m_folder->virtualNode("Zoo")));
        QTRY_COMPARE(m_folder->env.dialogs.shown.size(), 1);
        QCOMPARE(m_folder->env.dialogs.shown[0].text, "T137");
        QCOMPARE(m_folder->storedSubjects("My words").size(), 3);
    }

    void hoverNearTheEdgesScrolls()
    {
        for (int i = 0; i < 60; ++i)
            m_form->TreeVirtual->addTopLevelItem(Virtual_File_Node(QString("File %1").arg(i)));
        QScrollBar* bar = m_form->TreeVirtual->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 5);
        QWidget* viewport = m_form->TreeVirtual->viewport();
        const QPoint nearBottom(viewport->width() / 2, viewport->height() - 3);
        const QPoint middle(viewport->width() / 2, viewport->height() / 2);
        int scrolledDown = 0;
        int scrolledUp = 0;
        bool stoppedInTheMiddle = false;
        dragTo(m_form->TreeSubjects->topLevelItem(0), middle, [&] {
            const int start = bar->value();
            hover(nearBottom, 700);
            scrolledDown = bar->value() - start;
            const int top = bar->value();
            hover(QPoint(middle.x(), 1), 500);
            scrolledUp = top - bar->value();
            hover(middle, 0);
            stoppedInTheMiddle = !m_form->Timer1->isActive();
        });
        QVERIFY2(scrolledDown >= 2, qPrintable(QString::number(scrolledDown)));
        QVERIFY2(scrolledUp >= 1, qPrintable(QString::number(scrolledUp)));
        QVERIFY(stoppedInTheMiddle);
        // The root drops nothing.
        QTest::qWait(50);
        QCOMPARE(m_form->TreeVirtual->dropHighlight(), nullptr);
        QVERIFY(!m_form->wroteFiles());
        QVERIFY(m_folder->env.dialogs.shown.isEmpty());
    }

    void dropFromElsewhereIsIgnored()
    {
        // Another widget, even with the tree's own data type and text for other programs.
        QWidget other;
        other.setGeometry(m_form->frameGeometry().right() + 10, 0, 100, 100);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        m_form->TreeSubjects->setCurrentItem(m_folder->installedNode("Colours"));
        QTreeWidgetItem* file = m_folder->virtualNode("My words");
        const QPoint at = nodeCentre(m_form->TreeVirtual, file);
        auto* data = new QMimeData;
        data->setData(SubjectsTree::MimeType, "2");
        data->setText("colours.ale");
        auto* drag = new QDrag(&other);
        drag->setMimeData(data);
        QTimer::singleShot(150, this, [&] {
            hover(at, 60);
            QTest::mouseRelease(m_form->TreeVirtual->viewport(), Qt::LeftButton, {}, at);
        });
        QTest::mousePress(&other, Qt::LeftButton, {}, QPoint(50, 50));
        const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction);
        QCOMPARE(action, Qt::IgnoreAction);
        QTest::qWait(50);
        QCOMPARE(file->childCount(), 2);
        QCOMPARE(m_folder->storedSubjects("My words").size(), 2);
        QVERIFY(m_folder->env.dialogs.shown.isEmpty());
        QVERIFY(!m_form->wroteFiles());
    }

    void dropAfterTheSourceWasDeleted()
    {
        QTreeWidgetItem* colours = m_folder->installedNode("Colours");
        listPhrases(colours);
        QFile::remove(m_folder->installed("colours.ale"));
        QTreeWidgetItem* zoo = m_folder->virtualNode("Zoo");
        dragTo(colours->child(0), nodeCentre(m_form->TreeVirtual, zoo));
        QTRY_COMPARE(m_folder->env.dialogs.shown.size(), 1);
        QCOMPARE(m_folder->env.dialogs.shown[0].title, "T103");
        QCOMPARE(childTexts(zoo), QStringList({ "Tr2", "Tr3" }));
        QCOMPARE(m_folder->storedPhrases("My words", static_cast<int>(m_folder->keys[0])), QStringList({ "P2", "P3" }));
        QVERIFY(m_form->isEnabled());
    }
};

QTEST_MAIN(TestCustomDrag)
#include "tst_customdrag.moc"
