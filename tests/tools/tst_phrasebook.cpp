#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QUuid>
#include <QtConcurrent>
#include <QtTest>

#include "booknames.h"
#include "phrasebook.h"
#include "platform/database.h"
#include "platform/lessons/soundcheck.h"
#include "platform/lessons/subjectfile.h"
#include "platform/wave.h"

using namespace subjecttool;
using namespace lessons;

namespace {

QStringList shippedBooks()
{
    QStringList paths;
    const QDir dir(QStringLiteral(PHRASEBOOK_DIR));
    for (const QString& name : dir.entryList({ QStringLiteral("*.tsv") }, QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

Speaker espeak()
{
    Speaker speaker;
    speaker.program = QStringLiteral(ESPEAK_NG);
    return speaker;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The subjects of the beginner's course, by their number ("04_my_family.tsv"), in course order.
bool inCourse(const QString& path) { return QFileInfo(path).fileName().front().isDigit(); }

// What a teacher would correct in a phrase, by language; empty when the text is clean.
QString styleProblem(const QString& language, const QString& text)
{
    if (text != text.trimmed() || text.contains(QStringLiteral("  ")))
        return QStringLiteral("stray blanks");
    static const QRegularExpression opening(QStringLiteral("^[¿¡]?\\p{Lu}"));
    if (!opening.match(text).hasMatch())
        return QStringLiteral("does not start with a capital letter");
    if (QRegularExpression(QStringLiteral("\\s[,.]")).match(text).hasMatch())
        return QStringLiteral("a blank before a comma or full stop");
    if (text.size() > 60)
        return QStringLiteral("longer than a beginner can take in at once");
    if (language == QLatin1String("fr")) {
        if (QRegularExpression(QStringLiteral("[^\\x{00A0}][?!:;]")).match(text).hasMatch())
            return QStringLiteral("French puts a no-break space before ? ! : and ;");
    } else if (QRegularExpression(QStringLiteral("\\s[?!:;]")).match(text).hasMatch()) {
        return QStringLiteral("a blank before ? ! : or ;");
    }
    if (language == QLatin1String("es")) {
        if (text.count(u'?') != text.count(u'¿') || text.count(u'!') != text.count(u'¡'))
            return QStringLiteral("Spanish opens every question and exclamation with ¿ or ¡");
        if (text.indexOf(u'¿') > text.indexOf(u'?') || text.indexOf(u'¡') > text.indexOf(u'!'))
            return QStringLiteral("¿ or ¡ after its closing mark");
    }
    return {};
}

}

class TestPhrasebook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shippedBooksAreComplete();
    void shippedTextsAreWellWritten();
    void readRefusesBadBooks_data();
    void readRefusesBadBooks();
    void shippedNamesCoverEveryBook();
    void everyPhraseIsSpokenClearly();
    void readRefusesBadNames_data();
    void readRefusesBadNames();
    void installedSubjectFileFollowsTheInterfaceLanguage();
    void productsAndSecondTranslation();
    void everyProductBuildsARealSubject();
    void speakerFailureWritesNothing();
};

void TestPhrasebook::shippedBooksAreComplete()
{
    const QStringList books = shippedBooks();
    // The course is numbered from 01 without a gap, so that the tree's name order is the order it is taught in.
    int course = 0;
    for (const QString& path : books) {
        if (inCourse(path))
            QCOMPARE(QFileInfo(path).fileName().left(3), QStringLiteral("%1_").arg(++course, 2, 10, QLatin1Char('0')));
    }
    QVERIFY2(course >= 40, qPrintable(QString::number(course)));
    for (const QString& path : books) {
        const Phrasebook book = readPhrasebook(path);
        QVERIFY2(book.outcome.ok(), qPrintable(book.outcome.errors.join('\n')));
        QVERIFY2(book.entries.size() == MaxPhrases, qPrintable(path));
        for (const QString& language : phrasebookLanguages()) {
            QSet<QString> seen;
            for (const Phrasebook::Entry& entry : book.entries) {
                const QString text = entry.texts.value(language);
                QVERIFY2(
                    !text.isEmpty(), qPrintable(QStringLiteral("%1:%2 %3").arg(path).arg(entry.line).arg(language)));
                QVERIFY2(!seen.contains(text), qPrintable(QStringLiteral("%1: %2 twice").arg(path, text)));
                seen.insert(text);
            }
        }
    }
}

void TestPhrasebook::shippedTextsAreWellWritten()
{
    for (const QString& path : shippedBooks()) {
        const Phrasebook book = readPhrasebook(path);
        for (const Phrasebook::Entry& entry : book.entries) {
            const bool question = entry.texts.value(QStringLiteral("en")).endsWith(u'?');
            for (const QString& language : phrasebookLanguages()) {
                const QString text = entry.texts.value(language);
                const QString where = QStringLiteral("%1:%2 %3 \"%4\": ").arg(path).arg(entry.line).arg(language, text);
                const QString problem = styleProblem(language, text);
                QVERIFY2(problem.isEmpty(), qPrintable(where + problem));
                // The course's phrases are sentences, each closed as one; the older lists hold bare words too.
                QVERIFY2(!inCourse(path) || QRegularExpression(QStringLiteral("[.?!]$")).match(text).hasMatch(),
                    qPrintable(where + QStringLiteral("no closing mark")));
                // A question in one language is a question in all of them; a mismatch means a row slipped.
                QVERIFY2(text.endsWith(u'?') == question, qPrintable(where + QStringLiteral("question mark differs")));
            }
        }
    }
}

void TestPhrasebook::readRefusesBadBooks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("why");

    const QByteArray header = "en\tde\tfr\tit\tes\n";
    const QByteArray row = "Yes.\tJa.\tOui.\tS\xC3\xAC.\tS\xC3\xAD.\n";
    QTest::newRow("no Italian column") << "yes.tsv" << QByteArray("en\tde\tfr\tes\nYes.\tJa.\tOui.\tS\xC3\xAD.\n")
                                       << "yes.tsv:1: the header names no column it";
    QTest::newRow("short row") << "yes.tsv" << header + "# a comment\n" + row + "Yes.\tJa.\tOui.\n"
                               << "yes.tsv:4: 3 fields where the header has 5";
    QTest::newRow("empty text") << "yes.tsv" << header + "Yes.\tJa.\t\tS\xC3\xAC.\tS\xC3\xAD.\n"
                                << "yes.tsv:2: no fr text";
    QTest::newRow("star") << "yes.tsv" << header + "Yes*\tJa.\tOui.\tS\xC3\xAC.\tS\xC3\xAD.\n"
                          << "yes.tsv:2: the en text contains";
    QTest::newRow("eleven rows") << "yes.tsv" << header + row.repeated(11) << "yes.tsv:12: a subject holds at most 10";
    QTest::newRow("title with a capital") << "Yes_please.tsv" << header + row << "lower-case English words";
    QTest::newRow("title with a blank") << "yes please.tsv" << header + row << "lower-case English words";
    QTest::newRow("no rows") << "yes.tsv" << header << "yes.tsv: no phrases";
}

void TestPhrasebook::readRefusesBadBooks()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, text);
    QFETCH(QString, why);
    QTemporaryDir dir;
    writeFile(dir.filePath(name), text);
    const Phrasebook book = readPhrasebook(dir.filePath(name));
    QVERIFY(!book.outcome.ok());
    QVERIFY2(book.outcome.errors.join('\n').contains(why), qPrintable(book.outcome.errors.join('\n')));
}

