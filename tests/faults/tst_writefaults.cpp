#include <QtTest>

#include <QApplication>
#include <QMap>
#include <QMenu>
#include <QTreeWidget>

#include "common/filelist.h"
#include "common/frmmsgbox.h"
#include "common/session.h"
#include "custom/virtualfiles.h"
#include "platform/database.h"
#include "platform/exchangefile.h"
#include "platform/tempfolder.h"
#include "platform/userschema.h"
#include "students/userdatabase.h"
#include "subjects/subjecttree.h"
#include "tests/faults/faultchild.h"
#include "tests/faults/faultrun.h"
#include "tests/reliability/brokenfiles.h"
#include "tests/support/fakes.h"
#include "tests/support/subjectfixtures.h"
#include "tests/support/subjectsession.h"

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

long long pidDigits(const faults::ChildRun& run)
{
    const QStringList pid = run.values("pid");
    return pid.isEmpty() ? 0 : pid.first().size();
}

void emptyFolder(const QString& folder)
{
    QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        QVERIFY(dir.remove(name));
}

// A virtual subject file as the editor reads it: every virtual subject with its key and name, then its phrases.
QStringList described(const Session& session, const QString& displayName)
{
    QStringList lines;
    for (const VirtualSubjectRow& s : List_Virtual_Subjects(session, displayName)) {
        lines << s.nParent + u' ' + s.name;
        for (const VirtualPhraseRow& p : List_Virtual_Phrases(session, displayName, s.nParent.toInt()))
            lines << QStringLiteral("  %1|%2|%3|%4|%5")
                         .arg(p.tfilename)
                         .arg(p.nPhraseNo)
                         .arg(p.tPhrase, p.tTranslation, p.tTranslation2);
    }
    return lines;
}

QString integrity(const QString& path)
{
    return platform::Database::openFile(path).query(QStringLiteral("PRAGMA integrity_check")).text(0, 0);
}

QString stepList(const QVector<faults::Step>& steps)
{
    QStringList names;
    for (const faults::Step& s : steps)
        names << s.what;
    return names.join(u',');
}

}

