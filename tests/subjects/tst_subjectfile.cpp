#include <functional>

#include <QtTest>
#include <sqlite3.h>

#include "common/captions.h"
#include "platform/database.h"
#include "subjects/subjectfile.h"
#include "tests/support/fixtures.h"
#include "tests/support/subjectfixtures.h"

using platform::Database;
using platform::DbError;
using platform::Recordset;

class TestSubjectFile : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QByteArray contents(const QString& file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private Q_SLOTS:
    void phrasesReadNullTextsAsEmptyInFileOrder()
    {
        QVector<fixtures::PhraseFixture> phrases = fixtures::numberedPhrases(3);
        phrases[1].tPhrase = QVariant();
        phrases[1].tTranslation2 = QVariant();
        phrases[2].tTranslation = QVariant();
        phrases[2].key = 7; // a gap
        phrases[2].tTranslation2 = QString(5000, u'x'); // a damaged file's
        writeInstalledSubject(path("gaps.ale"), phrases);

        const Recordset rs = readSubjectFile(path("gaps.ale"), AllPhrasesSql);
        QCOMPARE(rs.count(), 3);
        const PhraseRow first = phraseAt(rs, 0);
        QCOMPARE(first.pkPhraseNo, 1);
        QCOMPARE(first.tPhrase, QStringLiteral("P1"));
        QCOMPARE(first.tTranslation, QStringLiteral("Tr1"));
        QCOMPARE(first.tTranslation2, QStringLiteral("Tr21"));
        const PhraseRow nulls = phraseAt(rs, 1);
        QCOMPARE(nulls.tPhrase, QString());
        QCOMPARE(nulls.tTranslation, QStringLiteral("Tr2"));
        QCOMPARE(nulls.tTranslation2, QString());
        const PhraseRow gap = phraseAt(rs, 2);
        QCOMPARE(gap.pkPhraseNo, 7);
        QCOMPARE(gap.tTranslation, QString());
        QCOMPARE(gap.tTranslation2, QString(MaxPhraseTextLength, u'x'));
    }

    void bothKeyLookupsFindTheSameRow()
    {
        writeInstalledSubject(path("keys.ale"), fixtures::numberedPhrases(5));
        // The key travels as a bound value, never as part of the SQL text.
        for (const platform::Query& q : { randomPhraseSql(4), phraseByKeySql(4), virtualPhrasesSql(4) }) {
            QVERIFY2(!q.sql.contains(u'4') && q.sql.endsWith(u'?'), qPrintable(q.sql));
            QCOMPARE(q.values, QVariantList { 4 });
        }
        for (int k = 1; k <= 5; ++k) {
            const Recordset a = readSubjectFile(path("keys.ale"), randomPhraseSql(k));
            const Recordset b = readSubjectFile(path("keys.ale"), phraseByKeySql(k));
            QCOMPARE(a.count(), 1);
            QCOMPARE(b.count(), 1);
            QCOMPARE(phraseAt(a, 0).tPhrase, QStringLiteral("P%1").arg(k));
            QCOMPARE(phraseAt(b, 0).tPhrase, phraseAt(a, 0).tPhrase);
        }
        // A key that does not exist gives no row; reading from it fails.
        const Recordset none = readSubjectFile(path("keys.ale"), phraseByKeySql(9));
        QVERIFY(none.isEmpty());
        QVERIFY_THROWS_EXCEPTION(DbError, phraseAt(none, 0));
    }

    void virtualFileRowsByParentAndByPosition()
    {
        const QVector<qint64> keys = fixtures::writeVirtualSubjectFile(path("My words.vale"),
            { { "Zoo", { { "zoo.ale", 2, "Der Löwe", QVariant(), "León" }, { "zoo.ale", 5, "Der Bär", "Oso", "" } } },
                { "Empty", {} }, { "Colours", { { "colours.ale", 1, "Rot", "Rojo", QVariant() } } } });
        const QVector<VirtualSubjectRow> subjects = readVirtualSubjects(path("My words.vale"));
        QCOMPARE(subjects.size(), 3);
        QCOMPARE(subjects[0].name, QStringLiteral("Zoo"));
        QCOMPARE(subjects[0].nParent, QString::number(keys[0]));
        QCOMPARE(subjects[2].name, QStringLiteral("Colours"));
        QCOMPARE(subjects[2].nParent, QString::number(keys[2]));

        const Recordset zoo = readSubjectFile(path("My words.vale"), virtualPhrasesSql(int(keys[0])));
        QCOMPARE(zoo.count(), 2);
        const VirtualPhraseRow lion = virtualPhraseAt(zoo, 0);
        QCOMPARE(lion.fkParent, int(keys[0]));
        QCOMPARE(lion.tfilename, QStringLiteral("zoo.ale"));
        QCOMPARE(lion.nPhraseNo, 2);
        QCOMPARE(lion.tTranslation, QString());
        QCOMPARE(lion.tTranslation2, QStringLiteral("León"));
        QVERIFY(readSubjectFile(path("My words.vale"), virtualPhrasesSql(int(keys[1]))).isEmpty());
    }

    void parentsAreReadByPositionWhateverTheNames()
    {
        const QString file = path("Other.vale");
        QFile::remove(file);
        {
            const Database db = Database::openFile(file, true);
            db.executeScript("CREATE TABLE tblParents (id INTEGER PRIMARY KEY, label TEXT, extra TEXT);"
                             "INSERT INTO tblParents VALUES (40, 'Forty', 'x');"
                             "INSERT INTO tblParents VALUES (41, NULL, 'y');");
        }
        const QVector<VirtualSubjectRow> subjects = readVirtualSubjects(file);
        QCOMPARE(subjects.size(), 2);
        QCOMPARE(subjects[0].nParent, QStringLiteral("40"));
        QCOMPARE(subjects[0].name, QStringLiteral("Forty"));
        QCOMPARE(subjects[1].name, QString());
    }

    void unreadableFilesFail()
    {
        fixtures::writeBrokenFile(path("broken.ale"));
        QVERIFY_THROWS_EXCEPTION(DbError, readSubjectFile(path("broken.ale"), AllPhrasesSql));
        QVERIFY_THROWS_EXCEPTION(DbError, readSubjectFile(path("missing.ale"), AllPhrasesSql));
        writeInstalledSubject(path("plain.ale"), fixtures::numberedPhrases(1));
        QVERIFY_THROWS_EXCEPTION(DbError, readVirtualSubjects(path("plain.ale"))); // no tblParents
    }

    // A view or trigger that never ends would hold the tree or a launch for ever; each statement stops with an
    // error instead, and the file is not changed by the attempt.
    void endlessViewsAndTriggersAreStopped()
    {
        const QString endless = QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) ");
        auto made = [this](const char* name, const QString& script) {
            const QString file = path(name);
            QFile::remove(file);
            Database::openFile(file, true).executeScript(script);
            return file;
        };
        const QString views = made("views.vale",
            "CREATE VIEW tblPhrases AS " + endless
                + "SELECT x AS pkPhraseNo, 1 AS fkParent, 'a' AS tPhrase, 'b' AS tTranslation, 'c' AS tTranslation2 "
                  "FROM c WHERE x < 0;"
                  "CREATE VIEW tblParents AS "
                + endless + "SELECT x AS nParent, 'b' AS name FROM c WHERE x < 0;");
        const QByteArray before = contents(views);
        QVERIFY_THROWS_EXCEPTION(DbError, readSubjectFile(views, AllPhrasesSql));
        QVERIFY_THROWS_EXCEPTION(DbError, readSubjectFile(views, virtualPhrasesSql(1)));
        QVERIFY_THROWS_EXCEPTION(DbError, readVirtualSubjects(views));
        QCOMPARE(contents(views), before);

        const QString triggers = made("triggers.vale",
            "CREATE TABLE tblPhrases (pkPhraseNo INTEGER PRIMARY KEY, tPhrase TEXT, tTranslation TEXT, "
            "tTranslation2 TEXT);"
            "CREATE TRIGGER endless AFTER INSERT ON tblPhrases BEGIN SELECT count(*) FROM ("
                + endless + "SELECT x FROM c WHERE x < 0); END;");
        const Database db = openSubjectFile(triggers);
        QVERIFY_THROWS_EXCEPTION(DbError, db.execute("INSERT INTO tblPhrases (tPhrase) VALUES ('a')"));
        QVERIFY(readSubjectFile(triggers, AllPhrasesSql).isEmpty());

        // The limit is far above what a real subject needs: ten thousand phrases are read whole.
        const QString many = made("many.ale",
            "CREATE TABLE tblPhrases (pkPhraseNo INTEGER PRIMARY KEY, tPhrase TEXT, tTranslation TEXT, "
            "tTranslation2 TEXT, bsound BLOB);"
            "INSERT INTO tblPhrases "
                + endless + "SELECT x, 'P' || x, 'T', 'T2', zeroblob(1000) FROM c WHERE x <= 10000 LIMIT 10000;");
        QCOMPARE(readSubjectFile(many, AllPhrasesSql).count(), 10000);
    }

    void soundIsWrittenByteForByte()
    {
        QVector<fixtures::PhraseFixture> phrases = fixtures::numberedPhrases(1);
        phrases[0].sound = fixtures::waveBytes(5000, 7);
        writeInstalledSubject(path("sound.ale"), phrases);

        const QString target = path("out.wav");
        writePhraseSound(path("sound.ale"), 1, target);
        QCOMPARE(contents(target), phrases[0].sound);

        // A shorter sound over an older, longer file keeps that file's tail.
        const QByteArray longer = QByteArray(6000, 'Z');
        {
            QFile f(target);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(longer);
        }
        writePhraseSound(path("sound.ale"), 1, target);
        const QByteArray mixed = contents(target);
        QCOMPARE(mixed.size(), 6000);
        QCOMPARE(mixed.left(5000 + 44), phrases[0].sound);
        QCOMPARE(mixed.mid(5044), longer.mid(5044));
    }

    void soundFailuresReachTheCallerBeforeTheFile()
    {
        QVector<fixtures::PhraseFixture> phrases = fixtures::numberedPhrases(2);
        phrases[1].sound = QByteArray(); // NULL
        writeInstalledSubject(path("one.ale"), phrases);
        QVERIFY_THROWS_EXCEPTION(DbError, writePhraseSound(path("one.ale"), 2, path("x.wav")));
        QVERIFY_THROWS_EXCEPTION(DbError, writePhraseSound(path("one.ale"), 3, path("x.wav")));
        QVERIFY_THROWS_EXCEPTION(DbError, writePhraseSound(path("missing.ale"), 1, path("x.wav")));
        QVERIFY_THROWS_EXCEPTION(std::exception, writePhraseSound(path("one.ale"), 1, path("no/such/folder/x.wav")));
        QVERIFY(!QFile::exists(path("x.wav")));
    }

    // The tree's listing, the random pick, the editor's row and the check read texts; a sound of many megabytes
    // stays on the disk. SQLite's own count of its memory tells whether a sound was read.
    void phraseReadsLeaveTheSoundOnTheDisk()
    {
        constexpr int SoundBytes = 16 << 20;
        QVector<fixtures::PhraseFixture> phrases = fixtures::numberedPhrases(1);
        phrases[0].sound = fixtures::waveBytes(SoundBytes);
        writeInstalledSubject(path("big.ale"), phrases);
        const auto peak = [](const std::function<void()>& read) {
            sqlite3_memory_highwater(1);
            read();
            return sqlite3_memory_highwater(0);
        };
        for (const platform::Query& q : { AllPhrasesSql, randomPhraseSql(1), phraseByKeySql(1), PropertiesSql })
            QVERIFY2(peak([&] { readSubjectFile(path("big.ale"), q); }) < SoundBytes / 4, qPrintable(q.sql));
        QVERIFY(peak([&] { writePhraseSound(path("big.ale"), 1, path("big.wav")); }) >= SoundBytes);
    }
};

QTEST_MAIN(TestSubjectFile)
#include "tst_subjectfile.moc"
