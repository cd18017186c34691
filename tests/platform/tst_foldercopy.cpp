#include <QtTest>

#include <filesystem>

#include "platform/foldercopy.h"

namespace fs = std::filesystem;

namespace {
void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

bool ownerWrites(const QString& path)
{
    return (fs::status(path.toStdString()).permissions() & fs::perms::owner_write) != fs::perms::none;
}

void setMode(const QString& path, fs::perms perms) { fs::permissions(path.toStdString(), perms); }
}

class TestFolderCopy : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    // The shipped folder of an installation nobody may write to becomes the user's own, changeable copy.
    void aReadOnlyFolderIsCopiedAsTheUsersOwn()
    {
        const QString from = path("shipped");
        QVERIFY(QDir().mkpath(from + "/inner"));
        write(from + "/Examples.vale", "subjects");
        write(from + "/inner/deep.vale", "more");
        const auto readOnlyFile = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
        const auto readOnlyFolder
            = readOnlyFile | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
        setMode(from + "/Examples.vale", readOnlyFile);
        setMode(from + "/inner/deep.vale", readOnlyFile);
        setMode(from + "/inner", readOnlyFolder);
        setMode(from, readOnlyFolder);

        QString error;
        const bool copied = platform::copyFolderTree(from, path("data/My Subjects"), &error);
        setMode(from + "/inner", fs::perms::owner_all);
        setMode(from, fs::perms::owner_all);
        QVERIFY2(copied, qPrintable(error));
        const QString to = path("data/My Subjects");
        QCOMPARE(read(to + "/Examples.vale"), QByteArray("subjects"));
        QCOMPARE(read(to + "/inner/deep.vale"), QByteArray("more"));
        for (const QString& made : { to, to + "/inner", to + "/Examples.vale", to + "/inner/deep.vale" })
            QVERIFY2(ownerWrites(made), qPrintable(made));
        QVERIFY(!ownerWrites(from + "/Examples.vale")); // the source is left as it was
    }

    void filesThereAreReplacedAndOthersKept()
    {
        QVERIFY(QDir().mkpath(path("a")));
        QVERIFY(QDir().mkpath(path("b")));
        write(path("a/one.vale"), "new");
        write(path("b/one.vale"), "old");
        write(path("b/mine.vale"), "the user's");
        QVERIFY(platform::copyFolderTree(path("a"), path("b")));
        QCOMPARE(read(path("b/one.vale")), QByteArray("new"));
        QCOMPARE(read(path("b/mine.vale")), QByteArray("the user's"));
    }

    void failuresAreReported()
    {
        QString error;
        QVERIFY(!platform::copyFolderTree(path("nowhere"), path("to"), &error));
        QVERIFY(error.contains(path("nowhere")));
        QVERIFY(!QFileInfo::exists(path("to")));

        QVERIFY(QDir().mkpath(path("src")));
        write(path("src/x.vale"), "x");
        write(path("plain"), "a file where the folder should go");
        error.clear();
        QVERIFY(!platform::copyFolderTree(path("src"), path("plain/sub"), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFolderCopy)
#include "tst_foldercopy.moc"
