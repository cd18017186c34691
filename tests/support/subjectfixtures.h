#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QVariant>
#include <QVector>

// Builders of subject files, virtual subject files and activity settings files for tests. Texts are
// QVariants so that a test can store NULL.
namespace fixtures {

struct PhraseFixture
{
    int key = 0;
    QVariant tPhrase;
    QVariant tTranslation;
    QVariant tTranslation2;
    QByteArray sound;
};

// Phrases 1..count with texts "P<k>", "Tr<k>", "Tr2<k>" and a distinct small WAVE each.
QVector<PhraseFixture> numberedPhrases(int count);
// A RIFF WAVE of the given number of sample bytes, with every byte value 0..255 among them.
QByteArray waveBytes(int sampleBytes, int seed = 0);

// An installed subject: tblPhrases (pkPhraseNo, tPhrase, tTranslation, tTranslation2, bsound) and
// tblProperties with one row of programCode.
void writeInstalledSubject(
    const QString& path, const QVector<PhraseFixture>& phrases, const QString& programCode = QStringLiteral("prlale"));

struct VirtualPhraseFixture
{
    QString tfilename;
    int nPhraseNo = 0;
    QVariant tPhrase;
    QVariant tTranslation;
    QVariant tTranslation2;
};

struct VirtualSubjectFixture
{
    QString name;
    QVector<VirtualPhraseFixture> phrases;
};

// A virtual subject file: tblParents (auto-number nParent, then the name) and tblPhrases. Returns the
// nParent keys given to the subjects, in order.
QVector<qint64> writeVirtualSubjectFile(const QString& path, const QVector<VirtualSubjectFixture>& subjects);

// A file that is not a database.
void writeBrokenFile(const QString& path);

// An activity settings file: tblImages with one row per entry, columns bSpanish and bEnglish.
struct ImageRowFixture
{
    QVariant bSpanish;
    QVariant bEnglish;
};
void writeActivitySettings(const QString& path, const QVector<ImageRowFixture>& rows);
// A settings file with the two usual rows: normal and highlighted pictures in both columns, each picture
// one plain colour (Spanish and English, normal and highlighted all differ).
void writeActivitySettings(const QString& path);
QByteArray pngBytes(const QColor& colour, int width = 16, int height = 8);
// An empty stand-in for an activity program.
void writeActivityProgram(const QString& path);

// Colours of the standard settings file, so a test can tell the pictures apart.
inline const QColor SpanishNormal { 200, 0, 0 };
inline const QColor SpanishLit { 255, 120, 120 };
inline const QColor EnglishNormal { 0, 0, 200 };
inline const QColor EnglishLit { 120, 120, 255 };

}