void TestPhrasebook::shippedNamesCoverEveryBook()
{
    const BookNames table = readBookNames(QStringLiteral(NAMES_TABLE));
    QVERIFY2(table.outcome.ok(), qPrintable(table.outcome.errors.join('\n')));
    QStringList stems;
    for (const QString& path : shippedBooks())
        stems << QFileInfo(path).completeBaseName();
    QStringList named = table.names.keys();
    named.sort();
    QCOMPARE(named, stems);
}

void TestPhrasebook::everyPhraseIsSpokenClearly()
{
    // Each product speaks its phrases with the voice of the language it teaches, so speaking every text with every
    // language's voice hears every sound any of the eight products ships.
    struct Spoken
    {
        QString voice, text, where;
        QString problem;
    };
    QHash<QString, QString> voices;
    for (const ProductInfo& product : products())
        voices.insert(product.taughtLanguage, product.voice);
    QList<Spoken> all;
    for (const QString& path : shippedBooks()) {
        for (const Phrasebook::Entry& entry : readPhrasebook(path).entries) {
            for (auto it = voices.cbegin(); it != voices.cend(); ++it)
                all.append({ it.value(), entry.texts.value(it.key()),
                    QStringLiteral("%1:%2 %3").arg(QFileInfo(path).fileName()).arg(entry.line).arg(it.key()), {} });
        }
    }
    QTemporaryDir dir;
    QtConcurrent::blockingMap(all, [&dir](Spoken& spoken) {
        const QString wave = dir.filePath(QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".wav"));
        spoken.problem = speak(espeak(), spoken.voice, spoken.text, wave);
        QFile file(wave);
        if (spoken.problem.isEmpty() && file.open(QIODevice::ReadOnly))
            spoken.problem = spokenSoundProblem(file.readAll(), spoken.text);
    });
    for (const Spoken& spoken : all)
        QVERIFY2(spoken.problem.isEmpty(), qPrintable(spoken.where + QStringLiteral(": ") + spoken.problem));
}

