#include "fixtures.h"

#include <QDir>
#include <QFile>

#include "common/apppath.h"
#include "common/captions.h"
#include "common/product.h"
#include "platform/database.h"
#include "platform/userschema.h"

using platform::Database;

namespace fixtures {

void writeTemplate(const QString& path, const TemplateOptions& o)
{
    QFile::remove(path);
    const Database db = Database::openFile(path, true);
    QStringList columns;
    for (const QString& l : o.languages)
        columns << l + QStringLiteral(" TEXT");
    db.executeScript(
        QStringLiteral("CREATE TABLE tblCaptions (nNumber INTEGER PRIMARY KEY, %1);").arg(columns.join(',')));
    QStringList marks;
    for (int i = 0; i < o.languages.size(); ++i)
        marks << QStringLiteral("?");
    for (int k = 1; k <= o.captionRows; ++k) {
        QVariantList values { k };
        for (int i = 0; i < o.languages.size(); ++i)
            values << (o.nullCaptions.contains(k) ? QVariant() : QVariant(QStringLiteral("T%1").arg(k)));
        db.execute(QStringLiteral("INSERT INTO tblCaptions VALUES (?,%1)").arg(marks.join(',')), values);
    }
    db.executeScript(QStringLiteral("CREATE TABLE tblSystemMessages (nNumber INTEGER PRIMARY KEY, %1, link TEXT);")
                         .arg(columns.join(',')));
    for (int m = 1; m <= o.systemMessages; ++m) {
        QVariantList values { m };
        for (int i = 0; i < o.languages.size(); ++i)
            values << QStringLiteral("M%1").arg(m);
        values << (m % 2 ? QVariant(QStringLiteral("msg%1.htm").arg(m)) : QVariant());
        db.execute(QStringLiteral("INSERT INTO tblSystemMessages VALUES (?,%1,?)").arg(marks.join(',')), values);
    }
    db.executeScript(
        QStringLiteral("CREATE TABLE tblMenu (nNumber INTEGER PRIMARY KEY, %1, link TEXT);").arg(columns.join(',')));
    for (int m = 0; m < o.menu.size(); ++m) {
        QVariantList values { m + 1 };
        for (int i = 0; i < o.languages.size(); ++i)
            values << (o.menu[m].text.isNull() ? QVariant() : QVariant(o.menu[m].text));
        values << o.menu[m].link;
        db.execute(QStringLiteral("INSERT INTO tblMenu VALUES (?,%1,?)").arg(marks.join(',')), values);
    }
    QStringList tipColumns;
    for (const QString& c : o.tipCodes)
        tipColumns << c + QStringLiteral(" TEXT");
    db.executeScript(QStringLiteral("CREATE TABLE tblTips (nNumber INTEGER PRIMARY KEY%1%2);")
                         .arg(tipColumns.isEmpty() ? QString() : QStringLiteral(","), tipColumns.join(',')));
    for (int t = 1; t <= o.tips; ++t) {
        QVariantList values { t };
        QStringList tipMarks;
        for (int i = 0; i < o.tipCodes.size(); ++i) {
            values << (t == o.nullTipRow ? QVariant() : QVariant(QStringLiteral("Tip %1").arg(t)));
            tipMarks << QStringLiteral(",?");
        }
        db.execute(QStringLiteral("INSERT INTO tblTips VALUES (?%1)").arg(tipMarks.join(QString())), values);
    }
    db.executeScript(platform::users::schemaScript());
}

ProgramFolder::ProgramFolder(const TemplateOptions& options)
{
    writeTemplate(file(QStringLiteral("Parlanta.tpl")), options);
    QDir root(m_dir.path());
    root.mkdir(QStringLiteral("T10"));
    root.mkdir(QStringLiteral("T11"));
    root.mkdir(QStringLiteral("Activities"));
}

QString ProgramFolder::path() const { return QDir::toNativeSeparators(m_dir.path()) + QDir::separator(); }

Session programSession(const QString& folder, const QString& programCode)
{
    Session session;
    Set_Product(session, programCode);
    session.ProgramDir = With_Separator(folder);
    return session;
}

QStringList numberedCaptions(int rows)
{
    QStringList captions { QString() };
    for (int k = 1; k <= rows; ++k)
        captions << QStringLiteral("T%1").arg(k);
    // The texts that name a file, folder or page keep a place for it, so a test sees which one they name.
    for (int k : { 167, 168, 169, 184, 185, 186, 187, 188, 189, 190, 191, 194, 202 }) {
        if (k <= rows)
            captions[k] += QStringLiteral(" %1");
    }
    captions << QString();
    return captions;
}

void loadNumberedCaptions(int rows) { Set_Captions(numberedCaptions(rows)); }
}
