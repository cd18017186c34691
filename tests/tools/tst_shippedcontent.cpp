#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include "booknames.h"
#include "platform/database.h"
#include "platform/lessons/soundcheck.h"
#include "platform/lessons/subjectfile.h"

using platform::Database;
using namespace subjecttool;
using namespace lessons;

// What the build of this test's program code put into the program folder (env PARLANTA_STAGE).
class TestShippedContent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void installedSubjectsPassTheCheck();
    void customTemplateIsAnEmptyVirtualSubjectFile();
    void exampleVirtualSubjectsPointAtShippedPhrases();
    void activitySettingsHoldTwoPictures();

private:
    QDir m_stage;
    QDir m_subjects;
    const QString m_code = QStringLiteral(SHIPPED_PROGRAM_CODE);
    const QString m_extension = QStringLiteral(SHIPPED_EXTENSION);
};

void TestShippedContent::initTestCase()
{
    const QString stage = qEnvironmentVariable("PARLANTA_STAGE");
    QVERIFY2(!stage.isEmpty() && QDir(stage).exists(), "PARLANTA_STAGE names no program folder");
    m_stage = QDir(stage);
    m_subjects = QDir(m_stage.filePath(QStringLiteral(SHIPPED_SUBJECTS_FOLDER)));
    QVERIFY2(m_subjects.exists(), qPrintable(m_subjects.path()));
}

