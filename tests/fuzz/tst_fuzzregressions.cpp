#include <QtTest>

#include "tests/fuzz/fuzzbodies.h"

namespace {
struct Target
{
    const char* folder;
    int (*body)(const uint8_t* data, size_t size);
};

// The folders of saved inputs are named after the fuzz targets.
const Target Targets[] = {
    { "nodetag", fuzzNodeTag },
    { "exchange", fuzzExchange },
    { "updates", fuzzUpdates },
    { "subjectfile", fuzzSubjectFile },
};

QFileInfoList inputs(const char* kind, const Target& target)
{
    return QDir(QStringLiteral(PARLANTA_FUZZ_INPUTS "/%1/%2").arg(QLatin1String(kind), QLatin1String(target.folder)))
        .entryInfoList(QDir::Files, QDir::Name);
}
}

// Every seed and every input that once broke a reader goes through its fuzz target's body again: a broken promise
// or a memory fault stops the test.
class TestFuzzRegressions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyTargetHasSeeds()
    {
        for (const Target& target : Targets)
            QVERIFY2(!inputs("seeds", target).isEmpty(), target.folder);
    }

    void savedInputsRunThroughTheirReaders_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("file");
        for (int t = 0; t < int(std::size(Targets)); ++t) {
            for (const char* kind : { "seeds", "regressions" }) {
                for (const QFileInfo& file : inputs(kind, Targets[t]))
                    QTest::addRow("%s/%s/%s", kind, Targets[t].folder, qPrintable(file.fileName()))
                        << t << file.filePath();
            }
        }
    }

    void savedInputsRunThroughTheirReaders()
    {
        QFETCH(int, target);
        QFETCH(QString, file);
        QFile input(file);
        QVERIFY(input.open(QIODevice::ReadOnly));
        const QByteArray bytes = input.readAll();
        QCOMPARE(Targets[target].body(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())), 0);
    }
};

QTEST_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
