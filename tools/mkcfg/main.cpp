// parlanta-mkcfg: makes an activity's settings file with its button pictures at build time.
#include <cstdio>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include "buttonpicture.h"
#include "platform/lessons/databasefile.h"

using namespace mkcfg;

namespace {

const char usage[]
    = "Usage: parlanta-mkcfg [--png DIR] ACTIVITIES.tsv PROGRAM OUTPUT.cfg\n"
      "Makes OUTPUT.cfg for the activity program PROGRAM listed in ACTIVITIES.tsv: table tblImages with\n"
      "the normal and the highlighted button picture in the columns bSpanish and bEnglish. With --png\n"
      "the four pictures are also written to DIR as PNG files to look at.\n";

int fail(const QString& message)
{
    std::fprintf(stderr, "parlanta-mkcfg: %s\n", message.toLocal8Bit().constData());
    return 1;
}

// Finds the row of the activity list for program; the list is tab-separated with a header naming its columns.
bool findActivity(const QString& path, const QString& program, Activity* activity, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    QStringList columns;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty() || lines[i].startsWith(u'#'))
            continue;
        const QStringList fields = lines[i].split(u'\t');
        if (columns.isEmpty()) {
            columns = fields;
            for (const char* needed : { "program", "emblem", "colour", "English", "Spanish" }) {
                if (!columns.contains(QLatin1String(needed))) {
                    *error = QStringLiteral("%1:%2: the header names no column %3")
                                 .arg(path)
                                 .arg(i + 1)
                                 .arg(QLatin1String(needed));
                    return false;
                }
            }
            continue;
        }
        auto field = [&](const char* name) { return fields.value(columns.indexOf(QLatin1String(name))).trimmed(); };
        if (field("program") != program)
            continue;
        activity->program = program;
        activity->emblem = field("emblem");
        activity->colour = QColor::fromString(field("colour"));
        activity->english = field("English");
        activity->spanish = field("Spanish");
        const QString where = QStringLiteral("%1:%2: ").arg(path).arg(i + 1);
        if (!emblemNames().contains(activity->emblem))
            *error = where
                + QStringLiteral("unknown emblem \"%1\" (known: %2)").arg(activity->emblem, emblemNames().join(u' '));
        else if (!activity->colour.isValid())
            *error = where + QStringLiteral("\"%1\" is not a colour").arg(field("colour"));
        else if (activity->english.isEmpty() || activity->spanish.isEmpty())
            *error = where + QStringLiteral("the English and the Spanish name are both needed");
        return error->isEmpty();
    }
    *error = QStringLiteral("%1: no activity %2").arg(path, program);
    return false;
}

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}

int main(int argc, char* argv[])
{
    // Pictures are drawn without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString pngDir;
    if (args.size() >= 2 && args[0] == QLatin1String("--png")) {
        pngDir = args[1];
        args = args.mid(2);
    }
    if (args.size() != 3) {
        std::fputs(usage, args.contains(QStringLiteral("--help")) ? stdout : stderr);
        return args.contains(QStringLiteral("--help")) ? 0 : 2;
    }
    Activity activity;
    QString error;
    if (!findActivity(args[0], args[1], &activity, &error))
        return fail(error);

    struct Picture
    {
        QString language;
        QImage image;
    };
    const QList<QByteArray> spanish
        = { png(paintButton(activity, activity.spanish, false)), png(paintButton(activity, activity.spanish, true)) };
    const QList<QByteArray> english
        = { png(paintButton(activity, activity.english, false)), png(paintButton(activity, activity.english, true)) };

    if (!pngDir.isEmpty()) {
        QDir().mkpath(pngDir);
        const char* looks[] = { "normal", "lit" };
        for (int i = 0; i < 2; ++i) {
            for (const auto& [language, bytes] : { std::pair { "en", english[i] }, std::pair { "es", spanish[i] } }) {
                QFile out(QDir(pngDir).filePath(
                    QStringLiteral("%1-%2-%3.png")
                        .arg(activity.program, QLatin1String(language), QLatin1String(looks[i]))));
                if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
                    return fail(QStringLiteral("%1: %2").arg(out.fileName(), out.errorString()));
            }
        }
    }

    const lessons::Outcome outcome = lessons::writeDatabaseFile(args[2], [&](const platform::Database& db) {
        db.executeScript(
            QStringLiteral("CREATE TABLE tblImages (bSpanish BLOB, bEnglish BLOB, tSpanish TEXT, tEnglish TEXT);"));
        // Table order is the contract: the normal picture first, the highlighted one second.
        for (int i = 0; i < 2; ++i)
            db.insertRow(QStringLiteral("tblImages"),
                { QStringLiteral("bSpanish"), QStringLiteral("bEnglish"), QStringLiteral("tSpanish"),
                    QStringLiteral("tEnglish") },
                { spanish[i], english[i], activity.spanish, activity.english });
    });
    if (!outcome.ok())
        return fail(outcome.errors.join(u'\n'));
    return 0;
}
