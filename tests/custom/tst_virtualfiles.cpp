#include <functional>

#include <QtTest>

#include "common/filelist.h"
#include "common/session.h"
#include "custom/virtualfiles.h"
#include "platform/database.h"
#include "tests/support/fakes.h"
#include "tests/support/subjectfixtures.h"
#include "tests/support/subjectsession.h"

using platform::Database;

namespace {
QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int count(const QString& path, const QString& sql) { return Database::openFile(path).query(sql).value(0, 0).toInt(); }

QStringList names(const QVector<VirtualSubjectRow>& rows)
{
    QStringList result;
    for (const VirtualSubjectRow& r : rows)
        result << r.name;
    return result;
}

template <typename F> QString failure(F&& operation)
{
    try {
        operation();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}
}

class TestVirtualFiles : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<fixtures::SubjectFolders> m_folder;
    fakes::Environment m_env;

    Session m_session;

    QString path(const QString& name) const { return Virtual_File_Path(m_session, name); }
    QString installed(const QString& name) const { return m_session.InstalledSubjectsDir + name; }
    // The files in the virtual subjects folder and the folder above it.
    QStringList filesAround() const
    {
        QStringList found = QDir(m_session.VirtualSubjectsDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const QString& n : QDir(m_folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            found << "../" + n;
        return found;
    }
    // A virtual file with one virtual subject of two phrases, so that copies can be told apart by content.
    void writeFile(const QString& name, const QString& subject) const
    {
        fixtures::writeVirtualSubjectFile(path(name), { { subject, { { "a.ale", 1, "p", "t", "t2" } } } });
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<fixtures::SubjectFolders>();
        m_session = fixtures::subjectSession(*m_folder);
        fixtures::loadNumberedCaptions();
        fixtures::writeVirtualSubjectFile(m_folder->file("custom.tpl"), {});
    }

    void defaultName_data()
    {
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("name");
        QTest::newRow("empty tree") << QStringList() << "T123";
        QTest::newRow("second") << QStringList { "Mine", "T123" } << "T123 2";
        QTest::newRow("third") << QStringList { "T123", "T123 2" } << "T123 3";
        QTest::newRow("subject and phrase texts count") << QStringList { "T123", "T123 words", "T123!" } << "T123 4";
        QTest::newRow("taken number skipped") << QStringList { "T123 2" } << "T123 3";
        QTest::newRow("case counts") << QStringList { "t123", "My T123" } << "T123";
    }
    void defaultName()
    {
        QFETCH(QStringList, shown);
        QFETCH(QString, name);
        QCOMPARE(Default_Virtual_File_Name(shown), name);
    }

    void createCopiesTheTemplateAndReplacesNothing()
    {
        QCOMPARE(Create_Virtual_File(m_session, {}), QStringLiteral("T123"));
        QCOMPARE(contents(path("T123")), contents(m_folder->file("custom.tpl")));
        QVERIFY(List_Virtual_Subjects(m_session, "T123").isEmpty());
        QCOMPARE(Create_Virtual_File(m_session, { "T123" }), QStringLiteral("T123 2"));

        // A file the tree does not show keeps its content; its name is passed over.
        writeFile("T123 3", "kept");
        QCOMPARE(Create_Virtual_File(m_session, { "T123", "T123 2" }), QStringLiteral("T123 4"));
        QCOMPARE(names(List_Virtual_Subjects(m_session, "T123 3")), QStringList { "kept" });

        // A read-only template still gives a file the student can fill.
        QFile::setPermissions(m_folder->file("custom.tpl"), QFileDevice::ReadOwner);
        const QString name = Create_Virtual_File(m_session, {});
        QCOMPARE(name, QStringLiteral("T123 5"));
        QVERIFY(QFile::permissions(path(name)) & QFileDevice::WriteOwner);
        QVERIFY(Add_Virtual_Subject(m_session, name, "x") > 0);

        QFile::remove(m_folder->file("custom.tpl"));
        const QStringList before = filesAround();
        QVERIFY(failure([this] { Create_Virtual_File(m_session, {}); }).contains("custom.tpl"));
        QCOMPARE(filesAround(), before);

        // A template that is not a virtual subject file gives no file that would take nothing.
        for (const char* damage : { "not a database", "" }) {
            QFile broken(m_folder->file("custom.tpl"));
            QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
            broken.write(damage);
            broken.close();
            const QStringList withTemplate = filesAround();
            const QString why = failure([this] { Create_Virtual_File(m_session, {}); });
            QVERIFY2(why.contains("custom.tpl") && why.contains("not a virtual subject file"), qPrintable(why));
            QCOMPARE(filesAround(), withTemplate);
        }
    }

    void renameRefusals()
    {
        writeFile("First", "one");
        writeFile("Second", "two");
        const QByteArray first = contents(path("First"));
        const QByteArray second = contents(path("Second"));
        QCOMPARE(Rename_Virtual_File(m_session, "First", "Second"), RenameResult::Exists);
        QCOMPARE(Rename_Virtual_File(m_session, "First", "First"), RenameResult::Unchanged);
        QCOMPARE(Rename_Virtual_File(m_session, "First", "   "), RenameResult::Blank);
        QCOMPARE(contents(path("First")), first);
        QCOMPARE(contents(path("Second")), second);
        QCOMPARE(
            QDir(m_session.VirtualSubjectsDir).entryList(QDir::Files), QStringList({ "First.vale", "Second.vale" }));
    }

    void namesTheFileSystemRefusesAreRefusedBeforeTheDisk_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<RenameResult>("refusal");
        QTest::newRow("empty") << QString() << RenameResult::Blank;
        for (const char* name : { "..", ".", "CON", "nul.words" })
            QTest::newRow(name) << QString::fromUtf8(name) << RenameResult::Blank;
        for (const char* name :
            { "a/b", "../escape", "a\\b", "say \"hi\"", "a*b", "a?b", "a:b", "a<b>", "a|b", "tab\there" })
            QTest::newRow(name) << QString::fromUtf8(name) << RenameResult::Forbidden;
    }
    void namesTheFileSystemRefusesAreRefusedBeforeTheDisk()
    {
        QFETCH(QString, name);
        writeFile("Old", "one");
        const QByteArray old = contents(path("Old"));
        const QStringList before = filesAround();
        QTEST(Rename_Virtual_File(m_session, "Old", name), "refusal");
        QCOMPARE(filesAround(), before);
        QCOMPARE(contents(path("Old")), old);
    }

    // The file name (the name typed and ".vale") may have 255 - 8 bytes of UTF-8: SQLite's journal beside the file
    // adds "-journal" to it whenever the file is changed.
    void namesLeaveRoomForTheJournal_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("taken");
        const QString e = QChar(0xE9); // two bytes
        const QString face = QString::fromUtf8("\xF0\x9F\x98\x80"); // four bytes, two UTF-16 units
        QTest::newRow("ASCII, 247 bytes") << QString(242, u'w') << true;
        QTest::newRow("ASCII, 248 bytes") << QString(243, u'w') << false;
        QTest::newRow("two-byte letters, 247 bytes") << e.repeated(121) << true;
        QTest::newRow("two-byte letters, 248 bytes") << e.repeated(121) + "w" << false;
        QTest::newRow("four-byte signs, 247 bytes") << face.repeated(60) + "ww" << true;
        QTest::newRow("four-byte signs, 248 bytes") << face.repeated(60) + "www" << false;
    }
    void namesLeaveRoomForTheJournal()
    {
        QFETCH(QString, name);
        QFETCH(bool, taken);
        writeFile("Old", "one");
        QCOMPARE(Rename_Virtual_File(m_session, "Old", name), taken ? RenameResult::Done : RenameResult::TooLong);
        QCOMPARE(QFile::exists(path("Old")), !taken);
        if (taken)
            QVERIFY(Add_Virtual_Subject(m_session, name, "two") > 0);
    }

