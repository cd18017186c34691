// mktemplate: builds the template database Parlanta.tpl from the translators' text sources.

#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>

#include "templatesources.h"
#include "templatewriter.h"

namespace {

void printError(const QString& text) { std::fprintf(stderr, "mktemplate: %s\n", qPrintable(text)); }

}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mktemplate"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Builds the template database (interface texts, system messages, tips, menu links and the "
                       "empty student tables) from the text sources in SOURCE_DIR and writes it to OUTPUT_FILE.\n"
                       "An existing OUTPUT_FILE is replaced only when the whole database has been built.\n\n"
                       "SOURCE_DIR must hold these UTF-8 files:\n  %1")
            .arg(mktemplate::sourceFileNames().join(QStringLiteral("\n  "))));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("SOURCE_DIR"), QStringLiteral("Folder of the text sources."));
    parser.addPositionalArgument(QStringLiteral("OUTPUT_FILE"), QStringLiteral("Template database to write."));
    parser.process(app);

    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2) {
        printError(QStringLiteral("expected SOURCE_DIR and OUTPUT_FILE; see --help"));
        return 2;
    }

    mktemplate::TemplateSources sources;
    if (const auto error = mktemplate::readSources(arguments[0], sources)) {
        printError(error->text());
        return 1;
    }
    const QString failure = mktemplate::writeTemplate(sources, arguments[1]);
    if (!failure.isEmpty()) {
        printError(QStringLiteral("%1: %2").arg(arguments[1], failure));
        return 1;
    }
    return 0;
}
