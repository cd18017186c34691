#include <QtTest>

#include "common/session.h"
#include "platform/lessons/subjectfile.h"
#include "subjects/frmimportlessons.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void waitSettled(frmImportLessons& window)
{
    QSignalSpy settled(&window, &frmImportLessons::settled);
    QVERIFY(settled.wait(60000));
}

}

class TestImportLessons : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { fixtures::loadNumberedCaptions(); }

    // A read-only installation: the subjects go to the data folder, past the names the tree already lists.
    void importsASpreadsheetBesideTheListedSubjects()
    {
        fakes::Environment env;
        QTemporaryDir root;
        Session session = fixtures::programSession(root.filePath("program"), QStringLiteral("prlale"));
        session.InstalledSubjectsDir = root.filePath("program/T10/");
        session.ImportedSubjectsDir = root.filePath("data/T10/");
        writeFile(session.InstalledSubjectsDir + "tiere_1.ale", "taken");
        QByteArray csv = "English;German;Spanish\n";
        for (int i = 1; i <= 12; ++i)
            csv += QStringLiteral("dog %1;<b>Hund %1</b>;perro %1\n").arg(i).toUtf8();
        writeFile(root.filePath("Tiere.csv"), csv);

        frmImportLessons window(session);
        window.Open_File(root.filePath("Tiere.csv"));
        waitSettled(window);
        QCOMPARE(window.findChild<QComboBox*>("cboField1")->currentText(), QStringLiteral("German"));
        QCOMPARE(window.findChild<QComboBox*>("cboField2")->currentText(), QStringLiteral("Spanish"));
        QCOMPARE(window.findChild<QComboBox*>("cboField3")->currentText(), QStringLiteral("English"));
        QVERIFY(window.findChild<QPushButton*>("btnImport")->isEnabled());
        QVERIFY(window.findChild<QComboBox*>("cboField4")->isEnabled());
        auto* preview = window.findChild<QTreeWidget*>("lstPreview");
        QCOMPARE(preview->topLevelItemCount(), 10);
        QCOMPARE(preview->topLevelItem(0)->text(0), QStringLiteral("Hund 1"));
        QCOMPARE(preview->topLevelItem(0)->text(3), QStringLiteral("T251"));
        auto* speak = window.findChild<QCheckBox*>("chkSpeak");
        speak->setChecked(false);
        QCOMPARE(preview->topLevelItem(0)->text(3), QStringLiteral("T252"));
        speak->setChecked(true);

        window.btnImport_Click();
        QVERIFY(window.isBusy());
        waitSettled(window);
        QCOMPARE(window.importedNames().size(), 2);
        QVERIFY(!window.importedNames().contains("tiere_1.ale"));
        for (const QString& name : window.importedNames()) {
            const lessons::CheckReport report = lessons::checkSubject(session.ImportedSubjectsDir + name, "prlale");
            QVERIFY2(report.outcome.ok(), qPrintable(report.outcome.errors.join('\n')));
        }
        QCOMPARE(env.dialogs.shown.size(), 1);
        QCOMPARE(env.dialogs.shown[0].icon, platform::Icon::Information);
    }

    void aFileThatIsNoDeckSaysWhyAndOffersNoImport()
    {
        fakes::Environment env;
        QTemporaryDir root;
        Session session = fixtures::programSession(root.filePath("program"), QStringLiteral("prlale"));
        session.ImportedSubjectsDir = root.filePath("data/T10/");
        writeFile(root.filePath("broken.apkg"), "not a zip at all");
        frmImportLessons window(session);
        window.Open_File(root.filePath("broken.apkg"));
        waitSettled(window);
        const QString summary = window.findChild<QLabel*>("lblSummary")->text();
        QVERIFY2(summary.startsWith("T256") && summary.contains("broken.apkg"), qPrintable(summary));
        QVERIFY(!window.findChild<QPushButton*>("btnImport")->isEnabled());
        QVERIFY(!QFileInfo::exists(session.ImportedSubjectsDir));
    }
};

QTEST_MAIN(TestImportLessons)
#include "tst_importlessons.moc"
