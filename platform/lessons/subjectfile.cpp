#include "platform/lessons/subjectfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QtEndian>

#include "platform/lessons/databasefile.h"
#include "platform/lessons/products.h"
#include "platform/wave.h"

namespace lessons {

QString installedSubjectSchema()
{
    return QStringLiteral("CREATE TABLE tblPhrases (pkPhraseNo INTEGER PRIMARY KEY, tPhrase TEXT, tTranslation TEXT, "
                          "tTranslation2 TEXT, bsound BLOB);\n"
                          "CREATE TABLE tblProperties (tProgramCode TEXT);\n");
}

QString waveProblem(const QByteArray& bytes)
{
    if (!platform::readWaveInfo(bytes).valid)
        return QStringLiteral("not a RIFF/WAVE sound");
    // The header parser stops at the data chunk; a copy cut short still has a valid header but plays garbage or
    // nothing at its end, so compare the chunk's declared size with what is there.
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        if (bytes.mid(at, 4) == "data") {
            if (at + 8 + static_cast<qint64>(size) > bytes.size())
                return QStringLiteral("a truncated WAVE file (%1 sound bytes declared, %2 present)")
                    .arg(size)
                    .arg(bytes.size() - at - 8);
            return {};
        }
        at += 8 + static_cast<qsizetype>(size) + (size & 1);
    }
    return QStringLiteral("not a RIFF/WAVE sound");
}

namespace {

    QStringList splitLines(const QByteArray& bytes)
    {
        QList<QByteArray> raw = bytes.split('\n');
        if (!raw.isEmpty() && raw.last().isEmpty())
            raw.removeLast();
        QStringList lines;
        for (QByteArray& line : raw) {
            if (line.endsWith('\r'))
                line.chop(1);
            QStringDecoder decoder(QStringDecoder::Utf8);
            QString text = decoder.decode(line);
            // A null marks a line that is not UTF-8 (the caller reports it); distinct from an empty line.
            lines << (decoder.hasError() ? QString() : (text.isEmpty() ? QStringLiteral("") : text));
        }
        return lines;
    }

    void readSound(Phrase& phrase, const QDir& base, const QString& textPath, Outcome& outcome)
    {
        const QString path = QDir::cleanPath(base.absoluteFilePath(phrase.soundFile));
        QFile file(path);
        if (!QFileInfo(path).isFile()) {
            outcome.errors << located(textPath, phrase.line, QStringLiteral("sound file %1 not found").arg(path));
            return;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            outcome.errors << located(
                textPath, phrase.line, QStringLiteral("cannot read sound file %1: %2").arg(path, file.errorString()));
            return;
        }
        if (file.size() > MaxSoundBytes) {
            outcome.errors << located(textPath, phrase.line,
                QStringLiteral("sound file %1 has %2 bytes; a sound may have at most %3 MB (%4 bytes)")
                    .arg(path)
                    .arg(file.size())
                    .arg(MaxSoundBytes >> 20)
                    .arg(MaxSoundBytes));
            return;
        }
        phrase.sound = file.readAll();
        const QString problem = waveProblem(phrase.sound);
        if (!problem.isEmpty())
            outcome.errors << located(textPath, phrase.line, QStringLiteral("sound file %1 is %2").arg(path, problem));
    }

}

