#include <QtTest>

#include "activities/listening.h"
#include "common/frmmsgbox.h"
#include "custom/virtualfiles.h"
#include "platform/exchangefile.h"
#include "platform/wave.h"
#include "subjects/subjectfile.h"
#include "subjects/treenode.h"
#include "tests/reliability/brokenfiles.h"
#include "tests/reliability/reactions.h"
#include "tests/support/fakes.h"
#include "tests/support/maintree.h"
#include "tests/support/privatetemp.h"
#include "tests/support/subjectfixtures.h"

using broken::Damage;

namespace {
QByteArray goodInstalledSubject()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("colours.ale"));
    fixtures::writeInstalledSubject(path, fixtures::numberedPhrases(4));
    return broken::readBytes(path);
}

Damage installedWith(const QVector<fixtures::PhraseFixture>& phrases)
{
    return [phrases](const QString& path) { fixtures::writeInstalledSubject(path, phrases); };
}

QVector<fixtures::VirtualSubjectFixture> goodVirtualSubjects()
{
    return { { QStringLiteral("Mine"),
        { { "colours.ale", 1, "P1", "Tr1", "Tr21" }, { "colours.ale", 2, "P2", "Tr2", "Tr22" } } } };
}

QByteArray goodVirtualFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Own.vale"));
    fixtures::writeVirtualSubjectFile(path, goodVirtualSubjects());
    return broken::readBytes(path);
}

// The damages that only a subject file can have, on top of those of any file.
QVector<broken::Variant> subjectDamages(const QByteArray& good, const QString& phraseTable)
{
    QVector<broken::Variant> variants = broken::anyFile(good);
    const QString endless = QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) ");
    variants << broken::Variant { QStringLiteral("texts of the wrong types"),
        broken::changed(good,
            QStringLiteral("UPDATE tblPhrases SET tPhrase = pkPhraseNo * 1.5, tTranslation = x'00ff7f', "
                           "tTranslation2 = 42;")) };
    variants << broken::Variant { QStringLiteral("NULL in every text"),
        broken::changed(good,
            QStringLiteral("UPDATE tblPhrases SET tPhrase = NULL, tTranslation = NULL, "
                           "tTranslation2 = NULL;")) };
    variants << broken::Variant { QStringLiteral("a 10 MB phrase text"),
        broken::changed(good,
            QStringLiteral("UPDATE tblPhrases SET tPhrase = printf('%.10000000c', 'a') "
                           "WHERE rowid = (SELECT min(rowid) FROM tblPhrases);")) };
    variants << broken::Variant { QStringLiteral("phrases as a view that never ends"),
        broken::changed(good,
            QStringLiteral("ALTER TABLE tblPhrases RENAME TO tblOld; CREATE VIEW tblPhrases AS %1"
                           "SELECT x AS pkPhraseNo, %2 'a' AS tPhrase FROM c WHERE x < 0;")
                .arg(endless, phraseTable)) };
    return variants;
}

// Damaged texts leave a subject whose phrases can be studied: NULL reads as "", a number as its digits, a long
// text as its start.
bool stillASubject(const QString& damage)
{
    return damage.contains(QLatin1String("text")) && !damage.contains(QLatin1String("MB of text"));
}

QString launchReaction(const fixtures::MainTree& main, const fakes::Environment& env)
{
    QString reaction = QStringLiteral("%1 started").arg(env.processes.started.size());
    const QStringList boxes = broken::shown(env.dialogs);
    if (!boxes.isEmpty())
        reaction += QStringLiteral("; ") + boxes.join(QStringLiteral(" + "));
    if (!main.window.isEnabled())
        reaction += QStringLiteral("; WINDOW LEFT DISABLED");
    return reaction;
}

// The main tree with its activity and a good installed subject, beside which a damaged file is read.
void prepare(fixtures::MainTree& main, const QString& goodSubject)
{
    fixtures::writeActivityProgram(main.activities() + "Pairs.exe");
    fixtures::writeInstalledSubject(main.installed(goodSubject), fixtures::numberedPhrases(4));
}

QString said(const QStringList& boxes)
{
    return boxes.isEmpty() ? QStringLiteral("nothing said") : boxes.join(QStringLiteral(" + "));
}

// A started activity finds a whole exchange file and every sound it names.
void verifyLaunchFiles(const fixtures::MainTree& main)
{
    const platform::exchange::Reading r = platform::exchange::read(main.exchangePath());
    QVERIFY2(r.ok(), qPrintable(r.detail));
    QVERIFY(!r.contents.phrases.isEmpty());
    for (const platform::exchange::Phrase& p : r.contents.phrases)
        QVERIFY2(QFileInfo::exists(p.soundFile), qPrintable(p.soundFile));
}

