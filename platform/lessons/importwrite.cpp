#include "platform/lessons/lessonimport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include "platform/database.h"
#include "platform/lessons/products.h"
#include "platform/lessons/subjectfile.h"

namespace lessons {

namespace {

    // Letters and digits of any script, with "-" inside words; everything else separates words. What a title may
    // hold that a file name must not ("/", "..", "\\", ":", control characters) thus never reaches one.
    QStringList fileNameWords(const QString& title)
    {
        const QString text = title.normalized(QString::NormalizationForm_C).toLower();
        QStringList words;
        QString word;
        for (const QChar c : text) {
            if (c.isLetterOrNumber() || c == u'-' || c.isMark()) {
                word += c;
                continue;
            }
            if (!word.isEmpty())
                words << word;
            word.clear();
        }
        if (!word.isEmpty())
            words << word;
        // A name starting with "-" reads as an option to the shell's commands.
        for (QString& w : words) {
            while (w.startsWith(u'-'))
                w.remove(0, 1);
        }
        words.removeAll(QString());
        return words;
    }

    // Cuts whole characters (a letter and its marks, a surrogate pair) off the end until the name fits.
    QString fitted(QString stem, const QString& tail)
    {
        while (!stem.isEmpty() && !platform::fitsDatabaseFileName(stem + tail)) {
            stem.chop(1);
            while (!stem.isEmpty() && (stem.back().isMark() || stem.back().isHighSurrogate()))
                stem.chop(1);
            while (stem.endsWith(u'_') || stem.endsWith(u'-'))
                stem.chop(1);
        }
        return stem;
    }

    QString fileKey(const QString& name) { return name.toLower(); }

}

QString subjectFileName(const QString& title, const QString& extension, const QString& suffix)
{
    const QString tail = suffix + u'.' + extension;
    const QString stem = fitted(fileNameWords(title).join(u'_'), tail);
    return (stem.isEmpty() ? QStringLiteral("lesson") : stem) + tail;
}

Outcome writeImport(
    const ImportPlan& plan, const QString& folder, const QStringList& takenNames, QStringList* writtenNames)
{
    Outcome outcome;
    if (writtenNames)
        writtenNames->clear();
    const ProductInfo* product = findProduct(plan.programCode);
    if (!plan.outcome.ok() || !product || plan.subjects.isEmpty()) {
        outcome.errors << located(folder, 0, QStringLiteral("there is nothing to write"));
        return outcome;
    }
    const QDir target(folder);
    if (!QDir().mkpath(folder)) {
        outcome.errors << located(folder, 0, QStringLiteral("cannot create the folder"));
        return outcome;
    }
    // Case is ignored: the same folder may be shared with a computer whose file system ignores it.
    QSet<QString> taken;
    for (const QString& name : target.entryList(QDir::AllEntries | QDir::Hidden | QDir::System))
        taken.insert(fileKey(name));
    for (const QString& name : takenNames)
        taken.insert(fileKey(name));

    // Written whole into a private folder inside the target (same file system, so each move is a rename), then
    // moved out; whatever fails, the folder and what it holds go when it goes out of scope.
    QTemporaryDir staging(target.absoluteFilePath(QStringLiteral(".parlanta-import-XXXXXX")));
    if (!staging.isValid()) {
        outcome.errors << located(folder, 0, QStringLiteral("cannot write here: %1").arg(staging.errorString()));
        return outcome;
    }

    const QString folderPath = QDir::cleanPath(target.absolutePath());
    QStringList names;
    for (const PlannedSubject& subject : plan.subjects) {
        // The plan's names come from subjectFileName, but a plan is a plain value that anyone may have filled:
        // the rule is applied again, which leaves its own names as they are.
        QString stem = subject.fileName;
        if (stem.endsWith(u'.' + product->extension, Qt::CaseInsensitive))
            stem.chop(product->extension.size() + 1);
        QString name = subjectFileName(stem, product->extension);
        for (int n = 2; taken.contains(fileKey(name)); ++n)
            name = subjectFileName(stem, product->extension, QStringLiteral("_%1").arg(n));
        if (QFileInfo(target.absoluteFilePath(name)).absolutePath() != folderPath) {
            outcome.errors << located(folder, 0, QStringLiteral("%1 leads outside the folder").arg(name));
            return outcome;
        }
        taken.insert(fileKey(name));
        names << name;

        QList<Phrase> phrases;
        for (const ImportedPhrase& p : subject.phrases)
            phrases << Phrase { 0, p.phrase, p.translation, p.translation2, {}, p.sound };
        const Outcome written = writeSubject(phrases, plan.programCode, staging.filePath(name));
        outcome.merge(written);
        if (!written.ok())
            return outcome;
    }

    QStringList moved;
    for (const QString& name : names) {
        const QString to = target.absoluteFilePath(name);
        // QFile::rename never replaces a file that appeared since the folder was listed.
        if (!QFile::rename(staging.filePath(name), to)) {
            outcome.errors << located(to, 0, QStringLiteral("cannot put the subject in place"));
            for (const QString& done : moved)
                QFile::remove(done);
            return outcome;
        }
        moved << to;
    }
    if (writtenNames)
        *writtenNames = names;
    return outcome;
}

}