void TestPhrasebook::readRefusesBadNames_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("why");

    const QByteArray header = "# names\nen\tes\n";
    QTest::newRow("no Spanish column") << QByteArray("en\tfr\ncolours\tcouleurs\n")
                                       << "names.tsv:1: the header names no column es";
    QTest::newRow("no header") << QByteArray("# only a comment\n") << "names.tsv: no header line";
    QTest::newRow("short row") << header + "colours\tcolores\nnumbers\n"
                               << "names.tsv:4: 1 fields where the header has 2";
    QTest::newRow("capital") << header + "colours\tColores\n"
                             << "\"Colores\" is not lower-case Spanish words";
    QTest::newRow("blank") << header + "the_body\tel cuerpo\n"
                           << "\"el cuerpo\" is not lower-case Spanish";
    QTest::newRow("empty Spanish name") << header + "colours\t\n"
                                        << "names.tsv:3: \"\" is not";
    QTest::newRow("accent in English") << header + "caf\xC3\xA9\tcaf\xC3\xA9\n"
                                       << "is not lower-case English words";
    QTest::newRow("combining accent") << header + "numbers\tnu\xCC\x81meros\n"
                                      << "is not lower-case Spanish";
    QTest::newRow("doubled underscore") << header + "at_the_hotel\ten__el_hotel\n"
                                        << "is not lower-case Spanish";
    QTest::newRow("Spanish name twice") << header + "colours\tcolores\ncolors\tcolores\n"
                                        << "names.tsv:4: the es name colores twice";
    QTest::newRow("accented name twice") << header + "numbers\tn\xC3\xBAmeros\nfigures\tn\xC3\xBAmeros\n"
                                         << "names.tsv:4: the es name n\xC3\xBAmeros twice";
    QTest::newRow("Windows device name") << header + "aux\tauxilio\n"
                                         << "\"aux\" is a device name on Windows";
    QTest::newRow("course numbers differ") << header + "04_my_family\t05_mi_familia\n"
                                           << "names.tsv:3: the names do not start with the same course number";
    QTest::newRow("course number in one name only") << header + "04_my_family\tmi_familia\n"
                                                    << "the same course number";
    QTest::newRow("one-digit course number") << header + "4_my_family\t4_mi_familia\n"
                                             << "is not lower-case English words";
    QTest::newRow("English name twice") << header + "colours\tcolores\ncolours\ttonos\n"
                                        << "names.tsv:4: the en name colours twice";
}

void TestPhrasebook::readRefusesBadNames()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("names.tsv"));
    writeFile(path, text);
    const BookNames table = readBookNames(path);
    QVERIFY(!table.outcome.ok());
    QVERIFY2(table.outcome.errors.join('\n').contains(why), qPrintable(table.outcome.errors.join('\n')));
}

void TestPhrasebook::installedSubjectFileFollowsTheInterfaceLanguage()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("names.tsv"));
    // Columns in either order; the Spanish names keep their accents.
    writeFile(path,
        "es\ten\nexpresiones_\xC3\xBAtiles\tuseful_expressions\nse\xC3\xB1"
        "as\tsigns\n");
    const BookNames table = readBookNames(path);
    QVERIFY2(table.outcome.ok(), qPrintable(table.outcome.errors.join('\n')));
    for (const ProductInfo& product : products()) {
        const QString file = installedSubjectFile(table, QStringLiteral("useful_expressions"), product);
        const QString name = product.interfaceLanguage == QLatin1String("es") ? QStringLiteral("expresiones_útiles")
                                                                              : QStringLiteral("useful_expressions");
        QCOMPARE(file, name + u'.' + product.extension);
    }
    QCOMPARE(installedSubjectFile(table, QStringLiteral("signs"), *findProduct(QStringLiteral("prlfra"))),
        QStringLiteral("señas.fra"));
    // Looked up by the phrasebook's own name only, never by a Spanish one.
    QCOMPARE(installedSubjectFile(table, QStringLiteral("señas"), *findProduct(QStringLiteral("prlfra"))), QString());
    QCOMPARE(installedSubjectFile(table, QStringLiteral("weather"), *findProduct(QStringLiteral("prlspa"))), QString());
}

