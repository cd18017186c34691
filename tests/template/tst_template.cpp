#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/database.h"

using platform::Database;

namespace {

const QString Sources = QStringLiteral(TEMPLATE_SOURCES);
const QStringList Codes = { "prlspa", "prlfre", "prlger", "prlita", "prleng", "prlfra", "prlale", "prlito" };
const QStringList Languages = { "English", "Spanish" };

// Every interface text number the program shows somewhere.
const QList<int> UsedTexts = { 1, 2, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 20, 22, 23, 24, 25, 26, 27, 28, 29, 30,
    31, 32, 33, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60,
    61, 62, 63, 64, 65, 66, 67, 68, 84, 88, 94, 95, 98, 99, 103, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 117,
    118, 119, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135, 137, 140, 142, 144, 148, 149, 150, 151,
    152, 153, 154, 155, 156, 157, 158, 159, 160, 161, 162, 163, 164, 165, 166, 167, 168, 169, 170, 171, 172, 173, 174,
    175, 176, 177, 178, 179, 180, 181, 182, 183, 184, 185, 186, 187, 188, 189, 190, 191, 192, 193, 194, 195, 196, 197,
    198, 199, 200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 213, 214, 215, 216, 217, 218, 219, 220,
    221, 222, 223, 224, 225, 226, 227, 228, 229, 230, 231, 232, 233, 234, 235, 236, 237, 238, 239 };

struct Run
{
    int exitCode;
    QString output;
};

Run runTool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(MKTEMPLATE_PATH), arguments);
    if (!tool.waitForFinished(60000))
        return { -1, QStringLiteral("did not finish") };
    const QString output = QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
    return { tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1, output };
}

QStringList column(const QString& path, const QString& sql)
{
    const platform::Recordset rs = Database::openFile(path).query(sql);
    QStringList values;
    for (int row = 0; row < rs.count(); ++row)
        values << (rs.isNull(row, rs.columns().first()) ? QStringLiteral("<NULL>") : rs.text(row, 0));
    return values;
}

bool copySources(const QString& to)
{
    QDir().mkpath(to + "/tips");
    QStringList files = { "captions.tsv", "system_messages.tsv", "menu.tsv" };
    for (const QString& code : Codes)
        files << "tips/" + code + ".txt";
    for (const QString& file : files) {
        if (!QFile::copy(Sources + "/" + file, to + "/" + file))
            return false;
    }
    return true;
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256) : "";
}

}

class TemplateTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_template;
    QStringList m_captions[2]; // as the program reads them: "Select <language> from tblCaptions", stored order

    QString caption(int language, int number) const { return m_captions[language].value(number - 1); }