// Whatever the file, the window takes input again and no file changed; a usable subject started its activity
// with whole files, any other started nothing.
void verifyOutcome(
    const fixtures::MainTree& main, const fakes::Environment& env, const broken::FileSnapshot& before, bool usable)
{
    QVERIFY(main.window.isEnabled());
    QCOMPARE(before.changed(), QStringList());
    if (usable) {
        QCOMPARE(env.processes.started.size(), 1);
        verifyLaunchFiles(main);
    } else {
        QVERIFY(env.processes.started.isEmpty());
    }
}
}

// The subject files the main tree and a launch read, each damaged: an installed subject, a virtual subject file
// and the template of new virtual subject files. Each reader lists what it can, tells the user what it cannot,
// and changes none of them.
class TestBadSubjectFiles : public QObject
{
    Q_OBJECT
private:
    fixtures::PrivateTempFolder m_temp;

private Q_SLOTS:
    void cleanup() { frmMsgBox::Unload(); }

    void installedSubject_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<bool>("usable"); // the file is a subject still, whose phrases can be studied
        broken::printHeader(QStringLiteral("T10/colours.ale: listed, a phrase clicked and heard, launched"));
        const QByteArray good = goodInstalledSubject();
        for (const broken::Variant& v : subjectDamages(good, QString()))
            QTest::newRow(qPrintable(v.name)) << v.write << stillASubject(v.name);
        QVector<fixtures::PhraseFixture> sounds = fixtures::numberedPhrases(4);
        sounds[0].sound = broken::randomBytes(2000);
        sounds[1].sound = broken::truncatedWave(100, 50'000'000);
        sounds[2].sound = QByteArray("RIFF");
        QTest::newRow("sounds not WAVE, cut, 4 bytes") << installedWith(sounds) << true;
        sounds[3].sound = QByteArray();
        QTest::newRow("a sound of NULL") << installedWith(sounds) << false;
        QVector<fixtures::PhraseFixture> keys = fixtures::numberedPhrases(3);
        keys[0].key = 70000;
        keys[1].key = -5;
        keys[2].key = 0;
        QTest::newRow("keys that the random pick never meets") << installedWith(keys) << true;
        QTest::newRow("no phrases") << installedWith({}) << false;
        // The check reads the program code but does not hold it against the product's.
        QTest::newRow("another product's subject")
            << broken::changed(good, QStringLiteral("UPDATE tblProperties SET tProgramCode = 'prlspa';")) << true;
        QTest::newRow("NULL program code")
            << broken::changed(good, QStringLiteral("UPDATE tblProperties SET tProgramCode = NULL;")) << true;
        QTest::newRow("no row of properties")
            << broken::changed(good, QStringLiteral("DELETE FROM tblProperties;")) << false;
    }
    void installedSubject()
    {
        QFETCH(Damage, damage);
        QFETCH(bool, usable);
        fakes::Environment env;
        fixtures::MainTree main;
        prepare(main, "food.ale");
        damage(main.installed("colours.ale"));
        const broken::FileSnapshot before({ main.folder.path() });
        env.dialogs.answers = { false, false, false, false };

        main.load();
        const auto found = main.tree->findItems("Colours", Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(found.size(), 1); // listed by its file name, whatever is in it
        QTreeWidgetItem* colours = found.first();
        main.click(colours);
        const int listed = colours->childCount();
        if (listed > 0) {
            main.click(colours->child(0));
            Listen_to_Phrase(Subject_Ref(colours->child(0)), main.session);
        }
        const QStringList beforeLaunch = broken::shown(env.dialogs);
        env.dialogs.shown.clear();
        main.tree->setCurrentItem(colours);
        main.launch();

        broken::printReaction(QTest::currentDataTag(),
            QStringLiteral("%1 phrases listed; %2; launch: %3")
                .arg(listed)
                .arg(said(beforeLaunch), launchReaction(main, env)));
        verifyOutcome(main, env, before, usable);
        if (!usable) {
            // Nothing is started without the user being told why.
            QVERIFY(!env.dialogs.shown.isEmpty());
            QVERIFY(!QFile::exists(main.exchangePath()));
        }
        // The sync player was never asked to wait for more sound than a file holds.
        for (const auto& played : env.sound.files)
            QVERIFY(platform::readWaveFile(played.first).durationMs < 10'000);
    }

    void virtualSubjectFile_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<bool>("usable");
        broken::printHeader(QStringLiteral("T11/Own.vale: listed, its subject clicked, launched"));
        const QByteArray good = goodVirtualFile();
        for (const broken::Variant& v : subjectDamages(good, QStringLiteral("1 AS fkParent,")))
            QTest::newRow(qPrintable(v.name)) << v.write << stillASubject(v.name);
        QTest::newRow("phrases of a subject that does not exist")
            << broken::changed(good, QStringLiteral("UPDATE tblPhrases SET fkParent = 999;")) << false;
        QTest::newRow("phrases of an installed file that does not exist")
            << broken::changed(good, QStringLiteral("UPDATE tblPhrases SET tfilename = 'gone.ale';")) << false;
        QTest::newRow("a key of an installed phrase that does not exist")
            << broken::changed(good, QStringLiteral("UPDATE tblPhrases SET nPhraseNo = 70000;")) << false;
        // Scores of the subject are filed under the name of its file.
        QTest::newRow("a subject name of NULL")
            << broken::changed(good, QStringLiteral("UPDATE tblParents SET tParentName = NULL;")) << true;
    }
    void virtualSubjectFile()
    {
        QFETCH(Damage, damage);
        QFETCH(bool, usable);
        fakes::Environment env;
        fixtures::MainTree main;
        prepare(main, "colours.ale");
        damage(Virtual_File_Path(main.session, "Own"));
        const broken::FileSnapshot before({ main.folder.path() });

        main.load();
        QTreeWidgetItem* file = main.top(main.tree->topLevelItemCount());
        const int subjects = file->text(0) == "Own" ? file->childCount() : 0;
        const QStringList loading = broken::shown(env.dialogs);
        env.dialogs.shown.clear();
        if (subjects > 0) {
            main.click(file->child(0));
            main.tree->setCurrentItem(file->child(0));
            main.launch();
        }
        broken::printReaction(QTest::currentDataTag(),
            QStringLiteral("%1 subjects listed; %2; launch: %3")
                .arg(subjects)
                .arg(said(loading), subjects > 0 ? launchReaction(main, env) : QStringLiteral("nothing to launch")));
        verifyOutcome(main, env, before, usable);
        if (!usable) {
            // The file was refused while the tree was made, the launch said why it could not start, or the subject
            // without a phrase to study was marked unusable.
            QVERIFY(!loading.isEmpty() || !env.dialogs.shown.isEmpty()
                || (subjects > 0 && nodeImage(file->child(0)) == int(UnusableSubject)));
        }
    }

    void virtualFileTemplate_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<bool>("usable");
        broken::printHeader(QStringLiteral("custom.tpl: a new virtual subject file made from it and filled"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("custom.tpl"));
        fixtures::writeVirtualSubjectFile(path, {});
        const QByteArray good = broken::readBytes(path);
        for (const broken::Variant& v : broken::anyFile(good))
            QTest::newRow(qPrintable(v.name)) << v.write << false;
        QTest::newRow("no tblPhrases") << broken::changed(good, QStringLiteral("DROP TABLE tblPhrases;")) << false;
        QTest::newRow("tblParents of one column") << broken::changed(
            good, QStringLiteral("DROP TABLE tblParents; CREATE TABLE tblParents (nParent INTEGER PRIMARY KEY);"))
                                                  << false;
        QTest::newRow("subjects in it already")
            << broken::changed(good, QStringLiteral("INSERT INTO tblParents (tParentName) VALUES ('Left over');"))
            << true;
    }
    void virtualFileTemplate()
    {
        QFETCH(Damage, damage);
        QFETCH(bool, usable);
        fakes::Environment env;
        fixtures::MainTree main;
        fixtures::writeInstalledSubject(main.installed("colours.ale"), fixtures::numberedPhrases(2));
        damage(main.folder.file("custom.tpl"));
        const broken::FileSnapshot before({ main.folder.path() });

        QString reaction;
        try {
            const QString name = Create_Virtual_File(main.session, {});
            const int key = Add_Virtual_Subject(main.session, name, QStringLiteral("Mine"));
            Copy_Phrase(main.session, name, key, QStringLiteral("colours.ale"), 1, QStringLiteral("P1"),
                QStringLiteral("Tr1"), QStringLiteral("Tr21"));
            reaction = QStringLiteral("made '%1', took a subject and a phrase").arg(name);
        } catch (const std::exception& e) {
            reaction = QStringLiteral("refused: ") + failureDescription(e);
        }
        broken::printReaction(QTest::currentDataTag(), reaction);
        QCOMPARE(before.changed(), QStringList());
        QCOMPARE(reaction.startsWith("made"), usable);
        // A refused template leaves no file behind that would take nothing.
        if (!usable)
            QCOMPARE(before.added(), QStringList());
    }
};

QTEST_MAIN(TestBadSubjectFiles)
#include "tst_badsubjectfiles.moc"
