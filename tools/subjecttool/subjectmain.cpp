// parlanta-subject: builds and checks installed subject files for teachers, and exchanges them with other programs.
#include <cstdio>

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include "platform/database.h"
#include "platform/lessons/products.h"
#include "platform/lessons/subjectfile.h"

#include "lessoncommands.h"

using namespace lessons;

namespace {

const char usage[] = R"(Usage:
  parlanta-subject build [--code CODE] TEXTFILE OUTPUT
  parlanta-subject check [--code CODE] SUBJECT...
  parlanta-subject import [--code CODE] [--map ROLE=FIELD,...] [--no-speech] [--preview] FILE FOLDER
  parlanta-subject export [--code CODE] (--anki FILE.apkg | --kvtml FILE.kvtml) SUBJECT...
  parlanta-subject --help

build   Makes the installed subject OUTPUT from TEXTFILE, a UTF-8 text file with one phrase per line and four
        fields separated by tabs:
            phrase <TAB> translation <TAB> second translation <TAB> sound file
        The phrase is in the language taught, the translation in the learner's language; the second translation
        may be empty. Sound files are RIFF/WAVE files of at most %1 MB each, named relative to TEXTFILE. Blank
        lines and lines starting with # are skipped. A subject holds 1 to 10 phrases. The name of OUTPUT may have
        at most %2 bytes in UTF-8 (an accented letter takes two), so that the journal file SQLite writes beside
        it fits the file system. OUTPUT is written only when every line is right.
check   Reports what keeps a subject from working: keys not running 1..n, more than 10 phrases, sounds that
        are not WAVE files or are above %1 MB, a missing tblProperties row. Warnings (NULL texts, another
        product's code) do not fail.
import  Makes subjects in FOLDER from another program's lessons in FILE: an Anki package (.apkg, .colpkg), a
        KVTML file of Parley or KWordQuiz (.kvtml) or a text file (.csv, .tsv, .txt). Each lesson becomes
        subjects of at most 10 phrases, numbered when it has more ("Animals 1", "Animals 2"...), named by their
        titles; a name already in FOLDER gets a number ("animals_2"). Markup is taken out of the texts, a "*"
        becomes "∗", and sounds are made WAVE files; a note with no sound that plays is spoken by espeak-ng.
        Notes with an empty phrase are left out with a warning. Every subject is written, or none.
        --map ROLE=FIELD,...  Which fields fill the phrase: ROLE is phrase, translation, translation2 or sound,
                              FIELD a field's number from 1 or its name, or none. Fields not given are guessed
                              from their names (Front, Back, Sound, German...) or their order.
        --no-speech           Leaves phrases without a sound soundless instead of speaking them.
        --preview             Prints the fields and the first 10 phrases as they would be made; writes nothing.
export  Writes the SUBJECTs, each a lesson titled as the subject tree shows it, as an Anki package (--anki) or
        as a KVTML file (--kvtml) with their sounds in a folder FILE_sounds beside it.

--code CODE   The product: prlspa prlfre prlger prlita prleng prlfra prlale prlito. For build it defaults to
              the product whose subject extension OUTPUT has (animals_at_the_zoo.ale is prlale); for check it
              names the product the subjects are expected to be made for; for import it defaults to the
              product whose subjects FOLDER holds, for export to the product of the first SUBJECT.

Exit status: 0 done, 1 refused or problems found, 2 wrong usage.
)";

void print(FILE* stream, const QStringList& lines, const char* prefix)
{
    for (const QString& line : lines)
        std::fprintf(stream, "%s%s\n", prefix, line.toLocal8Bit().constData());
}

int build(const QString& code, const QStringList& files)
{
    if (files.size() != 2)
        return wrongUsage(QStringLiteral("build takes a text file and an output file"));
    QString programCode = code;
    if (programCode.isEmpty()) {
        const ProductInfo* product = productForExtension(QFileInfo(files[1]).suffix());
        if (!product)
            return wrongUsage(QStringLiteral("%1 has no product's subject extension; give --code").arg(files[1]));
        programCode = product->programCode;
    }
    const Outcome outcome = buildSubject(files[0], programCode, files[1]);
    print(stderr, outcome.errors, "error: ");
    print(stderr, outcome.warnings, "warning: ");
    if (!outcome.ok()) {
        std::fprintf(stderr, "%s was not written.\n", files[1].toLocal8Bit().constData());
        return 1;
    }
    std::printf("%s: made for %s\n", files[1].toLocal8Bit().constData(), programCode.toLocal8Bit().constData());
    return 0;
}

int check(const QString& code, const QStringList& files)
{
    if (files.isEmpty())
        return wrongUsage(QStringLiteral("check takes one or more subject files"));
    int status = 0;
    for (const QString& file : files) {
        const CheckReport report = checkSubject(file, code);
        print(stderr, report.outcome.errors, "error: ");
        print(stderr, report.outcome.warnings, "warning: ");
        if (report.outcome.ok())
            std::printf("%s: %d phrases, %s\n", file.toLocal8Bit().constData(), report.phraseCount,
                report.programCode.toLocal8Bit().constData());
        else
            status = 1;
    }
    return status;
}

}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return wrongUsage(QStringLiteral("no command given"));
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        const QString text = QString::fromUtf8(usage).arg(MaxSoundBytes >> 20).arg(platform::MaxDatabaseFileNameBytes);
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    const QString command = args.takeFirst();
    const QStringList valued { "--code", "--map", "--anki", "--kvtml" };
    const QStringList allowed = command == QLatin1String("import")
        ? QStringList { "--code", "--map", "--no-speech", "--preview" }
        : command == QLatin1String("export") ? QStringList { "--code", "--anki", "--kvtml" }
                                             : QStringList { "--code" };
    QHash<QString, QString> options;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            files << arg;
            continue;
        }
        if (!allowed.contains(arg))
            return wrongUsage(QStringLiteral("unknown option %1").arg(arg));
        if (valued.contains(arg) && i + 1 >= args.size())
            return wrongUsage(QStringLiteral("%1 needs a value").arg(arg));
        options.insert(arg, valued.contains(arg) ? args[++i] : QStringLiteral("yes"));
    }
    const QString code = options.value(QStringLiteral("--code"));
    if (!code.isEmpty() && !findProduct(code))
        return wrongUsage(QStringLiteral("unknown program code \"%1\"").arg(code));
    if (command == QLatin1String("build"))
        return build(code, files);
    if (command == QLatin1String("check"))
        return check(code, files);
    if (command == QLatin1String("import")) {
        if (files.size() != 2)
            return wrongUsage(QStringLiteral("import takes a lesson file and a folder"));
        return importLessons(
            { code, options.value(QStringLiteral("--map")), !options.contains(QStringLiteral("--no-speech")),
                options.contains(QStringLiteral("--preview")), files[0], files[1] });
    }
    if (command == QLatin1String("export"))
        return exportLessons(
            { code, options.value(QStringLiteral("--anki")), options.value(QStringLiteral("--kvtml")), files });
    return wrongUsage(QStringLiteral("unknown command \"%1\"").arg(command));
}
