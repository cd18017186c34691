#include <QtTest>

#include "students/logingrid.h"

namespace {
const QChar Ellipsis(0x2026);

QFont listFont()
{
    QFont font = QApplication::font();
    font.setPointSize(12);
    return font;
}

QFont bold(QFont font)
{
    font.setBold(true);
    return font;
}
}

class TestLoginGrid : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyNameFitsInTwoLinesInBold()
    {
        const QStringList names { "Ana Castellanos", "Guillermina Estefaní Villaseñor Cárdenas",
            "Maximiliano Fernández-Castellano", "Bartholomew Featherstonehaugh", "Wolfeschlegelsteinha Ruiz",
            "María José Ñúñez Ávila", "Li Wu" };
        const LoginGrid grid = Login_Grid(listFont(), names);
        for (const QString& name : names) {
            for (const QFont& font : { listFont(), bold(listFont()) }) {
                const QStringList lines = Name_Lines(font, name, grid.textWidth, grid.textLines);
                QVERIFY2(lines.size() <= grid.textLines, qPrintable(name));
                QVERIFY2(!lines.join(QString()).contains(Ellipsis), qPrintable(lines.join('|')));
                // Every letter is drawn; only the breaks between the lines are gone.
                QCOMPARE(lines.join(QString()).remove(' '), QString(name).remove(' '));
                const QFontMetrics metrics(font);
                for (const QString& line : lines)
                    QVERIFY2(metrics.horizontalAdvance(line) <= grid.textWidth, qPrintable(line));
            }
        }
        // The cell has room for the face and both lines.
        const QFontMetrics metrics(bold(listFont()));
        QVERIFY(grid.cell.height() >= 96 + grid.textLines * metrics.lineSpacing());
        QVERIFY(grid.cell.width() > grid.textWidth);
    }

    void theGridGrowsOnlyForNamesThatNeedIt()
    {
        const QSize design = Login_Grid(listFont(), {}).cell;
        QVERIFY(design.width() >= 150 && design.height() >= 150);
        QCOMPARE(Login_Grid(listFont(), { "Li Wu", "Ana Ruiz" }).cell, design);
        const LoginGrid wide = Login_Grid(listFont(), { "Li Wu", "Guillermina Estefaní Villaseñor Cárdenas" });
        QVERIFY(wide.cell.width() > design.width());
        QCOMPARE(wide.cell.height(), design.height());
        // A name that no screen could take in two lines is cut, and the grid stays usable.
        const QString endless(60, QLatin1Char('m'));
        const LoginGrid capped = Login_Grid(listFont(), { endless });
        QVERIFY(capped.cell.width() < 400);
        const QStringList lines = Name_Lines(bold(listFont()), endless, capped.textWidth, capped.textLines);
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].endsWith(Ellipsis));
        QVERIFY(QFontMetrics(bold(listFont())).horizontalAdvance(lines[0]) <= capped.textWidth);
    }

    void aNameLongerThanTwoLinesIsCutOnTheSecond()
    {
        const QFont font = bold(listFont());
        const int width = QFontMetrics(font).horizontalAdvance("Guillermina Estefaní");
        const QStringList lines = Name_Lines(font, "Ana María de los Ángeles Villaseñor Cárdenas", width, 2);
        QCOMPARE(lines.size(), 2);
        QVERIFY(!lines[0].contains(Ellipsis));
        QVERIFY(lines[1].endsWith(Ellipsis));
        QVERIFY(QFontMetrics(font).horizontalAdvance(lines[1]) <= width);
    }
};

QTEST_MAIN(TestLoginGrid)
#include "tst_logingrid.moc"