PhraseList readPhraseList(const QString& textPath)
{
    PhraseList result;
    Outcome& outcome = result.outcome;
    QFile file(textPath);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome.errors << located(textPath, 0, QStringLiteral("cannot read the file: %1").arg(file.errorString()));
        return result;
    }
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QDir base = QFileInfo(textPath).absoluteDir();

    const QStringList lines = splitLines(bytes);
    int counted = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const QString& line = lines[i];
        if (line.isNull()) {
            outcome.errors << located(textPath, lineNo, QStringLiteral("the line is not UTF-8 text"));
            continue;
        }
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        if (++counted == MaxPhrases + 1)
            outcome.errors << located(textPath, lineNo,
                QStringLiteral("phrase %1: a subject holds at most %2 phrases").arg(counted).arg(MaxPhrases));
        if (counted > MaxPhrases)
            continue;

        const QStringList fields = line.split(u'\t');
        if (fields.size() != 4) {
            outcome.errors << located(textPath, lineNo,
                QStringLiteral("%1 tab-separated field(s); a phrase line has 4: phrase, translation, "
                               "second translation, sound file")
                    .arg(fields.size()));
            continue;
        }
        Phrase phrase;
        phrase.line = lineNo;
        phrase.phrase = fields[0].trimmed();
        phrase.translation = fields[1].trimmed();
        phrase.translation2 = fields[2].trimmed();
        phrase.soundFile = fields[3].trimmed();
        const int before = static_cast<int>(outcome.errors.size());
        if (phrase.phrase.isEmpty())
            outcome.errors << located(textPath, lineNo, QStringLiteral("the phrase is empty"));
        if (phrase.translation.isEmpty())
            outcome.errors << located(textPath, lineNo, QStringLiteral("the translation is empty"));
        for (const QString* text : { &phrase.phrase, &phrase.translation, &phrase.translation2 }) {
            if (text->contains(TagSeparator))
                outcome.errors << located(textPath, lineNo,
                    QStringLiteral("\"%1\" contains \"*\", which the subject tree uses as its field separator")
                        .arg(*text));
        }
        if (phrase.soundFile.isEmpty())
            outcome.errors << located(textPath, lineNo, QStringLiteral("no sound file is named"));
        else
            readSound(phrase, base, textPath, outcome);
        if (outcome.errors.size() == before)
            result.phrases << phrase;
    }
    if (counted == 0 && outcome.ok())
        outcome.errors << located(textPath, 0, QStringLiteral("no phrase lines"));
    if (!outcome.ok())
        result.phrases.clear();
    return result;
}

Outcome writeSubject(const QList<Phrase>& phrases, const QString& programCode, const QString& outputPath)
{
    Outcome outcome;
    const ProductInfo* product = findProduct(programCode);
    if (!product) {
        outcome.errors << located(outputPath, 0, QStringLiteral("unknown program code \"%1\"").arg(programCode));
        return outcome;
    }
    if (phrases.isEmpty() || phrases.size() > MaxPhrases) {
        outcome.errors << located(
            outputPath, 0, QStringLiteral("%1 phrases; a subject holds 1 to %2").arg(phrases.size()).arg(MaxPhrases));
        return outcome;
    }
    const QString suffix = QFileInfo(outputPath).suffix();
    if (suffix.compare(product->extension, Qt::CaseInsensitive) != 0)
        outcome.warnings << located(outputPath, 0,
            QStringLiteral("%1 lists only subject files ending in .%2").arg(programCode, product->extension));

    outcome.merge(writeDatabaseFile(outputPath, [&](const platform::Database& db) {
        // One transaction: row by row, SQLite would wait for the disk after each of them, and an import of
        // hundreds of subjects spent most of its writing time waiting.
        db.executeScript(QStringLiteral("BEGIN"));
        db.executeScript(installedSubjectSchema());
        for (int i = 0; i < phrases.size(); ++i) {
            const Phrase& p = phrases[i];
            db.insertRow(QStringLiteral("tblPhrases"),
                { QStringLiteral("pkPhraseNo"), QStringLiteral("tPhrase"), QStringLiteral("tTranslation"),
                    QStringLiteral("tTranslation2"), QStringLiteral("bsound") },
                // Texts go in as "" rather than NULL; the program copes with NULL, other readers may not.
                { i + 1, p.phrase.isNull() ? QStringLiteral("") : p.phrase,
                    p.translation.isNull() ? QStringLiteral("") : p.translation,
                    p.translation2.isNull() ? QStringLiteral("") : p.translation2, p.sound });
        }
        db.insertRow(QStringLiteral("tblProperties"), { QStringLiteral("tProgramCode") }, { programCode });
        db.executeScript(QStringLiteral("COMMIT"));
    }));
    return outcome;
}

Outcome buildSubject(const QString& textPath, const QString& programCode, const QString& outputPath)
{
    Outcome outcome;
    if (!findProduct(programCode)) {
        outcome.errors << located(outputPath, 0, QStringLiteral("unknown program code \"%1\"").arg(programCode));
        return outcome;
    }
    // Before the sounds are read: a teacher learns of the name at once.
    if (const QString problem = fileNameProblem(outputPath); !problem.isEmpty()) {
        outcome.errors << located(outputPath, 0, problem);
        return outcome;
    }
    const PhraseList list = readPhraseList(textPath);
    outcome.merge(list.outcome);
    if (outcome.ok())
        outcome.merge(writeSubject(list.phrases, programCode, outputPath));
    return outcome;
}

}