    void changesOfAFileWhoseNameIsTooLongSayWhy()
    {
        // Made under a short name, renamed by the file system: 245 bytes and ".vale" are 250.
        const QString name = QString(245, u'w');
        writeFile("Short", "one");
        QVERIFY(QFile::rename(path("Short"), path(name)));
        const QByteArray before = contents(path(name));
        QCOMPARE(names(List_Virtual_Subjects(m_session, name)), QStringList { "one" });
        const int key = List_Virtual_Subjects(m_session, name)[0].nParent.toInt();
        const std::function<void()> changes[] = { [&] { Add_Virtual_Subject(m_session, name, "x"); },
            [&] { Rename_Virtual_Subject(m_session, name, key, "x"); },
            [&] { Copy_Phrase(m_session, name, key, "a.ale", 1, "p", "t", "t2"); },
            [&] { Delete_Virtual_Subject(m_session, name, key); } };
        for (const auto& change : changes) {
            const QString why = failure(change);
            QVERIFY2(why.startsWith("T177") && why.endsWith(path(name)), qPrintable(why));
        }
        QCOMPARE(contents(path(name)), before);
    }

    void renameMovesTheFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("accents") << QStringLiteral("Días de la semana ñ ü");
        QTest::newRow("200 characters") << QString(200, QLatin1Char('w'));
        QTest::newRow("blanks kept as typed") << QStringLiteral(" Words ");
    }
    void renameMovesTheFile()
    {
        QFETCH(QString, name);
        writeFile("Old", "one");
        const QByteArray old = contents(path("Old"));
        QCOMPARE(Rename_Virtual_File(m_session, "Old", name), RenameResult::Done);
        QVERIFY(!QFile::exists(path("Old")));
        QCOMPARE(contents(path(name)), old);
        FileList file2;
        file2.setPath(m_session.VirtualSubjectsDir);
        file2.setPattern("*.vale");
        QCOMPARE(List_Virtual_Files(m_session, file2), QStringList { name });
        QCOMPARE(names(List_Virtual_Subjects(m_session, name)), QStringList { "one" });
    }

    void renameOfAMissingFileFailsAndMakesNothing()
    {
        QVERIFY(failure([this] { Rename_Virtual_File(m_session, "Gone", "New"); }).contains("Gone"));
        QVERIFY(!QFile::exists(path("New")));
    }

    void deleteVirtualFile()
    {
        writeFile("One", "one");
        writeFile("Two", "two");
        Delete_Virtual_File(m_session, "One");
        QVERIFY(!QFile::exists(path("One")));
        QVERIFY(QFile::exists(path("Two")));
        // Already gone: nothing left to do.
        Delete_Virtual_File(m_session, "One");
        fixtures::writeVirtualSubjectFile(installed("x.vale"), {});
        QVERIFY(!failure([this] { Delete_Virtual_File(m_session, "../T10/x"); }).isEmpty());
        QVERIFY(QFile::exists(installed("x.vale")));
    }

    void virtualSubjectsAddRenameList()
    {
        Create_Virtual_File(m_session, {});
        const int a = Add_Virtual_Subject(m_session, "T123", "T51");
        const int b = Add_Virtual_Subject(m_session, "T123", "Animals");
        QVERIFY(a > 0 && b > a);
        QCOMPARE(Rename_Virtual_Subject(m_session, "T123", a, " Food "), a);
        const QVector<VirtualSubjectRow> rows = List_Virtual_Subjects(m_session, "T123");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].nParent, QString::number(a));
        QCOMPARE(rows[0].name, QStringLiteral(" Food "));
        QCOMPARE(rows[1].name, QStringLiteral("Animals"));
        QVERIFY(
            failure([&] { Rename_Virtual_Subject(m_session, "T123", b + 10, "x"); }).contains(QString::number(b + 10)));
        QCOMPARE(names(List_Virtual_Subjects(m_session, "T123")), QStringList({ " Food ", "Animals" }));

        // The name column is whatever the file calls it; a name that is SQL of its own stays a name.
        Database::openFile(path("Odd"), true)
            .executeScript("CREATE TABLE tblParents (nParent INTEGER PRIMARY KEY, \"name = 'x', \"\"nParent\" TEXT);"
                           "CREATE TABLE tblPhrases (pkPhraseNo INTEGER PRIMARY KEY, fkParent INTEGER);"
                           "INSERT INTO tblParents VALUES (1, 'Old'), (2, 'Other');");
        QCOMPARE(Rename_Virtual_Subject(m_session, "Odd", 2, "New"), 2);
        QCOMPARE(names(List_Virtual_Subjects(m_session, "Odd")), QStringList({ "Old", "New" }));
    }

    void deleteVirtualSubjectRemovesItsPhrasesFirst()
    {
        const QVector<qint64> keys = fixtures::writeVirtualSubjectFile(path("File"),
            { { "full", { { "a.ale", 1, "p", "t", "t2" }, { "a.ale", 2, "p", "t", "t2" } } },
                { "other", { { "b.ale", 3, "q", "u", "u2" } } }, { "empty", {} } });
        // Records how many phrases the virtual subject still has when its row goes.
        Database::openFile(path("File"))
            .executeScript("CREATE TABLE log (n INTEGER);"
                           "CREATE TRIGGER logged BEFORE DELETE ON tblParents BEGIN "
                           "INSERT INTO log SELECT count(*) FROM tblPhrases WHERE fkParent = OLD.nParent; END;");
        Delete_Virtual_Subject(m_session, "File", int(keys[0]));
        QCOMPARE(count(path("File"), "SELECT count(*) FROM log WHERE n = 0"), 1);
        QCOMPARE(count(path("File"), "SELECT count(*) FROM tblPhrases"), 1);
        Delete_Virtual_Subject(m_session, "File", int(keys[2]));
        QCOMPARE(names(List_Virtual_Subjects(m_session, "File")), QStringList { "other" });
        QCOMPARE(List_Virtual_Phrases(m_session, "File", int(keys[1])).size(), 1);

        const QByteArray before = contents(path("File"));
        QVERIFY(!failure([&] { Delete_Virtual_Subject(m_session, "File", int(keys[0])); }).isEmpty());
        QCOMPARE(contents(path("File")), before);
    }

    void copySubjectKeepsTheSourceOfEachPhrase()
    {
        fixtures::writeInstalledSubject(installed("animals_at_the_zoo.ale"),
            { { 2, "Hund", "Dog", "Perro", {} }, { 5, QVariant(), "Cat", QVariant(), {} },
                { 9, "Maus", "Mouse", "Ratón", {} } });
        fixtures::writeInstalledSubject(installed("empty.ale"), {});
        Create_Virtual_File(m_session, {});
        const CopiedSubject copied = Copy_Subject(m_session, "T123", "animals_at_the_zoo.ale", "Animals At The Zoo");
        QCOMPARE(names(List_Virtual_Subjects(m_session, "T123")), QStringList { "Animals At The Zoo" });
        QCOMPARE(List_Virtual_Subjects(m_session, "T123")[0].nParent, QString::number(copied.key));
        const QVector<VirtualPhraseRow> stored = List_Virtual_Phrases(m_session, "T123", copied.key);
        QCOMPARE(stored.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(stored[i].pkPhraseNo, copied.phrases[i].pkPhraseNo);
            QCOMPARE(stored[i].fkParent, copied.key);
            QCOMPARE(stored[i].tfilename, QStringLiteral("animals_at_the_zoo.ale"));
            QCOMPARE(stored[i].tTranslation, copied.phrases[i].tTranslation);
        }
        QCOMPARE(stored[0].nPhraseNo, 2);
        QCOMPARE(stored[1].nPhraseNo, 5);
        QCOMPARE(stored[2].nPhraseNo, 9);
        QCOMPARE(stored[2].tTranslation2, QStringLiteral("Ratón"));
        // Null texts of the source are stored as empty texts.
        QCOMPARE(
            count(path("T123"), "SELECT count(*) FROM tblPhrases WHERE tPhrase IS NULL OR tTranslation2 IS NULL"), 0);

        const CopiedSubject empty = Copy_Subject(m_session, "T123", "empty.ale", "Empty");
        QVERIFY(empty.phrases.isEmpty());
        QCOMPARE(names(List_Virtual_Subjects(m_session, "T123")), QStringList({ "Animals At The Zoo", "Empty" }));
        QVERIFY(List_Virtual_Phrases(m_session, "T123", empty.key).isEmpty());

        // An installed subject that cannot be read adds nothing.
        QVERIFY(failure([this] { Copy_Subject(m_session, "T123", "gone.ale", "Gone"); }).contains("gone.ale"));
        QCOMPARE(List_Virtual_Subjects(m_session, "T123").size(), 2);
    }

    void copyThatFailsPartWayKeepsTheRowsWritten()
    {
        fixtures::writeInstalledSubject(installed("four.ale"), fixtures::numberedPhrases(4));
        Create_Virtual_File(m_session, {});
        Database::openFile(path("T123"))
            .executeScript(
                "CREATE TRIGGER stop BEFORE INSERT ON tblPhrases WHEN (SELECT count(*) FROM tblPhrases) >= 2 "
                "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END;");
        QVERIFY(failure([this] { Copy_Subject(m_session, "T123", "four.ale", "Four"); }).contains("full"));
        const QVector<VirtualSubjectRow> subjects = List_Virtual_Subjects(m_session, "T123");
        QCOMPARE(names(subjects), QStringList { "Four" });
        const QVector<VirtualPhraseRow> kept = List_Virtual_Phrases(m_session, "T123", subjects[0].nParent.toInt());
        QCOMPARE(kept.size(), 2);
        QCOMPARE(kept[1].nPhraseNo, 2);
    }

    void copyAndDeleteOnePhrase()
    {
        Create_Virtual_File(m_session, {});
        const int key = Add_Virtual_Subject(m_session, "T123", "Mine");
        const int other = Add_Virtual_Subject(m_session, "T123", "Other");
        const int first = Copy_Phrase(m_session, "T123", key, "animals_at_the_zoo.ale", 7, "Hund", "Dog", QString());
        const int second = Copy_Phrase(m_session, "T123", key, "food.ale", 3, "Brot", "Bread", "Pan");
        Copy_Phrase(m_session, "T123", other, "food.ale", 4, "Wein", "Wine", "Vino");
        QVERIFY(second != first);
        QVector<VirtualPhraseRow> rows = List_Virtual_Phrases(m_session, "T123", key);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].pkPhraseNo, first);
        QCOMPARE(rows[0].tfilename, QStringLiteral("animals_at_the_zoo.ale"));
        QCOMPARE(rows[0].nPhraseNo, 7);
        QCOMPARE(rows[0].tPhrase, QStringLiteral("Hund"));
        QCOMPARE(rows[0].tTranslation2, QString());
        QCOMPARE(rows[1].tTranslation2, QStringLiteral("Pan"));

        Delete_Phrase(m_session, "T123", first);
        rows = List_Virtual_Phrases(m_session, "T123", key);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].pkPhraseNo, second);
        QCOMPARE(List_Virtual_Phrases(m_session, "T123", other).size(), 1);
        QVERIFY(failure([&] { Delete_Phrase(m_session, "T123", first); }).contains(QString::number(first)));
    }

    void listFilesRereadsTheFolder()
    {
        writeFile("b", "x");
        writeFile("A", "x");
        writeFile("A 10", "x");
        writeFile("A 9", "x");
        fixtures::writeVirtualSubjectFile(m_session.VirtualSubjectsDir + "French.vfre", {});
        fixtures::writeVirtualSubjectFile(m_session.VirtualSubjectsDir + "installed.ale", {});
        FileList file2;
        file2.setPath(m_session.VirtualSubjectsDir);
        file2.setPattern("*.vale");
        QCOMPARE(List_Virtual_Files(m_session, file2), QStringList({ "A", "A 9", "A 10", "b" }));
        writeFile("C", "x");
        QCOMPARE(List_Virtual_Files(m_session, file2), QStringList({ "A", "A 9", "A 10", "b", "C" }));
    }

    void corruptOrMissingFileFailsClearlyAndChangesNothing()
    {
        fixtures::writeBrokenFile(path("Broken"));
        writeFile("Good", "one");
        const QByteArray broken = contents(path("Broken"));
        const QByteArray good = contents(path("Good"));
        QVERIFY(!failure([this] { Add_Virtual_Subject(m_session, "Broken", "x"); }).isEmpty());
        QVERIFY(!failure([this] { Copy_Phrase(m_session, "Broken", 1, "a.ale", 1, "p", "t", "t2"); }).isEmpty());
        QVERIFY(!failure([this] { List_Virtual_Subjects(m_session, "Broken"); }).isEmpty());
        QCOMPARE(contents(path("Broken")), broken);
        QCOMPARE(contents(path("Good")), good);

        QVERIFY(failure([this] { Add_Virtual_Subject(m_session, "Missing", "x"); }).contains("Missing"));
        QVERIFY(!QFile::exists(path("Missing")));
    }

    void readOnlyFileFailsClearlyAndChangesNothing()
    {
        writeFile("Locked", "one");
        const QByteArray before = contents(path("Locked"));
        QFile::setPermissions(path("Locked"), QFileDevice::ReadOwner);
        if (QFile(path("Locked")).open(QIODevice::ReadWrite))
            QSKIP("this user writes read-only files (root)");
        QVERIFY(failure([this] { Add_Virtual_Subject(m_session, "Locked", "x"); }).contains("readonly"));
        QVERIFY(failure([this] { Delete_Virtual_Subject(m_session, "Locked", 1); }).contains("readonly"));
        QCOMPARE(contents(path("Locked")), before);
    }
};

QTEST_GUILESS_MAIN(TestVirtualFiles)
#include "tst_virtualfiles.moc"
