#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>

#include "common/modmain.h"
#include "students/scoreexport.h"
#include "students/userdatabase.h"
#include "tests/admin/scoredata.h"
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
    QTemporaryDir m_data;

private Q_SLOTS:
    void initTestCase() { QVERIFY(scoredata::useNewUsers(m_program, m_data.path())); }

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
        addScore("Adams, Zoe", "Animals", "Flashcards", "7 / 10", 7, "2026-12-01", "10:15:02");
        addScore("Dan \"the Man\" O'Brien", "Rock 'n' Roll *live*", "Pairs", "12 turns", QVariant());
        addScore("Two\r\nLines", "Números, días", "Dictado", QVariant(), 87.5, "2026-12-02", "08:00:00");
        addScore("Zoë Núñez 🦉", "\"Quoted\"", "Tarjetas", QVariant(), QVariant(), QVariant(), QVariant());
        const QVector<QStringList> rows = Read_All_Results();
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
};

QTEST_GUILESS_MAIN(TestScoreExport)
#include "tst_scoreexport.moc"