void TestShippedContent::installedSubjectsPassTheCheck()
{
    QStringList files = m_subjects.entryList({ QStringLiteral("*.") + m_extension }, QDir::Files);
    QVERIFY2(files.size() >= 12, qPrintable(files.join(' ')));
    // The title shown is made from the file name, so the learner reads the names of the table in his or her own
    // language, and nothing else.
    const ProductInfo* product = findProduct(m_code);
    QVERIFY(product);
    const BookNames table = readBookNames(QStringLiteral(NAMES_TABLE));
    QVERIFY2(table.outcome.ok(), qPrintable(table.outcome.errors.join('\n')));
    QStringList named;
    for (const QString& stem : table.names.keys())
        named << installedSubjectFile(table, stem, *product);
    named.sort();
    files.sort();
    QCOMPARE(files, named);
    // A school copies the program folder to Windows computers too.
    static const QRegularExpression windowsName(
        QStringLiteral("^(?!(con|prn|aux|nul|com\\d|lpt\\d)\\.)[^<>:\"/\\\\|?*\\x{0}-\\x{1F}]{1,200}[^. ]$"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& file : files) {
        QVERIFY2(windowsName.match(file).hasMatch(), qPrintable(file));
        const CheckReport report = checkSubject(m_subjects.filePath(file), m_code);
        QVERIFY2(report.outcome.ok(), qPrintable(report.outcome.errors.join('\n')));
        QVERIFY2(report.outcome.warnings.isEmpty(), qPrintable(report.outcome.warnings.join('\n')));
        QCOMPARE(report.phraseCount, MaxPhrases);
        const auto rs = Database::openFile(m_subjects.filePath(file)).query(QStringLiteral("SELECT * FROM tblPhrases"));
        QSet<QString> phrases;
        for (int row = 0; row < rs.count(); ++row) {
            const QString phrase = rs.text(row, QStringLiteral("tPhrase"));
            QVERIFY2(
                !phrases.contains(phrase), qPrintable(file + QStringLiteral(": ") + phrase + QStringLiteral(" twice")));
            phrases.insert(phrase);
            const QString problem = spokenSoundProblem(rs.blob(row, QStringLiteral("bsound")), phrase);
            QVERIFY2(
                problem.isEmpty(), qPrintable(file + QStringLiteral(": ") + phrase + QStringLiteral(": ") + problem));
        }
    }
}

void TestShippedContent::customTemplateIsAnEmptyVirtualSubjectFile()
{
    const QString shipped = m_stage.filePath(QStringLiteral("custom.tpl"));
    QVERIFY(QFileInfo(shipped).isFile());
    {
        const Database db = Database::openFile(shipped);
        QVERIFY(db.hasTable(QStringLiteral("tblParents")));
        QVERIFY(db.hasTable(QStringLiteral("tblPhrases")));
        QCOMPARE(db.query(QStringLiteral("SELECT * FROM tblParents")).count(), 0);
        QCOMPARE(db.query(QStringLiteral("SELECT * FROM tblPhrases")).count(), 0);
        const QStringList phraseColumns = db.query(QStringLiteral("SELECT * FROM tblPhrases")).columns();
        for (const char* column :
            { "pkPhraseNo", "fkParent", "tfilename", "nPhraseNo", "tPhrase", "tTranslation", "tTranslation2" })
            QVERIFY2(phraseColumns.contains(QLatin1String(column)), column);
    }

    // Used the way the editor uses a copy: keys come from the database, the name is the second column.
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("Mine.v") + m_extension);
    QVERIFY(QFile::copy(shipped, copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    const Database db = Database::openFile(copy);
    const QStringList parentColumns = db.query(QStringLiteral("SELECT * FROM tblParents")).columns();
    QCOMPARE(parentColumns.value(0), QStringLiteral("nParent"));
    QVERIFY(parentColumns.size() >= 2);
    const qint64 first = db.insertRow(QStringLiteral("tblParents"), { parentColumns[1] }, { QStringLiteral("A") });
    const qint64 second = db.insertRow(QStringLiteral("tblParents"), { parentColumns[1] }, { QStringLiteral("B") });
    QCOMPARE(first, 1);
    QCOMPARE(second, 2);
    // Keys are never reused after a delete, so a stale key cannot pick up another subject's phrases.
    db.execute(QStringLiteral("DELETE FROM tblParents WHERE nParent = 2"));
    QCOMPARE(db.insertRow(QStringLiteral("tblParents"), { parentColumns[1] }, { QStringLiteral("C") }), 3);
    const qint64 phrase = db.insertRow(QStringLiteral("tblPhrases"),
        { QStringLiteral("fkParent"), QStringLiteral("tfilename"), QStringLiteral("nPhraseNo") },
        { first, QStringLiteral("colours.") + m_extension, 4 });
    QCOMPARE(phrase, 1);
    const auto rs = db.query(QStringLiteral("SELECT * FROM tblPhrases where fkParent =1"));
    QCOMPARE(rs.count(), 1);
    QCOMPARE(rs.value(0, QStringLiteral("nPhraseNo")).toLongLong(), 4);
}

void TestShippedContent::exampleVirtualSubjectsPointAtShippedPhrases()
{
    const QDir folder(m_stage.filePath(QStringLiteral(SHIPPED_VIRTUAL_FOLDER)));
    QCOMPARE(folder.entryList({ QStringLiteral("*.v") + m_extension }, QDir::Files),
        QStringList { QStringLiteral(SHIPPED_EXAMPLES_FILE) });
    const Database db = Database::openFile(folder.filePath(QStringLiteral(SHIPPED_EXAMPLES_FILE)));
    const auto parents = db.query(QStringLiteral("SELECT * FROM tblParents"));
    QCOMPARE(parents.count(), 2);
    for (int i = 0; i < parents.count(); ++i) {
        QVERIFY(!parents.text(i, 1).trimmed().isEmpty());
        const auto phrases = db.query(QStringLiteral("SELECT * FROM tblPhrases where fkParent =") + parents.text(i, 0));
        QVERIFY(phrases.count() >= 1 && phrases.count() <= MaxPhrases);
        for (int p = 0; p < phrases.count(); ++p) {
            const QString file = phrases.text(p, QStringLiteral("tfilename"));
            QVERIFY2(m_subjects.exists(file), qPrintable(file));
            const auto source = Database::openFile(m_subjects.filePath(file))
                                    .query(QStringLiteral("SELECT * FROM tblPhrases where pkPhraseNo =")
                                        + phrases.text(p, QStringLiteral("nPhraseNo")));
            QCOMPARE(source.count(), 1);
            for (const char* column : { "tPhrase", "tTranslation", "tTranslation2" })
                QCOMPARE(phrases.text(p, QLatin1String(column)), source.text(0, QLatin1String(column)));
        }
    }
}

void TestShippedContent::activitySettingsHoldTwoPictures()
{
    QFile list(QStringLiteral(ACTIVITIES_LIST));
    QVERIFY(list.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList programs;
    QHash<QString, bool> sameName; // the English and the Spanish name are the same word
    for (const QString& line : QString::fromUtf8(list.readAll()).split(u'\n')) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#') || line.startsWith(QLatin1String("program\t")))
            continue;
        const QStringList fields = line.split(u'\t');
        programs << fields.value(0);
        sameName.insert(fields.value(0), fields.value(3) == fields.value(4));
    }
    QVERIFY(programs.size() >= 4);

    const QDir activities(m_stage.filePath(QStringLiteral("Activities")));
    for (const QString& program : programs) {
        const QString path = activities.filePath(program + QStringLiteral(".cfg"));
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        const auto rs = Database::openFile(path).query(QStringLiteral("SELECT * FROM tblImages"));
        QCOMPARE(rs.count(), 2);
        for (const char* column : { "bSpanish", "bEnglish" }) {
            QImage normal, lit;
            QVERIFY2(normal.loadFromData(rs.blob(0, QLatin1String(column))), qPrintable(path + column));
            QVERIFY2(lit.loadFromData(rs.blob(1, QLatin1String(column))), qPrintable(path + column));
            // 2415 x 630 twips at 96 dpi.
            QCOMPARE(normal.size(), QSize(161, 42));
            QCOMPARE(lit.size(), QSize(161, 42));
            // Lit must be told from normal at a glance: most of the face changes colour.
            int changed = 0;
            for (int y = 0; y < 42; ++y) {
                for (int x = 0; x < 161; ++x) {
                    const QColor a = normal.pixelColor(x, y), b = lit.pixelColor(x, y);
                    changed += qAbs(a.hue() - b.hue()) + qAbs(a.saturation() - b.saturation()) > 40;
                }
            }
            QVERIFY2(changed > 161 * 42 / 2,
                qPrintable(QStringLiteral("%1 %2: %3 pixels differ").arg(path, column).arg(changed)));
        }
        QCOMPARE(
            rs.blob(0, QStringLiteral("bSpanish")) == rs.blob(0, QStringLiteral("bEnglish")), sameName.value(program));
    }
}

QTEST_MAIN(TestShippedContent)
#include "tst_shippedcontent.moc"
