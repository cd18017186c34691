#include <QtTest>

#include <QLabel>
#include <QTreeWidget>

#include "activities/activitylaunch.h"
#include "activities/activitylayout.h"
#include "activities/activitypanel.h"
#include "activities/exchange.h"
#include "common/apppath.h"
#include "common/filelist.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/session.h"
#include "common/templatetexts.h"
#include "platform/database.h"
#include "platform/foldercopy.h"
#include "platform/services.h"
#include "students/userdatabase.h"
#include "subjects/nodetag.h"
#include "subjects/subjecttree.h"
#include "subjects/treenode.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"
#include "tests/support/privatetemp.h"

using platform::twips;

namespace {
struct ScoreRow
{
    QString tName, tSubject, tActivity, textScore;
    QVariant numberScore;
    QString nDate, nTime;
};

QVector<ScoreRow> scoreRows(const UserFile& users)
{
    const platform::Recordset rs = platform::Database::openFile(users.path)
                                       .query("SELECT tName, tSubject, tActivity, textScore, numberScore, nDate, nTime "
                                              "FROM tblscores ORDER BY pkScoreID");
    QVector<ScoreRow> rows;
    for (int i = 0; i < rs.count(); ++i)
        rows.push_back({ rs.text(i, 0), rs.text(i, 1), rs.text(i, 2), rs.text(i, 3), rs.value(i, 4), rs.text(i, 5),
            rs.text(i, 6) });
    return rows;
}

// The phrase rows of the score row `scoreId` in stored order: identity, rating, name, activity, moment, answer time.
QStringList phraseRows(const UserFile& users, qint64 scoreId)
{
    const platform::Recordset rs = platform::Database::openFile(users.path)
                                       .query("SELECT tPhraseID, nRating, tName, tActivity, tMoment, "
                                              "ifnull(nAnswerMs, 'NULL') FROM tblphraseresults WHERE fkScoreID = ? "
                                              "ORDER BY pkResultID",
                                           { scoreId });
    QStringList rows;
    for (int i = 0; i < rs.count(); ++i)
        rows << QStringList(
            { rs.text(i, 0), rs.text(i, 1), rs.text(i, 2), rs.text(i, 3), rs.text(i, 4), rs.text(i, 5) })
                    .join('|');
    return rows;
}

QImage comparable(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

QByteArray crlfLines(const QStringList& lines) { return (lines.join("\r\n") + "\r\n").toLocal8Bit(); }
}

// The example activity of docs/examples/activity placed in a copy of the built program folder, shown on the panel and
// started by the program's own launch code as a real process; it plays by itself (PARLANTA_QUIZ_AUTOPLAY) and stores
// its score as every activity must.
class TestContract : public QObject
{
    Q_OBJECT
private:
    fixtures::PrivateTempFolder m_temp;
    QTemporaryDir m_program;
    QString m_activitiesDir;
    Session m_session;
    std::unique_ptr<fakes::Environment> m_env;

    QString quizName() const { return m_session.InterfaceLanguage == "Spanish" ? "Cuestionario" : "Quiz"; }

private Q_SLOTS:
    void initTestCase()
    {
        // Inherited by every activity started from here: none opens a window or waits for a learner.
        qputenv("PARLANTA_QUIZ_AUTOPLAY", "1");
        const QString stage = qEnvironmentVariable("PARLANTA_STAGE");
        QVERIFY2(QFileInfo(stage + "/Activities").isDir(), "PARLANTA_STAGE names no built program folder");
        QString error;
        QVERIFY2(platform::copyFolderTree(stage, m_program.path(), &error), qPrintable(error));
        const QString activities = m_program.path() + "/Activities/";
        QVERIFY(QFile::copy(QUIZ_PROGRAM, activities + "Quiz.exe"));
        QVERIFY(QFile::setPermissions(activities + "Quiz.exe",
            QFile::permissions(activities + "Quiz.exe") | QFileDevice::ExeOwner | QFileDevice::ExeUser));
        QVERIFY(QFile::copy(QUIZ_SETTINGS, activities + "Quiz.cfg"));

        // The start-up steps a launch relies on, with the copy's own template and folders.
        m_session = fixtures::programSession(m_program.path(), STAGE_PROGRAM_CODE);
        QVERIFY2(Get_Captions(m_session, &error), qPrintable(error));
        m_env = std::make_unique<fakes::Environment>();
        Set_Paths(m_session, &m_activitiesDir);
        QCOMPARE(m_session.DataDir, m_session.ProgramDir);
        m_session.ExchangeNumber = QCoreApplication::applicationPid();
        QVERIFY2(Create_User_Database(m_session.ProgramDir, Users_Of(m_session).path, &error), qPrintable(error));
        Insert_Student(Users_Of(m_session), "Zoë", "Núñez", QVariant(), 3);
        m_session.CurrentStudent = "Zoë Núñez";
    }

