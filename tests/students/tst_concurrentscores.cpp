#include <QtTest>

#include "common/apppath.h"
#include "common/session.h"
#include "games/common/scorewriter.h"
#include "students/frmadmin.h"
#include "students/scores.h"
#include "students/userdatabase.h"
#include "tests/students/scoredata.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/modal.h"

namespace {
constexpr char WriterSwitch[] = "--write-scores";
constexpr int Rows = 1000;

// The child: an activity storing one round after another, each row a connection and a transaction of its own.
// A real game stores one row a round; the pause keeps the rows coming for a few seconds, so the window reads
// between them even on a machine that writes all of them at once.
int writeScores(const QString& database, int rows)
{
    const games::ScoreWriter writer(database);
    const QDateTime start(QDate(2026, 12, 9), QTime(8, 0));
    for (int i = 0; i < rows; ++i) {
        const games::SaveResult result = writer.write({ QStringLiteral("Zoe Adams"), QStringLiteral("Animals"),
            QStringLiteral("Flashcards"), std::nullopt, double(i), start.addSecs(i), {} });
        if (!result.saved()) {
            fprintf(stderr, "row %d not saved: %s\n", i, qPrintable(result.detail));
            return 1;
        }
        QThread::msleep(2);
    }
    return 0;
}
}

class TestConcurrentScores : public QObject
{
    Q_OBJECT
private:
    fixtures::ProgramFolder* m_program = nullptr;
    std::unique_ptr<scoredata::NewUsers> m_users;

private Q_SLOTS:
    void initTestCase()
    {
        m_program = new fixtures::ProgramFolder;
        m_users = std::make_unique<scoredata::NewUsers>(*m_program);
        QVERIFY(m_users->made);
        fixtures::loadNumberedCaptions();
        Insert_Student(m_users->file(), "Zoe", "Adams", QVariant(), 5);
    }
    void cleanupTestCase()
    {
        m_users.reset();
        delete m_program;
    }

    // An activity adds its rows while the administrator keeps reading them: no read fails or shows a message,
    // no count ever goes down, and every row is there at the end.
    void theTrackedScoresWindowReadsWhileAnActivityWrites()
    {
        fakes::Environment env;
        ModalScript script;
        frmAdmin form(m_users->session, [](const QString& identity) { return identity; });
        form.show();
        auto shownRows = [&form]() -> int {
            form.cboView->setCurrentIndex(StudentView);
            form.cboView_Click();
            QTreeWidgetItem* activity = scoredata::child(form.TreeView1, "Zoe Adams", "Flashcards");
            if (!activity)
                return 0; // no row yet: the student has no activity
            form.TreeView1_NodeClick(activity);
            return form.ListView1->topLevelItemCount();
        };

        QProcess activity;
        activity.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        activity.start(QCoreApplication::applicationFilePath(), { WriterSwitch, m_users->file().path, QString::number(Rows) });
        QVERIFY(activity.waitForStarted());
        int reads = 0;
        int readsMidway = 0;
        int last = 0;
        while (activity.state() != QProcess::NotRunning) {
            const int shown = shownRows();
            ++reads;
            QVERIFY2(shown >= last, qPrintable(QStringLiteral("%1 rows after %2").arg(shown).arg(last)));
            QVERIFY(shown <= Rows);
            if (shown > 0 && shown < Rows)
                ++readsMidway;
            last = shown;
            QCoreApplication::processEvents();
            activity.waitForFinished(5);
        }
        QCOMPARE(activity.exitStatus(), QProcess::NormalExit);
        QCOMPARE(activity.exitCode(), 0);
        QCOMPARE(shownRows(), Rows);
        QVERIFY2(script.notices.isEmpty(), qPrintable(script.notices.join(" | ")));
        QCOMPARE(env.dialogs.shown.size(), 0);
        qInfo("%d rows written by the activity, %d reads of the window (%d while rows were still coming)", Rows, reads,
            readsMidway);
        // Reads that all came before the first or after the last row would prove nothing.
        QVERIFY(readsMidway > 0);
    }
};

int main(int argc, char** argv)
{
    if (argc == 4 && qstrcmp(argv[1], WriterSwitch) == 0)
        return writeScores(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    QApplication app(argc, argv);
    TestConcurrentScores test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_concurrentscores.moc"