void TestPhrasebook::productsAndSecondTranslation()
{
    QSet<QString> codes, extensions;
    for (const ProductInfo& p : products()) {
        codes.insert(p.programCode);
        extensions.insert(p.extension);
        QCOMPARE(productForExtension(p.extension.toUpper()), &p);
        QVERIFY(phrasebookLanguages().contains(p.taughtLanguage));
        QVERIFY(p.voice.startsWith(p.taughtLanguage));
    }
    QCOMPARE(codes.size(), 8);
    QCOMPARE(extensions.size(), 8);

    const QHash<QString, QStringList> expected = {
        { "prlspa", { "es", "en", "" } },
        { "prlfre", { "fr", "en", "es" } },
        { "prlger", { "de", "en", "es" } },
        { "prlita", { "it", "en", "es" } },
        { "prleng", { "en", "es", "" } },
        { "prlfra", { "fr", "es", "en" } },
        { "prlale", { "de", "es", "en" } },
        { "prlito", { "it", "es", "en" } },
    };
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const ProductInfo* p = findProduct(it.key());
        QVERIFY2(p, qPrintable(it.key()));
        QCOMPARE(p->taughtLanguage, it.value()[0]);
        QCOMPARE(p->interfaceLanguage, it.value()[1]);
        QCOMPARE(secondTranslationLanguage(*p), it.value()[2]);
    }
    QVERIFY(!findProduct(QStringLiteral("PRLALE")));
}

void TestPhrasebook::everyProductBuildsARealSubject()
{
    const Phrasebook book = readPhrasebook(QStringLiteral(PHRASEBOOK_DIR "/greetings.tsv"));
    QVERIFY(book.outcome.ok());
    QTemporaryDir dir;
    for (const ProductInfo& product : products()) {
        const QString output = dir.filePath(QStringLiteral("greetings.") + product.extension);
        const Outcome outcome
            = makePhrasebookSubject(book, product, espeak(), dir.filePath(product.programCode), output);
        QVERIFY2(outcome.ok(), qPrintable(outcome.errors.join('\n')));

        const CheckReport report = checkSubject(output, product.programCode);
        QVERIFY2(report.outcome.ok() && report.outcome.warnings.isEmpty(),
            qPrintable((report.outcome.errors + report.outcome.warnings).join('\n')));
        const auto rs = platform::Database::openFile(output).query(
            QStringLiteral("SELECT * FROM tblPhrases ORDER BY pkPhraseNo"));
        QCOMPARE(rs.count(), book.entries.size());
        const QString second = secondTranslationLanguage(product);
        QSet<QString> pronunciations;
        for (int row = 0; row < rs.count(); ++row) {
            const auto& texts = book.entries[row].texts;
            QCOMPARE(rs.text(row, QStringLiteral("tPhrase")), texts.value(product.taughtLanguage));
            QCOMPARE(rs.text(row, QStringLiteral("tTranslation")), texts.value(product.interfaceLanguage));
            const QString translation2 = rs.text(row, QStringLiteral("tTranslation2"));
            if (second.isEmpty()) {
                QVERIFY2(translation2.size() > 3 && translation2.startsWith(u'/') && translation2.endsWith(u'/'),
                    qPrintable(translation2));
                QVERIFY2(!translation2.contains(u'*') && !translation2.contains(u'\t'), qPrintable(translation2));
                pronunciations.insert(translation2);
            } else {
                QCOMPARE(translation2, texts.value(second));
            }
            // A spoken phrase lasts a moment; an empty or garbled recording would not.
            const platform::WaveInfo wave = platform::readWaveInfo(rs.blob(row, QStringLiteral("bsound")));
            QVERIFY(wave.valid);
            QVERIFY2(wave.durationMs > 300 && wave.durationMs < 8000, qPrintable(QString::number(wave.durationMs)));
        }
        if (second.isEmpty())
            QCOMPARE(pronunciations.size(), rs.count());
    }
}

void TestPhrasebook::speakerFailureWritesNothing()
{
    QTemporaryDir dir;
    const Phrasebook book = readPhrasebook(QStringLiteral(PHRASEBOOK_DIR "/colours.tsv"));
    Speaker mute;
    mute.program = dir.filePath(QStringLiteral("no-such-speaker"));
    const QString output = dir.filePath(QStringLiteral("colours.ale"));
    const Outcome outcome = makePhrasebookSubject(
        book, *findProduct(QStringLiteral("prlale")), mute, dir.filePath(QStringLiteral("work")), output);
    QVERIFY(!outcome.ok());
    QVERIFY2(outcome.errors.first().contains(QStringLiteral("colours.tsv:")), qPrintable(outcome.errors.first()));
    QVERIFY(!QFileInfo::exists(output));
}

QTEST_GUILESS_MAIN(TestPhrasebook)
#include "tst_phrasebook.moc"
