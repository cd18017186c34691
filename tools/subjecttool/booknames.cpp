#include "booknames.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace subjecttool {

namespace {

    // Letters are the precomposed ones: a name typed with combining accents would look the same in the tree but
    // sort and compare as another name.
    const QRegularExpression& nameRule(const QString& language)
    {
        static const QRegularExpression english(QStringLiteral("^(\\d\\d_)?[a-z]+(_[a-z]+)*$"));
        static const QRegularExpression spanish(QStringLiteral("^(\\d\\d_)?[a-záéíóúüñ]+(_[a-záéíóúüñ]+)*$"));
        return language == QLatin1String("es") ? spanish : english;
    }

    QString ruleText(const QString& language)
    {
        return language == QLatin1String("es")
            ? QStringLiteral("lower-case Spanish words (a-z, á é í ó ú ü ñ) joined by \"_\"")
            : QStringLiteral("lower-case English words (a-z) joined by \"_\"");
    }

    // Names Windows keeps for its devices, whatever the extension; a subject called so could not be copied there.
    bool reservedOnWindows(const QString& name)
    {
        static const QRegularExpression reserved(QStringLiteral("^(con|prn|aux|nul|com\\d|lpt\\d)$"));
        return reserved.match(name).hasMatch();
    }

    // The course number that puts a subject in its place in the tree's name order; empty for a subject outside the
    // course.
    QString courseNumber(const QString& name)
    {
        return !name.isEmpty() && name[0].isDigit() ? name.left(2) : QString();
    }
}

BookNames readBookNames(const QString& path)
{
    BookNames table;
    table.path = path;
    Outcome& outcome = table.outcome;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        outcome.errors << located(path, 0, QStringLiteral("cannot read the file: %1").arg(file.errorString()));
        return table;
    }
    const QStringList languages { QStringLiteral("en"), QStringLiteral("es") };
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    QStringList columns;
    QHash<QString, QSet<QString>> taken; // language -> names
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const QString& line = lines[i];
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'\t');
        if (columns.isEmpty()) {
            columns = fields;
            for (const QString& language : languages) {
                if (!columns.contains(language))
                    outcome.errors << located(
                        path, lineNo, QStringLiteral("the header names no column %1").arg(language));
            }
            if (!outcome.ok())
                return table;
            continue;
        }
        if (fields.size() != columns.size()) {
            outcome.errors << located(path, lineNo,
                QStringLiteral("%1 fields where the header has %2").arg(fields.size()).arg(columns.size()));
            continue;
        }
        QHash<QString, QString> row;
        for (const QString& language : languages) {
            const QString name = fields[columns.indexOf(language)];
            if (!nameRule(language).match(name).hasMatch()) {
                outcome.errors << located(
                    path, lineNo, QStringLiteral("\"%1\" is not %2").arg(name, ruleText(language)));
                continue;
            }
            if (reservedOnWindows(name)) {
                outcome.errors << located(path, lineNo, QStringLiteral("\"%1\" is a device name on Windows").arg(name));
                continue;
            }
            if (taken[language].contains(name))
                outcome.errors << located(path, lineNo, QStringLiteral("the %1 name %2 twice").arg(language, name));
            taken[language].insert(name);
            row.insert(language, name);
        }
        if (row.size() != languages.size())
            continue;
        if (courseNumber(row.value(QStringLiteral("en"))) != courseNumber(row.value(QStringLiteral("es")))) {
            outcome.errors << located(
                path, lineNo, QStringLiteral("the names do not start with the same course number"));
            continue;
        }
        table.names.insert(row.value(QStringLiteral("en")), row);
    }
    if (columns.isEmpty())
        outcome.errors << located(path, 0, QStringLiteral("no header line"));
    return table;
}

QString installedSubjectFile(const BookNames& table, const QString& bookStem, const ProductInfo& product)
{
    const QString name = table.names.value(bookStem).value(product.interfaceLanguage);
    return name.isEmpty() ? QString() : name + u'.' + product.extension;
}

}
