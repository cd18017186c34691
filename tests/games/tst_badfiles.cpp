#include <QtTest>

#include "gamefixture.h"
#include "games/common/gamestart.h"
#include "games/common/phrasesound.h"
#include "games/flashcards/flashcardstexts.h"
#include "tests/reliability/brokenfiles.h"

using broken::Damage;
using namespace games;

namespace {
// Damages of what an exchange file names, made on a launch of two good phrases.
using Change = std::function<void(gametest::Launch& launch, Exchange& exchange)>;
}
Q_DECLARE_METATYPE(Change)

// The files a game reads at its start, each damaged: the exchange file, the sounds it names and the user database
// it names. The game either starts with what it can use or explains in one message why it cannot; it changes
// none of them.
class TestBadFiles : public QObject
{
    Q_OBJECT
private:
    struct Outcome
    {
        bool ok = false;
        QString reaction;
    };

    static Outcome start(gametest::Launch& launch, const QString& file)
    {
        const broken::FileSnapshot before({ launch.path(QString()) });
        const GameStart start = prepareGame({ QStringLiteral("Game.exe"), file }, flashcards::activity());
        Outcome outcome { start.ok, start.ok ? QStringLiteral("starts") : QStringLiteral("refused: ") + start.message };
        if (start.ok) {
            QStringList hearing;
            for (const Phrase& p : start.context.exchange.phrases)
                hearing << QString::number(int(PhraseSound::check(p.soundFile, true)));
            outcome.reaction += QStringLiteral("; hearing (0 yes, 2 no file, 3 unplayable): ") + hearing.join(u' ');
        } else if (start.message.trimmed().isEmpty()) {
            outcome.reaction += QStringLiteral("NO MESSAGE");
        }
        if (!before.changed().isEmpty())
            outcome.reaction += QStringLiteral("; CHANGED ") + before.changed().join(u' ');
        return outcome;
    }

private Q_SLOTS:
    void exchangeFile_data()
    {
        QTest::addColumn<Damage>("damage");
        broken::printHeader(QStringLiteral("~prl1.txt at a game's start"));
        gametest::Launch launch;
        const QByteArray good = broken::readBytes(launch.writeFile(launch.exchange(2)));
        for (const broken::Variant& v : broken::anyFile(good))
            QTest::newRow(qPrintable(v.name)) << v.write;
        auto edited = [good](const std::function<void(QList<QByteArray>&)>& edit) -> Damage {
            return [good, edit](const QString& path) {
                QList<QByteArray> lines = good.split('\n');
                edit(lines);
                broken::writeBytes(path, lines.join('\n'));
            };
        };
        QTest::newRow("ten phrases promised, two there") << edited([](QList<QByteArray>& l) { l[7] = "10\r"; });
        QTest::newRow("every line blank") << edited([](QList<QByteArray>& l) {
            for (QByteArray& line : l)
                line = "\r";
        });
        QTest::newRow("no quotes around the texts") << edited([](QList<QByteArray>& l) {
            for (int i = 15; i < l.size(); ++i)
                l[i].replace('"', ' ');
        });
        QTest::newRow("a process number of letters") << edited([](QList<QByteArray>& l) { l[0] = "abc\r"; });
    }
    void exchangeFile()
    {
        QFETCH(Damage, damage);
        gametest::Launch launch;
        const QString file = launch.path(QStringLiteral("~prl1.txt"));
        damage(file);
        const Outcome outcome = start(launch, file);
        broken::printReaction(QTest::currentDataTag(), outcome.reaction);
        QVERIFY2(!outcome.ok, qPrintable(outcome.reaction));
        QVERIFY2(!outcome.reaction.contains("NO MESSAGE") && !outcome.reaction.contains("CHANGED"),
            qPrintable(outcome.reaction));
        QVERIFY(launch.rows().isEmpty());
    }

    void namedFiles_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("starts");
        broken::printHeader(QStringLiteral("the sounds and Users.dat a good exchange file names"));
        QTest::newRow("sounds: not WAVE, cut") << Change([](gametest::Launch&, Exchange& x) {
            broken::writeBytes(x.phrases[0].soundFile, broken::randomBytes(3000));
            broken::writeBytes(x.phrases[1].soundFile, broken::truncatedWave(10, 50'000'000));
        }) << true;
        QTest::newRow("sounds: 0 bytes, missing") << Change([](gametest::Launch&, Exchange& x) {
            broken::writeBytes(x.phrases[0].soundFile, {});
            QFile::remove(x.phrases[1].soundFile);
        }) << true;
        QTest::newRow("sound path that does not exist")
            << Change([](gametest::Launch& l, Exchange& x) { x.phrases[0].soundFile = l.path("nowhere/1.wav"); })
            << true;
        for (const broken::Variant& v : broken::anyFile(broken::readBytes(gametest::Launch().database()))) {
            QTest::newRow(qPrintable("Users.dat: " + v.name))
                << Change([write = v.write](gametest::Launch& l, Exchange&) { write(l.database()); }) << false;
        }
        QTest::newRow("Users.dat: missing")
            << Change([](gametest::Launch& l, Exchange&) { QFile::remove(l.database()); }) << false;
        QTest::newRow("Users.dat: a folder")
            << Change([](gametest::Launch& l, Exchange& x) { x.usersDatabase = l.path(QString()); }) << false;
    }
    void namedFiles()
    {
        QFETCH(Change, change);
        QFETCH(bool, starts);
        gametest::Launch launch;
        Exchange x = launch.exchange(2);
        change(launch, x);
        const Outcome outcome = start(launch, launch.writeFile(x));
        broken::printReaction(QTest::currentDataTag(), outcome.reaction);
        QCOMPARE(outcome.ok, starts);
        QVERIFY2(!outcome.reaction.contains("NO MESSAGE") && !outcome.reaction.contains("CHANGED"),
            qPrintable(outcome.reaction));
    }
};

QTEST_MAIN(TestBadFiles)
#include "tst_badfiles.moc"
