#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>

#include "common/session.h"
#include "students/scoreexport.h"
#include "students/scores.h"
#include "students/userdatabase.h"
#include "tests/students/scoredata.h"
#include "tests/support/fixtures.h"

namespace {
// The rows Python's csv module reads from the file, as a spreadsheet would take them.
QVector<QStringList> readByPython(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
        { QStringLiteral("-c"),
            QStringLiteral("import csv, json, sys\n"
                           "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                           "    print(json.dumps(list(csv.reader(f, strict=True))))\n"),
            path });
    if (!python.waitForFinished(20000) || python.exitCode() != 0) {
        qWarning("python3: %s", python.readAllStandardError().constData());
        return {};
    }
    QVector<QStringList> rows;
    for (const auto& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const auto& field : row.toArray())
            fields << field.toString();
        rows << fields;
    }
    return rows;
}
}

class TestScoreExport : public QObject
{
    Q_OBJECT
private:
    fixtures::ProgramFolder m_program;
    const scoredata::NewUsers m_users { m_program };

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_users.made); }

    void fieldsAreQuotedOnlyWhenTheyMustBe()
    {
        QCOMPARE(Csv_Field("Zoe Adams"), QStringLiteral("Zoe Adams"));
        QCOMPARE(Csv_Field(""), QString());
        QCOMPARE(Csv_Field("Adams, Zoe"), QStringLiteral("\"Adams, Zoe\""));
        QCOMPARE(Csv_Field("Dan \"the Man\""), QStringLiteral("\"Dan \"\"the Man\"\"\""));
        QCOMPARE(Csv_Field("two\nlines"), QStringLiteral("\"two\nlines\""));
        QCOMPARE(Csv_Field("cr\ronly"), QStringLiteral("\"cr\ronly\""));
        QCOMPARE(Csv_Field("O'Brien; 7 / 10"), QStringLiteral("O'Brien; 7 / 10"));
    }

    void theFileHasAMarkAHeaderAndCrLfLines()
    {
        const QByteArray file = Csv_File({ "a", "b" }, { { "1", "2" } });
        QCOMPARE(file,
            QByteArray("\xEF\xBB\xBF"
                       "a,b\r\n1,2\r\n"));
    }

    // Names a school really has, and some it should not, read back by a CSV reader exactly as stored.
    void everyResultReadsBackAsStored()
    {
        using scoredata::addScore;
        addScore(m_users.file(), "Adams, Zoe", "Animals", "Flashcards", "7 / 10", 7, "2026-12-01", "10:15:02");
        addScore(m_users.file(), "Dan \"the Man\" O'Brien", "Rock 'n' Roll *live*", "Pairs", "12 turns", QVariant());
        addScore(m_users.file(), "Two\r\nLines", "Números, días", "Dictado", QVariant(), 87.5, "2026-12-02", "08:00:00");
        addScore(
            m_users.file(), "Zoë Núñez 🦉", "\"Quoted\"", "Tarjetas", QVariant(), QVariant(), QVariant(), QVariant());
        const QVector<QStringList> rows = Read_Results(m_users.file());
        QCOMPARE(rows.size(), 4);
        QCOMPARE(
            rows[0], QStringList({ "Adams, Zoe", "Animals", "Flashcards", "7 / 10", "7", "2026-12-01", "10:15:02" }));
        QCOMPARE(rows[2][3], QStringLiteral("87.5")); // no text score: the number is the score shown
        QCOMPARE(rows[3], QStringList({ "Zoë Núñez 🦉", "\"Quoted\"", "Tarjetas", "", "", "", "" }));

        const QStringList header { "Student", "Subject", "Activity", "Score", "Number", "Date", "Time" };
        QTemporaryDir dir;
        const QString path = dir.filePath("scores.csv");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(Csv_File(header, rows));
        out.close();
        QCOMPARE(readByPython(path), QVector<QStringList>({ header }) + rows);
    }

    // A name typed to look like a formula reaches the spreadsheet as the text it is, not as a formula to run;
    // numbers stay numbers, and the formula-like texts inside a name are left alone.
    void formulasAreExportedAsText()
    {
        QCOMPARE(Formula_Safe("=1+1"), QStringLiteral("'=1+1"));
        QCOMPARE(Formula_Safe("a=1"), QStringLiteral("a=1"));
        QCOMPARE(Formula_Safe(""), QString());
        QTemporaryDir dir;
        const QString path = dir.filePath("formulas.csv");
        const QVector<QStringList> before = Read_Results(m_users.file());
        scoredata::addScore(m_users.file(), "=HYPERLINK(\"http://x\",\"y\")", "+Animals", "@Pairs", "-3 turns", -3);
        scoredata::addScore(m_users.file(), "\tTab, Tom", "Numbers", "Dictation", QVariant(), -5);
        QCOMPARE(Export_Results(m_users.file(), path), QString());
        const QVector<QStringList> read = readByPython(path);
        QCOMPARE(read.size(), 1 + before.size() + 2);
        QCOMPARE(read[read.size() - 2].mid(0, 5),
            QStringList({ "'=HYPERLINK(\"http://x\",\"y\")", "'+Animals", "'@Pairs", "'-3 turns", "-3" }));
        QCOMPARE(read.last().mid(0, 5), QStringList({ "'\tTab, Tom", "Numbers", "Dictation", "-5", "-5" }));
        // The database keeps what was typed.
        QCOMPARE(Read_Results(m_users.file()).last()[0], QStringLiteral("\tTab, Tom"));
        platform::Database::open(m_users.file().connectionString())
            .execute(
                QStringLiteral("DELETE FROM tblscores WHERE pkScoreID > (SELECT max(pkScoreID) - 2 FROM tblscores)"));
    }

    // The list shown for a child node and the export of that choice hold the same results, in the same order,
    // whatever the names hold; the other results stay out.
    void aChoiceExportsWhatItsListShows()
    {
        scoredata::addSchool(m_users.file());
        const QVector<QStringList> all = Read_Results(m_users.file());
        int checked = 0;
        for (const QStringList& row : all) {
            const QString& student = row[0];
            const QString& subject = row[1];
            const QString& activity = row[2];
            const ResultChoice choices[] = { { StudentView, student, activity }, { ActivityView, activity, subject },
                { SubjectView, subject, student } };
            for (const ResultChoice& choice : choices) {
                const QVector<QStringList> chosen = Read_Results(m_users.file(), choice);
                const QVector<ScoreLine> listed
                    = Read_Score_Lines(m_users.file(), choice.view, choice.parentText, choice.nodeText);
                QCOMPARE(chosen.size(), listed.size());
                QVERIFY(chosen.contains(row));
                for (int i = 0; i < chosen.size(); ++i) {
                    QCOMPARE(chosen[i][3], listed[i].score);
                    QCOMPARE(chosen[i][5], listed[i].date);
                }
                ++checked;
            }
        }
        QCOMPARE(checked, 3 * all.size());
        QCOMPARE(Read_Results(m_users.file(), { StudentView, "Zoe Adams", "Flashcards" }).size(), 3);
        QVERIFY(Read_Results(m_users.file(), { StudentView, "Zoe Adams", "Pairs" }).isEmpty());
        QVERIFY_THROWS_EXCEPTION(platform::DbError, Read_Results(m_users.file(), { 7, "Zoe Adams", "Flashcards" }));

        QTemporaryDir dir;
        const QString path = dir.filePath("zoe.csv");
        QCOMPARE(Export_Results(m_users.file(), path, { SubjectView, "Animals", "Zoe Adams" }), QString());
        const QVector<QStringList> read = readByPython(path);
        QCOMPARE(read.size(), 3);
        QCOMPARE(read[1][4], QStringLiteral("90"));
        QCOMPARE(read[2][4], QStringLiteral("70"));
        // A folder in the file's place: the reason comes back and nothing is written.
        QVERIFY(QDir(dir.path()).mkdir("taken.csv"));
        QVERIFY(!Export_Results(m_users.file(), dir.filePath("taken.csv")).isEmpty());
        QVERIFY(QFileInfo(dir.filePath("taken.csv")).isDir());
    }
};

QTEST_GUILESS_MAIN(TestScoreExport)
#include "tst_scoreexport.moc"