    void cleanupTestCase()
    {
        Delete_Temp_Files(m_session.ExchangeNumber);
        m_env.reset();
    }

    void theExampleIsShownLaunchedAndScores()
    {
        FileList FileAct;
        FileAct.setPath(m_activitiesDir);
        FileAct.setPattern("*.exe");
        FileAct.refresh();
        const int quiz = FileAct.names().indexOf("Quiz.exe");
        QVERIFY(quiz >= 0);

        QWidget window;
        auto* holder = new QWidget(&window);
        holder->resize(twips(5280), twips(5100));
        ActivityPanel panel(holder, m_session);
        QSignalSpy quit(&panel, &ActivityPanel::quitRequested);
        panel.Get_Settings(FileAct);
        panel.Get_Activities(FileAct, m_activitiesDir, m_session.ProgramCode);
        QVERIFY(quit.isEmpty());
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QCOMPARE(panel.btnAct.size(), FileAct.listCount());
        // The button shows the pictures of the example's own settings file, in the column of this product.
        const platform::Recordset pictures
            = platform::Database::openFile(m_activitiesDir + "Quiz.cfg").query("SELECT * FROM tblImages");
        const QString column = activityPictureColumn(m_session.ProgramCode);
        const QImage normal = comparable(QImage::fromData(pictures.blob(0, column)));
        const QImage lit = comparable(QImage::fromData(pictures.blob(1, column)));
        QVERIFY(!normal.isNull() && normal != lit);
        QCOMPARE(comparable(panel.ImgOFF[quiz + 1].toImage()), normal);
        QCOMPARE(comparable(panel.ImgON[quiz + 1].toImage()), lit);
        QCOMPARE(comparable(panel.btnAct[quiz]->pixmap().toImage()), normal);

        auto* tree = new QTreeWidget(&window);
        FileList File1;
        File1.setPath(m_session.InstalledSubjectsDir);
        File1.setPattern("*." + m_session.SubjectExtension);
        FileList File2;
        File2.setPath(m_session.VirtualSubjectsDir);
        File2.setPattern("*.v" + m_session.SubjectExtension);
        File1.refresh();
        File2.refresh();
        SubjectTree subjects(tree, &File1, &File2, m_session);
        subjects.Create_Folders();
        subjects.Get_Subjects();
        subjects.Get_vSubjects();
        QTreeWidgetItem* subject = subjects.fixedFolder(1)->child(0);
        QVERIFY(subject);
        tree->setCurrentItem(subject);
        const int phrases = qMin(10,
            platform::Database::openFile(m_session.InstalledSubjectsDir + NodeTag::of(subject).field(1))
                .query("SELECT * FROM tblPhrases")
                .count());
        QVERIFY(phrases >= 2);

        platform::installQtServices();
        platform::Processes* real = platform::services().processes;
        platform::installServices(
            { &m_env->dialogs, &m_env->shell, real, &m_env->sound, &m_env->network, &m_env->registry, &m_env->clock });
        ActivityLauncher launcher(&window, FileAct);
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        launcher.btnAct_Click(quiz, Subject_Ref(subject), m_session, m_activitiesDir);
        platform::installServices(m_env->previous);
        QVERIFY(m_env->dialogs.shown.isEmpty());
        QVERIFY(QFile::exists(Get_Temp_Path() + Exchange_File_Name(m_session.ExchangeNumber)));

        QTRY_COMPARE_WITH_TIMEOUT(scoreRows(Users_Of(m_session)).size(), 1, 20000);
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        const ScoreRow row = scoreRows(Users_Of(m_session))[0];
        QCOMPARE(row.tName, QStringLiteral("Zoë Núñez"));
        QCOMPARE(row.tSubject, subject->text(0));
        QCOMPARE(row.tActivity, quizName());
        QCOMPARE(row.textScore, QStringLiteral("%1 / %1").arg(phrases));
        QCOMPARE(row.numberScore.toDouble(), double(phrases));
        QVERIFY2(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d$").match(row.nDate).hasMatch(), qPrintable(row.nDate));
        QVERIFY2(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$").match(row.nTime).hasMatch(), qPrintable(row.nTime));
        const QDateTime when = QDateTime::fromString(row.nDate + " " + row.nTime, "yyyy-MM-dd HH:mm:ss");
        QVERIFY2(when >= before && when <= after, qPrintable(row.nDate + " " + row.nTime));
        // One row per phrase, named as line 10 of the exchange file names it, stored with the score.
        QFile exchange(Get_Temp_Path() + Exchange_File_Name(m_session.ExchangeNumber));
        QVERIFY(exchange.open(QIODevice::ReadOnly));
        const QStringList ids = QString::fromLocal8Bit(exchange.readAll()).split("\r\n").at(9).split('\t');
        QCOMPARE(ids.size(), phrases);
        const qint64 scoreId = platform::Database::openFile(Users_Of(m_session).path)
                                   .query("SELECT max(pkScoreID) FROM tblscores")
                                   .value(0, 0)
                                   .toLongLong();
        const QStringList results = phraseRows(Users_Of(m_session), scoreId);
        QCOMPARE(results.size(), phrases);
        const QString moment = "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ";
        for (int i = 0; i < phrases; ++i) {
            QVERIFY2(ids[i].contains('#'), qPrintable(ids[i]));
            const QRegularExpression expected(
                "^" + QRegularExpression::escape(ids[i] + "|3|Zoë Núñez|" + quizName()) + "\\|" + moment + "\\|NULL$");
            QVERIFY2(expected.match(results[i]).hasMatch(), qPrintable(results[i]));
        }
        // The tracked-scores window finds it under the name on the button.
        QVERIFY(Read_Names(Users_Of(m_session), "qryActivities").contains(quizName()));
        QVERIFY(Read_Names(Users_Of(m_session), "qrySubjects").contains(subject->text(0)));
    }

    void badInputStoresNothing_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QByteArray>("bytes"); // written as the named file in the exchange folder, unless empty
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("rowsAdded");

        const StudySet set { { "a", 1, "Hallo", "Hola", "Hello" }, { "a", 2, "Er sagt \"ja\"", "Dice \"sí\"", {} },
            { "a", 3, "Danke", "Gracias", "Thanks" } };
        const QStringList good = Exchange_File_Lines(m_session, set, "Mis \"frases\"", 42);
        auto with = [&](int line, const QString& text) {
            QStringList lines = good;
            lines[line - 1] = text;
            return crlfLines(lines);
        };
        QTest::newRow("the whole file") << "quiz.txt" << crlfLines(good) << 0 << 1;
        QTest::newRow("LF line ends and blank lines after the last")
            << "quiz.txt" << (good.join("\n") + "\n\n\n").toLocal8Bit() << 0 << 1;
        QTest::newRow("no exchange file named") << "" << QByteArray() << 1 << 0;
        QTest::newRow("a file that is not there") << "gone.txt" << QByteArray() << 1 << 0;
        QTest::newRow("cut short in a phrase") << "quiz.txt" << crlfLines(good.mid(0, 17)) << 1 << 0;
        QTest::newRow("more phrases promised than given") << "quiz.txt" << with(8, "4") << 1 << 0;
        QTest::newRow("a phrase line without its quotes") << "quiz.txt" << with(20, "Danke") << 1 << 0;
        QTest::newRow("a language the activities do not speak") << "quiz.txt" << with(4, "Klingon") << 1 << 0;
        QTest::newRow("no student") << "quiz.txt" << with(6, " ") << 1 << 0;
        QTest::newRow("no user database there") << "quiz.txt" << with(9, Users_Of(m_session).path + ".gone") << 1 << 0;
        QTest::newRow("a user database without tblscores")
            << "quiz.txt" << with(9, Get_App_Path() + "custom.tpl") << 1 << 0;
        QStringList same = good;
        for (int line : { 17, 21, 25 })
            same[line - 1] = "\"Hola\"";
        QTest::newRow("every translation the same") << "quiz.txt" << crlfLines(same) << 1 << 0;
    }

    // An activity written before line 10 named the phrases, strict about the layout and knowing only tblscores, scores
    // as it always did.
    void anActivityOfTheEarlierContractStillScores()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath("Legacy.exe");
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(
            "#!/usr/bin/env python3\n"
            "import os, sqlite3, sys\n"
            "from urllib.request import pathname2url\n"
            "lines = open(sys.argv[1], encoding='utf-8', newline='').read().split('\\r\\n')[:-1]\n"
            "n = int(lines[7])\n"
            "if len(lines) != 15 + 4 * n or any(len(l) < 2 or l[0] != '\"' or l[-1] != '\"' for l in lines[15:]):\n"
            "    sys.exit('bad layout')\n"
            "con = sqlite3.connect('file:' + pathname2url(lines[8]) + '?mode=rw', uri=True, timeout=5)\n"
            "with con:\n"
            "    con.execute(\"INSERT INTO tblscores (tName, tSubject, tActivity, textScore, numberScore, nDate, "
            "nTime) VALUES (?, ?, 'Legacy', ?, ?, '2026-12-10', '08:00:00')\", (lines[5], lines[6], f'{n} / {n}', n))\n"
            "con.close()\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
        const StudySet set { { "a.ale", 1, "Hallo", "Hola", "Hello" }, { "b.ale", 2, "Danke", "Gracias", "Thanks" } };
        const QStringList lines = Exchange_File_Lines(m_session, set, "Saludos", 42);
        QCOMPARE(lines[9], QStringLiteral("a.ale#1\tb.ale#2"));
        QFile file(dir.filePath("legacy.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(crlfLines(lines)) > 0);
        file.close();

        const auto rowsBefore = scoreRows(Users_Of(m_session)).size();
        QProcess legacy;
        legacy.start(program, { file.fileName() });
        QVERIFY(legacy.waitForFinished(20000));
        QVERIFY2(legacy.exitCode() == 0, legacy.readAllStandardError().constData());
        QCOMPARE(scoreRows(Users_Of(m_session)).size() - rowsBefore, 1);
        QCOMPARE(scoreRows(Users_Of(m_session)).last().textScore, QStringLiteral("2 / 2"));
    }

    // Run straight, as the launch starts it: the bare name, in the exchange folder.
    void badInputStoresNothing()
    {
        QFETCH(QString, argument);
        QFETCH(QByteArray, bytes);
        QFETCH(int, exitCode);
        QFETCH(int, rowsAdded);
        const QString folder = Get_Temp_Path();
        if (!bytes.isEmpty()) {
            QFile file(folder + argument);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        const auto rowsBefore = scoreRows(Users_Of(m_session)).size();
        QProcess quiz;
        quiz.setWorkingDirectory(folder);
        quiz.start(m_activitiesDir + "Quiz.exe", argument.isEmpty() ? QStringList() : QStringList { argument });
        QVERIFY(quiz.waitForFinished(20000));
        QFile::remove(folder + argument);
        const QByteArray said = quiz.readAllStandardError();
        QCOMPARE(quiz.exitStatus(), QProcess::NormalExit);
        QVERIFY2(quiz.exitCode() == exitCode, said.constData());
        QCOMPARE(said.isEmpty(), exitCode == 0);
        QCOMPARE(scoreRows(Users_Of(m_session)).size() - rowsBefore, rowsAdded);
        if (rowsAdded)
            QCOMPARE(scoreRows(Users_Of(m_session)).last().tSubject, QStringLiteral("Mis \"frases\""));
    }
};

QTEST_MAIN(TestContract)
#include "tst_contract.moc"