class TestWriteFaults : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<fixtures::SubjectFolders> m_folder;
    std::unique_ptr<fakes::Environment> m_env;
    Session m_session;

    QString virtualPath(const QString& name) const { return Virtual_File_Path(m_session, name); }
    QString programFolder() const { return m_folder->path(); }
    QString virtualFolder() const { return QDir::cleanPath(m_session.VirtualSubjectsDir); }

    // The virtual subject files and their virtual subjects the next start shows in the main tree, one line per
    // file with its subjects; what the error reports said meanwhile goes to *reports.
    QStringList nextStartTree(QStringList* reports)
    {
        m_env->dialogs.shown.clear();
        QTreeWidget tree;
        FileList file1 = fixtures::fileList(m_session.InstalledSubjectsDir, "*.ale");
        FileList file2 = fixtures::fileList(m_session.VirtualSubjectsDir, "*.vale");
        SubjectTree subjects(&tree, &file1, &file2, m_session);
        subjects.Create_Folders();
        subjects.Get_Subjects();
        subjects.Get_vSubjects();
        QStringList files;
        for (int i = 3; i < tree.topLevelItemCount(); ++i) {
            QStringList texts { tree.topLevelItem(i)->text(0) };
            for (int k = 0; k < tree.topLevelItem(i)->childCount(); ++k)
                texts << tree.topLevelItem(i)->child(k)->text(0);
            files << texts.join(QStringLiteral(" / "));
        }
        *reports = fakes::errorReports(m_env->dialogs);
        return files;
    }

    // Runs the child with the kill at its first, second, ... change until it ends by itself; check() looks at the
    // files after each kill and names the outcome. The number of changes the operation makes.
    long killAtEveryStep(const QStringList& arguments, const std::function<void()>& restore,
        const std::function<QString(const faults::ChildRun&)>& check, QMap<QString, int>* outcomes, int* kills)
    {
        for (long n = 1; n < 200; ++n) {
            restore();
            const faults::ChildRun run = faults::runChild(arguments, { virtualFolder(), n, -1, {} });
            if (!run.started || (!run.killed && run.exitCode != 0)) {
                QTest::qFail(qPrintable(QStringLiteral("the child failed at step %1: %2").arg(n).arg(run.describe())),
                    __FILE__, __LINE__);
                return -1;
            }
            if (!run.killed) {
                // The shim saw every change the finished operation made.
                if (run.totalSteps != n - 1) {
                    QTest::qFail(
                        qPrintable(QStringLiteral("%1 changes counted, %2 expected").arg(run.totalSteps).arg(n - 1)),
                        __FILE__, __LINE__);
                    return -1;
                }
                qInfo("changes made: %s", qPrintable(stepList(run.steps)));
                return n - 1;
            }
            ++*kills;
            const QString outcome = check(run);
            if (QTest::currentTestFailed()) {
                qWarning("after the kill at step %ld (%s): %s", n, qPrintable(stepList(run.steps)),
                    qPrintable(run.describe()));
                return -1;
            }
            (*outcomes)[outcome] += 1;
        }
        QTest::qFail("the operation never ended by itself", __FILE__, __LINE__);
        return -1;
    }

    static QString outcomeList(const QMap<QString, int>& outcomes)
    {
        QStringList parts;
        for (auto it = outcomes.begin(); it != outcomes.end(); ++it)
            parts << QStringLiteral("%1 x%2").arg(it.key()).arg(it.value());
        return parts.join(QStringLiteral(", "));
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (faults::shimPath().isEmpty())
            QSKIP("the fault shim is preloaded with LD_PRELOAD, which only Linux has");
    }

    void init()
    {
        m_folder = std::make_unique<fixtures::SubjectFolders>();
        m_session = fixtures::subjectSession(*m_folder);
        fixtures::loadNumberedCaptions();
        m_env = std::make_unique<fakes::Environment>();
    }

    void cleanup()
    {
        frmMsgBox::Unload();
        m_env.reset();
    }

    void renameKilledAtEveryStepLeavesOneIntactFile()
    {
        fixtures::writeVirtualSubjectFile(virtualPath("Old"),
            { { "Colours", { { "colours.ale", 1, "P1", "Tr1", "" }, { "colours.ale", 3, "P3", "Tr3", "x" } } },
                { "Food", { { "food.ale", 2, "Brot", "Pan", QVariant() } } }, { "Empty", {} } });
        const QByteArray original = contents(virtualPath("Old"));
        const QStringList before = described(m_session, "Old");
        QStringList reports;
        const QStringList treeBefore = nextStartTree(&reports);
        QCOMPARE(treeBefore.size(), 1);

        QMap<QString, int> outcomes;
        int kills = 0;
        const long steps = killAtEveryStep(
            faults::renameArguments(programFolder(), "Old", "New"),
            [&] {
                emptyFolder(m_session.VirtualSubjectsDir);
                writeBytes(virtualPath("Old"), original);
            },
            [&](const faults::ChildRun&) -> QString {
                FileList file2 = fixtures::fileList(m_session.VirtualSubjectsDir, "*.vale");
                const QStringList listed = List_Virtual_Files(m_session, file2);
                // Two files would show the same virtual subjects twice; none would lose them.
                if (listed != QStringList { "Old" } && listed != QStringList { "New" }) {
                    QTest::qFail(qPrintable("listed: " + listed.join(", ")), __FILE__, __LINE__);
                    return {};
                }
                const QString name = listed.first();
                if (integrity(virtualPath(name)) != QStringLiteral("ok") || described(m_session, name) != before) {
                    QTest::qFail(qPrintable(name + " is not the file it was"), __FILE__, __LINE__);
                    return {};
                }
                QStringList treeReports;
                const QStringList tree = nextStartTree(&treeReports);
                if (!treeReports.isEmpty() || tree.size() != 1
                    || tree[0].section(u'/', 1) != treeBefore[0].section(u'/', 1)) {
                    QTest::qFail(
                        qPrintable("the tree shows: " + tree.join(" | ") + treeReports.join(" ")), __FILE__, __LINE__);
                    return {};
                }
                return name == "Old" ? QStringLiteral("old file intact") : QStringLiteral("new file intact");
            },
            &outcomes, &kills);
        if (QTest::currentTestFailed())
            return;
        qInfo("Rename_Virtual_File: %ld steps found, %d kills injected, outcomes: %s", steps, kills,
            qPrintable(outcomeList(outcomes)));
        QVERIFY(steps >= 1);
        QVERIFY(outcomes.value("old file intact") > 0);
        // After the last step the rename is whole.
        QCOMPARE(QDir(m_session.VirtualSubjectsDir).entryList(QDir::Files), QStringList { "New.vale" });
        QCOMPARE(described(m_session, "New"), before);
    }

    // A school may hand out a data folder the students cannot write to. Whatever reads it works; every change is
    // refused with a reason, none is reported as done, and no byte under the folder changes.
    void aReadOnlyDataFolderIsReadAndNothingInItChanges()
    {
        m_session.DataDir = programFolder() + u'/';
        platform::Database::openFile(Users_Of(m_session).path, true).executeScript(platform::users::schemaScript());
        platform::Database::openFile(Users_Of(m_session).path)
            .insertRow(platform::users::UsersTable, { "tFirstname", "tLastname", "nIcon" }, { "Ana", "Ruiz", 4 });
        fixtures::writeInstalledSubject(m_session.InstalledSubjectsDir + "colours.ale", fixtures::numberedPhrases(2));
        fixtures::writeVirtualSubjectFile(
            virtualPath("Mine"), { { "Kept", { { "food.ale", 2, "Brot", "Pan", "" } } } });
        const broken::FileSnapshot before({ programFolder() });
        QProcessEnvironment readOnly;
        readOnly.insert("PARLANTA_FAULT_READONLY", "1");
        const faults::ChildRun run = faults::runChild(
            faults::dataFolderArguments(programFolder(), "Mine", "colours.ale"), { programFolder(), 0, -1, readOnly });
        QVERIFY2(run.started && !run.killed && run.exitCode == 0, qPrintable(run.describe()));
        QCOMPARE(before.changed(), QStringList());
        QCOMPARE(before.added(), QStringList());

        const QStringList lines = run.output;
        qInfo("a read-only data folder: %s", qPrintable(lines.join(" | ")));
        QCOMPARE(run.values("count"), QStringList { "1" });
        QCOMPARE(run.values("students"), QStringList { "done" });
        auto refusedReadOnly = [&](const QString& key) {
            const QStringList v = run.values(key);
            return v.size() == 1 && v.first().contains("readonly", Qt::CaseInsensitive);
        };
        QVERIFY2(refusedReadOnly("insert"), qPrintable(run.describe()));
        QVERIFY2(run.values("check").value(0).contains("read-only"), qPrintable(run.describe()));
        QVERIFY2(refusedReadOnly("score"), qPrintable(run.describe()));
        // The learner reads why in the interface language, naming the file; the system's text is for the log.
        QVERIFY2(run.values("rename").value(0).startsWith("refused T188 " + virtualPath("Mine")), qPrintable(run.describe()));
        QVERIFY2(run.values("copy").value(0).startsWith("refused "), qPrintable(run.describe()));
    }

    void copyKilledAtEveryStepLeavesAReadableFile()
    {
        QVector<fixtures::PhraseFixture> source = fixtures::numberedPhrases(5);
        source[2].tTranslation2 = QVariant();
        fixtures::writeInstalledSubject(m_session.InstalledSubjectsDir + "colours.ale", source);
        fixtures::writeVirtualSubjectFile(virtualPath("Mine"),
            { { "Kept", { { "food.ale", 2, "Brot", "Pan", "" }, { "food.ale", 4, "Wein", "Vino", "" } } } });
        const QByteArray original = contents(virtualPath("Mine"));
        const QStringList before = described(m_session, "Mine");
        QStringList copiedPhrases;
        for (const fixtures::PhraseFixture& p : source)
            copiedPhrases << QStringLiteral("  colours.ale|%1|%2|%3|%4")
                                 .arg(p.key)
                                 .arg(p.tPhrase.toString(), p.tTranslation.toString(), p.tTranslation2.toString());

        int hotJournals = 0;
        // Whether the file holds nothing of the copy, or the whole copied subject.
        auto check = [&](const faults::ChildRun&) -> QString {
            const QString path = virtualPath("Mine");
            if (QFileInfo::exists(path + "-journal"))
                ++hotJournals;
            QStringList reports;
            const QStringList tree = nextStartTree(&reports);
            const bool noTrace = tree == QStringList { "Mine / Kept" };
            if (!reports.isEmpty() || (!noTrace && tree != QStringList { "Mine / Kept / Colours" })) {
                QTest::qFail(qPrintable("the tree shows: " + tree.join(" | ") + reports.join(" ")), __FILE__, __LINE__);
                return {};
            }
            const QStringList now = described(m_session, "Mine");
            if (integrity(path) != QStringLiteral("ok") || now.mid(0, before.size()) != before
                || (noTrace ? now.size() != before.size() : now.mid(before.size() + 1) != copiedPhrases)) {
                QTest::qFail(qPrintable("the file holds: " + now.join(" ; ")), __FILE__, __LINE__);
                return {};
            }
            // The file takes the next change as well.
            Copy_Subject(m_session, "Mine", "colours.ale", "Again");
            if (described(m_session, "Mine").size() != now.size() + 1 + copiedPhrases.size()) {
                QTest::qFail("the file does not take another copy", __FILE__, __LINE__);
                return {};
            }
            return noTrace ? QStringLiteral("no trace of the copy") : QStringLiteral("whole copy");
        };
        QMap<QString, int> outcomes;
        int kills = 0;
        const long steps = killAtEveryStep(
            faults::copyArguments(programFolder(), "Mine", "colours.ale", "Colours"),
            [&] {
                emptyFolder(m_session.VirtualSubjectsDir);
                writeBytes(virtualPath("Mine"), original);
            },
            check, &outcomes, &kills);
        if (QTest::currentTestFailed())
            return;
        qInfo("Copy_Subject: %ld steps found, %d kills injected, %d left a journal beside the file, outcomes: %s",
            steps, kills, hotJournals, qPrintable(outcomeList(outcomes)));
        QVERIFY(steps >= 3);
        QVERIFY(outcomes.value("no trace of the copy") > 0);
        QVERIFY(hotJournals > 0);
        QCOMPARE(described(m_session, "Mine").mid(before.size() + 1), copiedPhrases);
    }

    // A game killed while it stores a round leaves the whole round (its score and its three phrases) or none of it,
    // in a file the next round is stored in.
    void scoreKilledAtEveryStepLeavesTheWholeRoundOrNone()
    {
        const QString path = virtualFolder() + "/Users.dat";
        platform::Database::openFile(path, true).executeScript(platform::users::schemaScript());
        const QByteArray original = contents(path);
        const auto counts = [&path] {
            const auto rs = platform::Database::openFile(path).query(
                "SELECT (SELECT count(*) FROM tblscores), (SELECT count(*) FROM tblphraseresults), "
                "(SELECT count(*) FROM tblphraseresults JOIN tblscores ON fkScoreID = pkScoreID)");
            return QStringLiteral("%1 %2 %3").arg(rs.text(0, 0), rs.text(0, 1), rs.text(0, 2));
        };
        auto check = [&](const faults::ChildRun&) -> QString {
            const QString now = counts();
            if (integrity(path) != QStringLiteral("ok") || (now != "0 0 0" && now != "1 3 3")) {
                QTest::qFail(
                    qPrintable("the file holds scores, phrases, phrases of a score: " + now), __FILE__, __LINE__);
                return {};
            }
            const bool saved = faults::runChild(faults::scoreArguments(programFolder(), path), {}).values("score")
                == QStringList { "saved" };
            if (!saved || counts() != (now == "0 0 0" ? "1 3 3" : "2 6 6")) {
                QTest::qFail("the file does not take the next round", __FILE__, __LINE__);
                return {};
            }
            return now == "0 0 0" ? QStringLiteral("no trace of the round") : QStringLiteral("whole round");
        };
        QMap<QString, int> outcomes;
        int kills = 0;
        const long steps = killAtEveryStep(
            faults::scoreArguments(programFolder(), path),
            [&] {
                emptyFolder(virtualFolder());
                writeBytes(path, original);
            },
            check, &outcomes, &kills);
        if (QTest::currentTestFailed())
            return;
        qInfo("ScoreWriter: %ld steps found, %d kills injected, outcomes: %s", steps, kills,
            qPrintable(outcomeList(outcomes)));
        QVERIFY(steps >= 3);
        QVERIFY(outcomes.value("no trace of the round") > 0);
        QCOMPARE(counts(), QStringLiteral("1 3 3"));
    }

    void exchangeFileOnAFullDisk()
    {
        QVector<fixtures::PhraseFixture> phrases = fixtures::numberedPhrases(3);
        // One sound larger than a file's write buffer, so that both ways of writing meet the full disk.
        phrases[1].sound = fixtures::waveBytes(40000, 2);
        fixtures::writeInstalledSubject(m_session.InstalledSubjectsDir + "colours.ale", phrases);
        fixtures::writeActivityProgram(m_folder->file("Activities/Pairs.exe"));
        const QString systemTemp = m_folder->file("tmp");
        QVERIFY(QDir().mkpath(systemTemp));
        const QString temp = platform::privateTempFolderIn(systemTemp);
        const QString exchange = temp + "~prl" + QString::number(faults::ChildWindowHandle) + ".txt";
        QProcessEnvironment extra;
        extra.insert("TMPDIR", systemTemp);
        const QStringList arguments = faults::launchArguments(programFolder(), "colours.ale");

        // Every file a game reads is whole: the exchange file and each sound it names.
        auto wholeLaunchFiles = [&]() -> bool {
            const platform::exchange::Reading r = platform::exchange::read(exchange);
            if (!r.ok() || r.contents.phrases.size() != phrases.size())
                return false;
            for (int i = 0; i < phrases.size(); ++i) {
                if (r.contents.phrases[i].tPhrase != phrases[i].tPhrase.toString()
                    || contents(r.contents.phrases[i].soundFile) != phrases[i].sound)
                    return false;
            }
            return true;
        };

        const faults::ChildRun free = faults::runChild(arguments, { systemTemp, 0, -1, extra });
        QVERIFY2(free.started && !free.killed && free.exitCode == 0, qPrintable(free.describe()));
        QCOMPARE(free.values("started"), QStringList { "1" });
        QVERIFY2(free.values("told").isEmpty(), qPrintable(free.describe()));
        QVERIFY(wholeLaunchFiles());

        // The disk fills at the start of each write and in its middle.
        QVector<long long> limits;
        long long written = 0;
        for (const faults::Step& s : free.steps) {
            if (s.bytes < 0)
                continue;
            limits << written << written + s.bytes / 2;
            written += s.bytes;
        }
        QCOMPARE(written, free.totalBytes);
        QVERIFY(written > phrases[1].sound.size());
        limits << written - 1 << written << written + 1;
        std::sort(limits.begin(), limits.end());
        limits.erase(std::unique(limits.begin(), limits.end()), limits.end());

        int refused = 0;
        int started = 0;
        for (const long long limit : limits) {
            emptyFolder(temp);
            const faults::ChildRun run = faults::runChild(arguments, { systemTemp, 0, limit, extra });
            const QString what = QStringLiteral("disk full after %1 bytes: %2").arg(limit).arg(run.describe());
            QVERIFY2(run.started && !run.killed && run.exitCode == 0, qPrintable(what));
            QCOMPARE(run.values("enabled"), QStringList { "yes" });
            // The exchange file names the program's process, so a launch needs as many more bytes as its number
            // has more digits than the free run's.
            const long long needed = written + pidDigits(run) - pidDigits(free);
            if (run.values("started") == QStringList { "1" }) {
                ++started;
                QVERIFY2(limit >= needed, qPrintable(what));
                QVERIFY2(run.values("told").isEmpty(), qPrintable(what));
                QVERIFY2(wholeLaunchFiles(), qPrintable(what));
                continue;
            }
            ++refused;
            QVERIFY2(limit < needed, qPrintable(what));
            QCOMPARE(run.values("started"), QStringList { "0" });
            QVERIFY2(!run.values("told").isEmpty(), qPrintable(what));
            // Nothing a game would take for the launch's file, whole or in part.
            const QStringList left = QDir(temp).entryList(QDir::Files | QDir::Hidden);
            for (const QString& name : left)
                QVERIFY2(!name.startsWith(QFileInfo(exchange).fileName()), qPrintable(what + " left " + name));
        }
        qInfo("Write_Exchange_File on a full disk: %lld bytes written by a launch, %d limits tried, %d launches "
              "refused with a message, %d started with whole files",
            written, int(limits.size()), refused, started);
        QVERIFY(refused > 0);
        QVERIFY(started > 0);
    }
};

int main(int argc, char** argv)
{
    if (argc > 1 && qstrcmp(argv[1], faults::ChildSwitch) == 0)
        return faults::childMain(argc, argv);
    QApplication app(argc, argv);
    TestWriteFaults test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_writefaults.moc"