private Q_SLOTS:
    void initTestCase()
    {
        m_template = m_dir.filePath("Parlanta.tpl");
        const Run run = runTool({ Sources, m_template });
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        for (int l = 0; l < 2; ++l)
            m_captions[l] = column(m_template, "Select " + Languages[l] + " from tblCaptions");
    }

    void captionsAreStoredInNumberOrder()
    {
        QFile file(Sources + "/captions.tsv");
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        QVERIFY(m_captions[0].size() >= 149);
        QCOMPARE(m_captions[0].size(), lines.size() - 1);
        for (int i = 1; i < lines.size(); ++i) {
            const QStringList fields = lines[i].split('\t');
            QCOMPARE(fields[0].toInt(), i);
            QCOMPARE(caption(0, i), fields[1]);
            QCOMPARE(caption(1, i), fields[2]);
        }
        QCOMPARE(caption(0, 10), QStringLiteral("Subjects"));
        QCOMPARE(caption(1, 25), QStringLiteral("¡Aprende"));
    }

    void usedTextsAreWrittenInBothLanguages_data()
    {
        QTest::addColumn<int>("number");
        for (int n : UsedTexts)
            QTest::addRow("text %d", n) << n;
    }

    void usedTextsAreWrittenInBothLanguages()
    {
        QFETCH(int, number);
        QVERIFY(!caption(0, number).trimmed().isEmpty());
        QVERIFY(!caption(1, number).trimmed().isEmpty());
    }

    // The program glues texts to names and punctuation, so stray or missing blanks and marks show up on screen.
    void textsFitTheirJoins()
    {
        for (int l = 0; l < 2; ++l) {
            for (int n = 1; n <= m_captions[l].size(); ++n) {
                const QString text = caption(l, n);
                if (n == 6) {
                    QVERIFY2(text.startsWith(' ') && !text.at(1).isSpace(), "text 6 follows a file name");
                    continue;
                }
                QVERIFY2(text == text.trimmed(), qPrintable(QString("%1 text %2").arg(Languages[l]).arg(n)));
            }
            QVERIFY(!caption(l, 12).endsWith('.') && !caption(l, 13).endsWith('.'));
            QVERIFY(!caption(l, 25).endsWith('!'));
            // The user window tells a new user from an edit by comparing its button caption with text 44.
            QVERIFY(caption(l, 8) != caption(l, 44));
            for (int n : { 10, 11, 123 }) {
                for (const QChar c : QStringLiteral("\\/:*?\"<>|"))
                    QVERIFY2(!caption(l, n).contains(c), "folder and file names");
            }
            QCOMPARE(caption(l, 94), QStringLiteral("https://www.parlanta.example/"));
            QVERIFY(!caption(l, 67).contains("://") && !caption(l, 67).startsWith('/'));
            QCOMPARE(caption(l, 95), QStringLiteral("offline.htm"));
            // The file a message about the students' file names goes where the text has its place.
            for (int n : { 167, 168, 169 })
                QCOMPARE(caption(l, n).count(QStringLiteral("%1")), 1);
        }
        QVERIFY(QFile::exists(Sources + "/" + caption(0, 95)));
        QCOMPARE(caption(0, 11), QStringLiteral("My Subjects"));
        QCOMPARE(caption(1, 10), QStringLiteral("Temas"));
        QCOMPARE(caption(1, 11), QStringLiteral("Mis temas"));
    }

    void everyProductHasTips()
    {
        for (const QString& code : Codes) {
            const QStringList tips = column(m_template, "Select " + code + " from tblTips");
            QVERIFY2(tips.size() >= 10, qPrintable(code));
            QVERIFY2(!tips.contains("<NULL>") && !tips.contains(""), qPrintable(code));
        }
    }

    void messagesAndMenuHaveTextsAndLinks()
    {
        for (const QString& language : Languages) {
            const QStringList texts = column(m_template, "Select " + language + ", link from tblSystemMessages");
            const QStringList links = column(m_template, "Select link, " + language + " from tblSystemMessages");
            QVERIFY(texts.size() >= 6);
            QVERIFY(!texts.contains("") && !texts.contains("<NULL>"));
            QVERIFY2(links.contains("") && links.count("") < links.size(), "some messages linked, some not");

            const QStringList labels = column(m_template, "Select " + language + ", link from tblMenu");
            const QStringList pages = column(m_template, "Select link from tblMenu");
            QVERIFY(labels.size() >= 4);
            QVERIFY(!labels.contains("") && !pages.contains("") && !pages.contains("<NULL>"));
            for (const QString& page : links + pages)
                QVERIFY2(!page.contains("://") && !page.startsWith('/'), qPrintable(page));
        }
    }

    void userTablesStartEmptyAndNumberStudents()
    {
        const QString users = m_dir.filePath("Users.dat");
        QVERIFY(QFile::copy(m_template, users));
        const Database db = Database::openFile(users);
        QCOMPARE(db.query("Select * from tblscores").count(), 0);
        const platform::Recordset empty = db.query("Select * from tblUsers");
        QCOMPARE(empty.count(), 0);
        QCOMPARE(empty.columns(), QStringList({ "pkStudentID", "tFirstname", "tLastname", "tPassword", "nIcon" }));

        const QStringList columns = { "tFirstname", "tLastname", "nIcon" };
        QCOMPARE(db.insertRow("tblUsers", columns, { "Zoe", "Adams", 3 }), qint64(1));
        QCOMPARE(db.insertRow("tblUsers", columns, { "Al", "Brown", 7 }), qint64(2));
        QCOMPARE(db.query("Select * from tblUsers").text(0, "tFirstname"), QStringLiteral("Zoe"));
    }

    void scoreQueriesListDistinctNamesAscending()
    {
        const QString users = m_dir.filePath("Scores.dat");
        QVERIFY(QFile::copy(m_template, users));
        const Database db = Database::openFile(users);
        const QStringList columns = { "tName", "tSubject", "tActivity", "textScore", "numberScore", "nDate", "nTime" };
        const QList<QStringList> rows = { { "Ana Ruiz", "Numbers", "Memory" }, { "Ana Ruiz", "Animals", "Hangman" },
            { "Luis Gil", "Numbers", "Memory" }, { "Luis Gil", "Colours", "Word Match" } };
        for (const QStringList& r : rows)
            db.insertRow("tblscores", columns, { r[0], r[1], r[2], "8/10", 0.8, "01/02/2026", "10:15:00" });

        QCOMPARE(column(users, "Select * from qryActivities"), QStringList({ "Hangman", "Memory", "Word Match" }));
        QCOMPARE(column(users, "Select * from qrySubjects"), QStringList({ "Animals", "Colours", "Numbers" }));
    }

    void refusesMalformedSources_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("line"); // line to replace; 0 appends, a negative number removes that line
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("where");

        QTest::newRow("one product short of a tip") << "tips/prlfre.txt" << -14 << QByteArray() << "prlfre.txt:14:";
        QTest::newRow("one product with an extra tip")
            << "tips/prlale.txt" << 0 << QByteArray("Noch ein Tipp.") << "prlale.txt:15:";
        QTest::newRow("empty tip") << "tips/prlita.txt" << 3 << QByteArray(" ") << "prlita.txt:3:";
        QTest::newRow("caption row lost") << "captions.tsv" << -13 << QByteArray() << "captions.tsv:13:";
        QTest::newRow("caption missing a tab")
            << "captions.tsv" << 21 << QByteArray("20\tListen\tEscucha") << "captions.tsv:21:";
        QTest::newRow("caption in one language")
            << "captions.tsv" << 24 << QByteArray("23\tLoading\t\tprefix") << "captions.tsv:24:";
        QTest::newRow("caption 149 missing") << "captions.tsv" << -150 << QByteArray() << "captions.tsv:150:";
        QTest::newRow("not UTF-8") << "captions.tsv" << 3 << QByteArray("2\tInstalled\tTemas \xE1\tname")
                                   << "captions.tsv:3:";
        QTest::newRow("misspelt header") << "menu.tsv" << 1 << QByteArray("English\tSpanish\tlinks") << "menu.tsv:1:";
        QTest::newRow("menu entry without link") << "menu.tsv" << 2 << QByteArray("Home\tInicio\t") << "menu.tsv:2:";
        QTest::newRow("full address as link")
            << "system_messages.tsv" << 2 << QByteArray("Hi\tHola\thttps://www.parlanta.example/a.htm")
            << "system_messages.tsv:2:";
    }

    void refusesMalformedSources()
    {
        QFETCH(QString, file);
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        QFETCH(QString, where);

        QTemporaryDir dir;
        QVERIFY(copySources(dir.filePath("src")));
        QFile source(dir.filePath("src/" + file));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = source.readAll().split('\n');
        source.close();
        if (line == 0)
            lines.insert(lines.size() - 1, text);
        else if (line < 0)
            lines.removeAt(-line - 1);
        else
            lines[line - 1] = text;
        QVERIFY(source.open(QIODevice::WriteOnly | QIODevice::Truncate));
        source.write(lines.join('\n'));
        source.close();

        QDir().mkpath(dir.filePath("out"));
        const Run run = runTool({ dir.filePath("src"), dir.filePath("out/Parlanta.tpl") });
        QVERIFY(run.exitCode != 0);
        QVERIFY2(run.output.contains(where), qPrintable(run.output));
        QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void failedRebuildKeepsThePreviousTemplate()
    {
        QTemporaryDir dir;
        QVERIFY(copySources(dir.filePath("src")));
        const QString output = dir.filePath("Parlanta.tpl");
        QCOMPARE(runTool({ dir.filePath("src"), output }).exitCode, 0);
        const QByteArray before = fileHash(output);

        QVERIFY(QFile::remove(dir.filePath("src/tips/prlito.txt")));
        const Run run = runTool({ dir.filePath("src"), output });
        QVERIFY(run.exitCode != 0);
        QVERIFY2(run.output.contains("prlito.txt"), qPrintable(run.output));
        QCOMPARE(fileHash(output), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({ "Parlanta.tpl" }));
    }

    // Translators edit these files on Windows too: a byte order mark and CR LF line ends are no part of the texts.
    void acceptsWindowsLineEndsAndByteOrderMark()
    {
        QTemporaryDir dir;
        QVERIFY(copySources(dir.filePath("src")));
        for (const char* name : { "captions.tsv", "menu.tsv", "tips/prlale.txt" }) {
            QFile file(dir.filePath("src/" + QString::fromUtf8(name)));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray windows = "\xEF\xBB\xBF" + file.readAll().replace("\n", "\r\n");
            file.close();
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(windows);
        }
        const QString output = dir.filePath("Parlanta.tpl");
        const Run run = runTool({ dir.filePath("src"), output });
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        QCOMPARE(column(output, "Select English from tblCaptions"), m_captions[0]);
        QCOMPARE(column(output, "Select prlale from tblTips"), column(m_template, "Select prlale from tblTips"));
        QCOMPARE(column(output, "Select link from tblMenu"), column(m_template, "Select link from tblMenu"));
    }

    // The template is installed beside the program for every user, and copied to make each user's database.
    void templateIsReadableByEveryone()
    {
        const QFile::Permissions permissions = QFileInfo(m_template).permissions();
        QVERIFY(permissions.testFlag(QFile::ReadOther) && permissions.testFlag(QFile::ReadGroup));
    }

    void commandLine()
    {
        const Run help = runTool({ "--help" });
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.output.contains("SOURCE_DIR") && help.output.contains("tips/prlito.txt"));
        QVERIFY(runTool({ Sources }).exitCode != 0);
    }
};

QTEST_GUILESS_MAIN(TemplateTest)
#include "tst_template.moc"
