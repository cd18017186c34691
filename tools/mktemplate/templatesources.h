#pragma once

#include <array>
#include <optional>

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace mktemplate {

// The eight products; each has its own column of tips in the template.
inline const std::array<QString, 8> ProgramCodes
    = { QStringLiteral("prlspa"), QStringLiteral("prlfre"), QStringLiteral("prlger"), QStringLiteral("prlita"),
          QStringLiteral("prleng"), QStringLiteral("prlfra"), QStringLiteral("prlale"), QStringLiteral("prlito") };

// The program addresses interface texts up to this number, so a template with fewer rows is unusable.
constexpr int MinimumCaptionRows = 149;

struct Caption
{
    QString english;
    QString spanish;
};

// A system message or a menu entry: the text in both interface languages and a page of the site.
struct LinkedText
{
    QString english;
    QString spanish;
    QString link;
};

struct TemplateSources
{
    QList<Caption> captions; // entry i holds interface text i + 1
    QList<LinkedText> systemMessages;
    QList<LinkedText> menu;
    QMap<QString, QStringList> tips; // by program code, all lists of one length
};

// Where a source is wrong: file (as opened), 1-based line (0 when the file as a whole is wrong) and why.
struct SourceError
{
    QString file;
    int line = 0;
    QString reason;

    QString text() const;
};

// Reads and checks every source in the folder; the first problem found is returned and nothing else is read.
std::optional<SourceError> readSources(const QString& folder, TemplateSources& sources);

// The file names the folder must hold, relative to it (so a build can depend on each of them).
QStringList sourceFileNames();

}
