#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

#include "common/session.h"
#include "common/templatetexts.h"

// Builders of the files a program folder holds, in a temporary folder of their own.
namespace fixtures {

struct TemplateOptions
{
    int captionRows = 180;
    QStringList languages { QStringLiteral("English"), QStringLiteral("Spanish") };
    QVector<int> nullCaptions; // caption numbers stored as NULL
    int systemMessages = 3;
    QVector<MenuLink> menu { { QStringLiteral("Menu A"), QStringLiteral("a.htm") },
        { QStringLiteral("Menu B"), QStringLiteral("b.htm") }, { QStringLiteral("Menu C"), QString() } };
    QStringList tipCodes { "prlspa", "prlfre", "prlger", "prlita", "prleng", "prlfra", "prlale", "prlito" };
    int tips = 4;
    int nullTipRow = 0; // 1-based row whose tips are NULL; 0 for none
};

// A template whose interface text k is "T" + k in every language.
void writeTemplate(const QString& path, const TemplateOptions& options = {});

// A program folder: the template, "Subjects" and "My Subjects" folders with the captions 10 and 11 of the
// numbered template ("T10", "T11"), and an Activities folder.
class ProgramFolder
{
public:
    explicit ProgramFolder(const TemplateOptions& options = {});
    QString path() const; // ends with the separator
    QString file(const QString& name) const { return path() + name; }
    bool isValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
};

// The product identity and the program folder, as the program starts with them.
Session programSession(const QString& folder, const QString& programCode = QStringLiteral("prlale"));
// Interface text k is "T" + k; the texts that name a file, folder or page end with " %1".
QStringList numberedCaptions(int rows = 260);
void loadNumberedCaptions(int rows = 260);

}
