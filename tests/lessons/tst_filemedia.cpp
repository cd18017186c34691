#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/lessons/filemedia.h"

using namespace lessons;

class TestFileMedia : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("deck/sounds")));
        write(QStringLiteral("deck/sounds/hund.wav"), "RIFF-hund");
        write(QStringLiteral("outside.wav"), "RIFF-outside");
        QFile large(m_dir.filePath(QStringLiteral("deck/large.wav")));
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.resize(FileMedia::MaxBytes + 1)); // sparse: no 64 MB written
    }

    void readsOrSaysWhyNot_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");

        const QString absolute = m_dir.filePath(QStringLiteral("outside.wav"));
        QTest::newRow("relative") << "sounds/hund.wav" << QByteArray("RIFF-hund") << QString();
        QTest::newRow("climbing out") << "../outside.wav" << QByteArray("RIFF-outside") << QString();
        QTest::newRow("absolute") << absolute << QByteArray("RIFF-outside") << QString();
        QTest::newRow("missing")
            << "sounds/katze.wav" << QByteArray()
            << QStringLiteral("sound file %1 not found").arg(m_dir.filePath(QStringLiteral("deck/sounds/katze.wav")));
        QTest::newRow("NUL") << QStringLiteral("sounds/hund.wav") + QChar(u'\0') + QStringLiteral(".x") << QByteArray()
                             << "contains a NUL character";
        QTest::newRow("folder") << "sounds" << QByteArray() << "is not a regular file";
        QTest::newRow("device") << "/dev/zero" << QByteArray() << "is not a regular file";
        QTest::newRow("too large") << "large.wav" << QByteArray() << "more than 64 MB";
        QTest::newRow("empty name") << " " << QByteArray() << "no sound file is named";
    }

    void readsOrSaysWhyNot()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        const FileMedia media(m_dir.filePath(QStringLiteral("deck")));
        QString why;
        const std::optional<QByteArray> read = media.read(name, &why);
        QCOMPARE(read.has_value(), problem.isEmpty());
        if (read) {
            QCOMPARE(*read, bytes);
            // Sounds stay in memory until a subject is written; none may hold more than its size.
            QVERIFY(read->capacity() <= read->size() + 4096);
        } else
            QVERIFY2(why.contains(problem), qPrintable(why));
    }

private:
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestFileMedia)
#include "tst_filemedia.moc"
