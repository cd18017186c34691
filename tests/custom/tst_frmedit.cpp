#include <QtTest>

#include "common/session.h"
#include "custom/frmedit.h"
#include "custom/phrasetexts.h"
#include "platform/database.h"
#include "subjects/treenode.h"
#include "tests/support/modal.h"
#include "tests/support/subjectfixtures.h"
#include "tests/support/subjectsession.h"

namespace {
QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList storedRow(const QString& zoo, int key)
{
    const platform::Recordset rs = readSubjectFile(zoo, phraseByKeySql(key));
    const PhraseRow p = phraseAt(rs, 0);
    return { p.tPhrase, p.tTranslation, p.tTranslation2 };
}
}

class TestFrmEdit : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<fixtures::SubjectFolders> m_folder;
    std::unique_ptr<fakes::Environment> m_env;
    std::unique_ptr<QTreeWidget> m_tree;
    Session m_session;

    QString zoo() const { return m_session.InstalledSubjectsDir + "zoo.ale"; }
    inline static const QString LongName = QString(246, u'z') + ".ale";
    QTreeWidgetItem* phraseNode(const QString& tag, const QString& text)
    {
        QTreeWidgetItem* node = makeNode(text, tag, PhraseImage);
        m_tree->addTopLevelItem(node);
        m_tree->setCurrentItem(node);
        return node;
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<fixtures::SubjectFolders>();
        m_session = fixtures::subjectSession(*m_folder);
        fixtures::loadNumberedCaptions();
        fixtures::writeInstalledSubject(zoo(), fixtures::numberedPhrases(3));
        m_env = std::make_unique<fakes::Environment>();
        m_tree = std::make_unique<QTreeWidget>();
    }

    void cleanup()
    {
        m_tree.reset();
        m_env.reset();
    }

    void storeTrimsAndLeavesBlankColumns()
    {
        const PhraseRow row
            = Store_Phrase_Texts(m_session.InstalledSubjectsDir, "zoo.ale", 2, "  Hallo ", " \t ", "\tHola ");
        QCOMPARE(row.pkPhraseNo, 2);
        QCOMPARE(
            QStringList({ row.tPhrase, row.tTranslation, row.tTranslation2 }), QStringList({ "Hallo", "Tr2", "Hola" }));
        QCOMPARE(storedRow(zoo(), 2), QStringList({ "Hallo", "Tr2", "Hola" }));
        QCOMPARE(storedRow(zoo(), 1), QStringList({ "P1", "Tr1", "Tr21" }));
        QCOMPARE(storedRow(zoo(), 3), QStringList({ "P3", "Tr3", "Tr23" }));

        const QByteArray before = contents(zoo());
        const PhraseRow unchanged = Store_Phrase_Texts(m_session.InstalledSubjectsDir, "zoo.ale", 3, "", "  ", "");
        QCOMPARE(unchanged.tTranslation, QStringLiteral("Tr3"));
        QCOMPARE(contents(zoo()), before);
    }

    void storeFailsForAMissingFileOrRowAndWritesNothing()
    {
        const QByteArray before = contents(zoo());
        QVERIFY_THROWS_EXCEPTION(
            std::exception, Store_Phrase_Texts(m_session.InstalledSubjectsDir, "gone.ale", 1, "a", "b", "c"));
        QVERIFY(!QFile::exists(m_session.InstalledSubjectsDir + "gone.ale"));
        QVERIFY_THROWS_EXCEPTION(
            std::exception, Store_Phrase_Texts(m_session.InstalledSubjectsDir, "zoo.ale", 9, "a", "b", "c"));
        QCOMPARE(contents(zoo()), before);
    }

    void okStoresTheTextsAndTheNodeShowsTheStoredRow()
    {
        QTreeWidgetItem* node = phraseNode("zoo.ale*2*P2*Tr2*Tr22", "Tr2");
        QWidget owner;
        ModalScript script;
        QStringList seen;
        script.onDialog([&](QWidget* w) {
            auto* editor = qobject_cast<frmEdit*>(w);
            QVERIFY(editor);
            seen << editor->windowTitle() << editor->lblPhrase->text() << editor->lblTranslation->text()
                 << editor->Label1->text() << editor->lblWarning->text() << editor->btnOK->text()
                 << editor->btnCancel->text() << editor->txtPhrase->text() << editor->txtTranslation->text()
                 << editor->txtTranslation2->text();
            QVERIFY(editor->isModal());
            QCOMPARE(editor->parentWidget(), &owner);
            editor->txtPhrase->clear();
            // A "*" would split the node's tag; the box does not take it.
            QTest::keyClicks(editor->txtPhrase, "  Hal*lo ");
            editor->txtTranslation->setText("   ");
            editor->txtTranslation2->setText(" Hola");
            QTest::mouseClick(editor->btnOK, Qt::LeftButton);
        });
        mnuEdit_Click(m_session, true, node, &owner);
        QCOMPARE(seen, QStringList({ "T111", "T109", "T110", "T172", "T108", "T8", "T9", "P2", "Tr2", "Tr22" }));
        QCOMPARE(storedRow(zoo(), 2), QStringList({ "Hallo", "Tr2", "Hola" }));
        // The blank box left the translation as stored, and the node shows it.
        QCOMPARE(node->text(0), QStringLiteral("Tr2"));
        QCOMPARE(nodeTag(node), QStringLiteral("zoo.ale*2*Hallo*Tr2*Hola"));
        QVERIFY(fakes::errorReports(m_env->dialogs).isEmpty());
    }

    void cancelWritesNothingAndLeavesTheNode()
    {
        QTreeWidgetItem* node = phraseNode("zoo.ale*1*P1*Tr1*Tr21", "Tr1");
        const QByteArray before = contents(zoo());
        ModalScript script;
        script.onDialog([](QWidget* w) {
            auto* editor = qobject_cast<frmEdit*>(w);
            QVERIFY(editor);
            editor->txtTranslation->setText("Changed");
            QTest::mouseClick(editor->btnCancel, Qt::LeftButton);
        });
        mnuEdit_Click(m_session, true, node, nullptr);
        QCOMPARE(contents(zoo()), before);
        QCOMPARE(node->text(0), QStringLiteral("Tr1"));
        QCOMPARE(nodeTag(node), QStringLiteral("zoo.ale*1*P1*Tr1*Tr21"));
    }

    void anyoneButTheAdministratorGetsText113AndNoEditor()
    {
        QTreeWidgetItem* node = phraseNode("zoo.ale*1*P1*Tr1*Tr21", "Tr1");
        ModalScript script;
        bool opened = false;
        script.onDialog([&](QWidget* w) {
            opened = true;
            w->close();
        });
        mnuEdit_Click(m_session, false, node, nullptr);
        QTest::qWait(50);
        QVERIFY(!opened);
        QCOMPARE(m_env->dialogs.shown.size(), 1);
        QCOMPARE(m_env->dialogs.shown[0].text, QStringLiteral("T113"));
        QCOMPARE(m_env->dialogs.shown[0].icon, platform::Icon::Warning);
    }

    void aNodeThatIsNoPhraseOpensNoEditor()
    {
        QTreeWidgetItem* folder = phraseNode("FOLDER", "T8");
        ModalScript script;
        bool opened = false;
        script.onDialog([&](QWidget* w) {
            opened = true;
            w->close();
        });
        mnuEdit_Click(m_session, true, folder, nullptr);
        QTest::qWait(50);
        QVERIFY(!opened);
        QVERIFY(m_env->dialogs.shown.isEmpty());
    }

    void aMissingFileOrRowIsReportedAndTheNodeKept_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("named");
        QTest::newRow("file removed") << "gone.ale*1*P1*Tr1*Tr21"
                                      << "gone.ale";
        QTest::newRow("row removed") << "zoo.ale*7*P7*Tr7*Tr27"
                                     << "has no phrase 7";
        // A name of 250 bytes reads, but leaves no room for SQLite's journal beside it.
        QTest::newRow("name too long") << LongName + "*1*P1*Tr1*Tr21"
                                       << "T177";
    }
    void aMissingFileOrRowIsReportedAndTheNodeKept()
    {
        QFETCH(QString, tag);
        QFETCH(QString, named);
        QVERIFY(QFile::copy(zoo(), m_session.InstalledSubjectsDir + LongName));
        QTreeWidgetItem* node = phraseNode(tag, "Tr");
        const QByteArray before = contents(zoo());
        ModalScript script;
        bool openAfterReport = false;
        script.onDialog([&](QWidget* w) {
            auto* editor = qobject_cast<frmEdit*>(w);
            QVERIFY(editor);
            editor->txtPhrase->setText("New");
            QTest::mouseClick(editor->btnOK, Qt::LeftButton);
            openAfterReport = editor->isVisible();
            QTest::mouseClick(editor->btnCancel, Qt::LeftButton);
        });
        mnuEdit_Click(m_session, true, node, nullptr);
        QVERIFY(openAfterReport);
        const QStringList reports = fakes::errorReports(m_env->dialogs);
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports[0].startsWith("T149\r\n\r\nbtnOK_Click: "));
        QVERIFY(reports[0].contains(named));
        QCOMPARE(node->text(0), QStringLiteral("Tr"));
        QCOMPARE(nodeTag(node), tag);
        QCOMPARE(contents(zoo()), before);
    }
};

QTEST_MAIN(TestFrmEdit)
#include "tst_frmedit.moc"
