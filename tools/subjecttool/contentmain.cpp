// parlanta-content: makes the subject files the program folder ships, at build time.
#include <cstdio>

#include <QCoreApplication>
#include <QFile>

#include "booknames.h"
#include "phrasebook.h"
#include "platform/lessons/databasefile.h"
#include "platform/lessons/products.h"
#include "virtualexamples.h"

using namespace subjecttool;

namespace {

const char usage[] = R"(Usage:
  parlanta-content subject --code CODE --work DIR [--espeak PROGRAM] PHRASEBOOK.tsv OUTPUT
      The installed subject OUTPUT for product CODE from a phrasebook subject, its sounds spoken by espeak-ng;
      DIR receives the text file and sounds it is built from.
  parlanta-content database SCRIPT.sql OUTPUT
      A database file made by running the SQL script on an empty database.
  parlanta-content virtual --code CODE --template FILE --subjects DIR --names NAMES.tsv EXAMPLES.tsv OUTPUT
      A virtual subject file: a copy of the template holding the virtual subjects listed in EXAMPLES.tsv,
      their texts copied from the installed subjects in DIR, which NAMES.tsv names for each phrasebook file.
)";

int finish(const Outcome& outcome)
{
    for (const QString& line : outcome.errors)
        std::fprintf(stderr, "error: %s\n", line.toLocal8Bit().constData());
    for (const QString& line : outcome.warnings)
        std::fprintf(stderr, "warning: %s\n", line.toLocal8Bit().constData());
    // The build treats any message as a fault: shipped content is expected to be clean.
    return outcome.errors.isEmpty() && outcome.warnings.isEmpty() ? 0 : 1;
}

int wrongUsage(const char* message)
{
    std::fprintf(stderr, "parlanta-content: %s\n%s", message, usage);
    return 2;
}

}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.contains(QStringLiteral("--help")))
        return args.isEmpty() ? wrongUsage("no command given") : (std::fputs(usage, stdout), 0);
    const QString command = args.takeFirst();
    QHash<QString, QString> options;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i].startsWith(QLatin1String("--"))) {
            if (i + 1 >= args.size())
                return wrongUsage("an option lacks its value");
            options.insert(args[i].mid(2), args[i + 1]);
            ++i;
        } else {
            files << args[i];
        }
    }
    if (files.size() != 2)
        return wrongUsage("give an input and an output file");

    if (command == QLatin1String("database")) {
        QFile script(files[0]);
        if (!script.open(QIODevice::ReadOnly))
            return wrongUsage("cannot read the script");
        const QString sql = QString::fromUtf8(script.readAll());
        return finish(writeDatabaseFile(files[1], [&](const platform::Database& db) { db.executeScript(sql); }));
    }

    const ProductInfo* product = findProduct(options.value(QStringLiteral("code")));
    if (!product)
        return wrongUsage("--code names no product");
    if (command == QLatin1String("subject")) {
        if (!options.contains(QStringLiteral("work")))
            return wrongUsage("subject needs --work");
        Speaker speaker;
        speaker.program = options.value(QStringLiteral("espeak"), speaker.program);
        return finish(makePhrasebookSubject(
            readPhrasebook(files[0]), *product, speaker, options.value(QStringLiteral("work")), files[1]));
    }
    if (command == QLatin1String("virtual")) {
        if (!options.contains(QStringLiteral("template")) || !options.contains(QStringLiteral("subjects"))
            || !options.contains(QStringLiteral("names")))
            return wrongUsage("virtual needs --template, --subjects and --names");
        return finish(makeExampleFile(files[0], *product, options.value(QStringLiteral("template")),
            options.value(QStringLiteral("subjects")), readBookNames(options.value(QStringLiteral("names"))),
            files[1]));
    }
    return wrongUsage("unknown command");
}
