#include <QtTest>

#include "common/frmmsgbox.h"
#include "common/rnd.h"
#include "platform/services.h"
#include "subjects/treefill.h"
#include "subjects/treenode.h"
#include "tests/support/fakes.h"
#include "tests/support/treewindow.h"
#include "tests/support/subjectfixtures.h"
#include "tests/support/treetest.h"

// The random phrase set: drawing its phrases from the installed subjects, and what the tree looks like when
// drawing fails.
class TestTreeFill : public fixtures::TreeTest<fixtures::TreeWindow>
{
    Q_OBJECT
private:
    bool windowEnabled() const { return m_main->window.isEnabled(); }
    // The three fixed folders and, under the third, a random phrase set.
    QTreeWidgetItem* newPhraseSet()
    {
        m_main->tree->clear();
        m_main->subjects.Create_Folders();
        auto* set = makeNode("T118", SubjectRef::virtualSubject(QString(), 0, "T118", "T119"), SubjectImage,
            SubjectSelected);
        top(3)->addChild(set);
        setNodeImage(top(3), FolderOpen);
        top(3)->setExpanded(true);
        m_main->tree->setCurrentItem(set);
        return set;
    }
    void draw(QTreeWidgetItem* set) { Get_Random_Phrases(set, m_main->file1, m_main->session, &m_main->window); }

private Q_SLOTS:
    void init() { start(); }
    void cleanup() { finish(); }

    void withOneSubjectAllTenRandomPhrasesComeFromIt()
    {
        fixtures::writeInstalledSubject(installed("only.ale"), fixtures::numberedPhrases(4));
        QTreeWidgetItem* set = newPhraseSet();
        bool lockedWhileDrawing = true;
        Set_Rnd_Script([&, draw = 0]() mutable {
            lockedWhileDrawing = lockedWhileDrawing && !windowEnabled();
            return (draw++ % 4) / 4.0;
        });
        draw(set);
        QCOMPARE(set->childCount(), 10);
        for (int i = 0; i < 10; ++i) {
            QVERIFY(nodeTag(set->child(i)).startsWith("only.ale*"));
            QCOMPARE(nodeImage(set->child(i)), int(PhraseImage));
        }
        // Each phrase: one number for the subject, one for the key.
        QCOMPARE(nodeTag(set->child(0)), QStringLiteral("only.ale*2*P2*Tr2*Tr22"));
        QVERIFY(lockedWhileDrawing);
        QVERIFY(windowEnabled());
        QVERIFY(m_env->dialogs.shown.isEmpty());
        // A set with its phrases draws nothing more.
        draw(set);
        QCOMPARE(set->childCount(), 10);
    }

    void unusableSubjectsAreSkippedAndNamedWhileWaiting()
    {
        // Twelve broken subjects and one good one, drawn last: eleven failed draws before the good one.
        for (int i = 0; i < 12; ++i)
            fixtures::writeBrokenFile(installed(QStringLiteral("b%1.ale").arg(i, 2, 10, QLatin1Char('0'))));
        fixtures::writeInstalledSubject(installed("zz_good.ale"), fixtures::numberedPhrases(2));
        QTreeWidgetItem* set = newPhraseSet();
        QVector<double> draws;
        for (int i = 0; i < 12; ++i)
            draws << (i + 0.5) / 13.0 << 0.0; // a broken subject, then again the first one (flagged by then)
        draws << 12.5 / 13.0;
        QStringList named; // the notice's text at each draw
        Set_Rnd_Script([&, next = fakes::numbers(draws)]() mutable {
            if (frmMsgBox* box = frmMsgBox::showing())
                named << box->lblMsg->text();
            return next();
        });
        QStringList seen;
        int heightTwips = 0;
        m_env->clock.onEvents = [&] {
            if (frmMsgBox* box = frmMsgBox::showing()) {
                heightTwips = platform::toTwips(box->height());
                if (seen.isEmpty() || seen.last() != box->lblMsg->text())
                    seen << box->windowTitle() + "|" + box->lblMsg->text();
            }
        };
        draw(set);
        QCOMPARE(set->childCount(), 10);
        for (int i = 0; i < 10; ++i)
            QVERIFY(nodeTag(set->child(i)).startsWith("zz_good.ale*"));
        // The notice came up at the eleventh failed draw and waited a second with the plain message.
        QVERIFY(!seen.isEmpty());
        QCOMPARE(seen.first(), QStringLiteral("T119|T148"));
        QVERIFY(qAbs(heightTwips - 2000) <= 15);
        QVERIFY(m_env->clock.ms >= 500);
        // Then it named each rejected file in turn: the eleventh and the twelfth.
        named.removeDuplicates();
        QCOMPARE(named, QStringList({ "T148\r\n\r\nb10.ale", "T148\r\n\r\nb11.ale" }));
        QVERIFY(!frmMsgBox::isLoaded());
        QVERIFY(m_env->dialogs.shown.isEmpty());
    }

    void everySubjectUnusableRemovesTheSet()
    {
        for (int i = 0; i < 3; ++i)
            fixtures::writeBrokenFile(installed(QStringLiteral("b%1.ale").arg(i)));
        QTreeWidgetItem* set = newPhraseSet();
        Set_Rnd_Script(fakes::numbers({ 0.1, 0.5, 0.9 }));
        draw(set);
        QCOMPARE(top(3)->childCount(), 0);
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QCOMPARE(m_env->dialogs.shown[0].text, QStringLiteral("T140"));
        QVERIFY(windowEnabled());

        // Subjects deleted while the program runs: nothing to draw from, and no endless drawing.
        for (int i = 0; i < 3; ++i)
            QFile::remove(installed(QStringLiteral("b%1.ale").arg(i)));
        set = newPhraseSet();
        draw(set);
        QCOMPARE(top(3)->childCount(), 0);
        QCOMPARE(m_env->dialogs.shown.size(), 2);
        QCOMPARE(m_env->dialogs.shown[1].text, QStringLiteral("T140"));
    }

    void aDrawnSubjectWithoutPhrasesLeavesTheTreeAsItWas_data()
    {
        QTest::addColumn<QVector<int>>("keys");
        QTest::newRow("no phrase") << QVector<int> {};
        QTest::newRow("a gap in the keys") << QVector<int> { 1, 3 };
    }

    void aDrawnSubjectWithoutPhrasesLeavesTheTreeAsItWas()
    {
        QFETCH(QVector<int>, keys);
        QVector<fixtures::PhraseFixture> phrases;
        for (int k : keys)
            phrases.push_back({ k, "P", "T", "U", fixtures::waveBytes(10) });
        fixtures::writeInstalledSubject(installed("thin.ale"), phrases);
        QTreeWidgetItem* set = newPhraseSet();
        Set_Rnd_Script(fakes::numbers({ 0.9 }));
        draw(set);
        QCOMPARE(top(3)->childCount(), 0);
        QCOMPARE(nodeImage(top(3)), int(FolderClosed));
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QCOMPARE(m_env->dialogs.shown[0].title, QStringLiteral("ERROR"));
        QVERIFY(m_env->dialogs.shown[0].text.startsWith("T149\r\n\r\nGet_Random_Phrases: "));
        QVERIFY(windowEnabled());
    }
};

QTEST_MAIN(TestTreeFill)
#include "tst_treefill.moc"
