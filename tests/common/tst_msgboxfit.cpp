#include <QFontMetrics>
#include <QtTest>

#include "common/frmmsgbox.h"
#include "platform/services.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"

using platform::twips;

namespace {
QFont boldFont(int points)
{
    QFont font;
    font.setPointSize(points);
    font.setBold(true);
    return font;
}

QString sentences(int count)
{
    QStringList words;
    for (int i = 0; i < count; ++i)
        words << QStringLiteral("The student database could not be opened, so nothing was saved.");
    return words.join(u' ');
}

// The fewest sentences, plus extra, that no longer fit into area at points: the fonts of the machine decide.
QString tooLongFor(const QSize& area, int points, int extra = 0)
{
    int count = 1;
    while (Message_Text_Height(sentences(count), boldFont(points), area.width()) <= area.height())
        ++count;
    return sentences(count + extra);
}
}

class TestMsgBoxFit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { fixtures::loadNumberedCaptions(); }

    void cleanup() { frmMsgBox::Unload(); }

    void textHeightGrowsWithLinesAndBreaks()
    {
        const QFont font = boldFont(11);
        const int line = Message_Text_Height(QStringLiteral("Loading"), font, 300);
        QVERIFY(line >= QFontMetrics(font).height() - 1);
        // Line heights need not be whole pixels; the total is rounded up once.
        QVERIFY(qAbs(Message_Text_Height(QStringLiteral("Loading\r\n\r\nla_hora_y_los_días.ale"), font, 300) - 3 * line)
            <= 2);
        QVERIFY(qAbs(Message_Text_Height(QStringLiteral("One\nTwo"), font, 300) - 2 * line) <= 1);
        // Words move to the next line instead of running past the edge.
        QVERIFY(Message_Text_Height(sentences(1), font, 150) >= 3 * line);
    }

    void aWordWiderThanTheLineIsBrokenInside()
    {
        const QFont font = boldFont(11);
        const QString path = QStringLiteral("/home/somebody/.local/share/Parlanta/Users.dat.with.a.long.name");
        const int line = Message_Text_Height(QStringLiteral("x"), font, 120);
        const int lines = Message_Text_Height(path, font, 120) / line;
        // As many lines as the word's width needs, not the one line that would be cut off at the edge.
        QVERIFY2(lines >= QFontMetrics(font).horizontalAdvance(path) / 120, qPrintable(QString::number(lines)));
    }

    void fittingFontKeepsTheAskedSizeWhenThereIsRoom()
    {
        const QSize area(360, 146);
        QCOMPARE(Fitting_Font_Size(QStringLiteral("Wrong password. Please try again."), boldFont(11), area), 11);
        QCOMPARE(Fitting_Font_Size(QStringLiteral("One"), boldFont(22), area), 22);
        QCOMPARE(Fitting_Font_Size(QString(), boldFont(11), area), 11);
    }

    void fittingFontIsTheLargestThatFits_data()
    {
        QTest::addColumn<int>("extra");
        QTest::newRow("just too long") << 0;
        QTest::newRow("much too long") << 3;
    }

    void fittingFontIsTheLargestThatFits()
    {
        QFETCH(int, extra);
        const QSize area(360, 146);
        const QString text = tooLongFor(area, 11, extra);
        const int points = Fitting_Font_Size(text, boldFont(11), area);
        QVERIFY(points < 11);
        QVERIFY(points >= MinimumMessagePoints);
        QVERIFY(Message_Text_Height(text, boldFont(points), area.width()) <= area.height());
        QVERIFY(Message_Text_Height(text, boldFont(points + 1), area.width()) > area.height());
    }

    void aTextTooLongForAnySizeGetsTheSmallest()
    {
        QCOMPARE(Fitting_Font_Size(sentences(40), boldFont(11), QSize(360, 146)), MinimumMessagePoints);
    }

    // The window itself: a long failure text is shown whole above OK, which keeps its place.
    void aLongNoticeShrinksItsFontAndKeepsOK()
    {
        fakes::Environment env;
        frmMsgBox* box = frmMsgBox::instance();
        const QString text = tooLongFor(box->lblMsg->size(), 11);
        frmMsgBox::Show_Busy(QStringLiteral("Caption"), text, frmMsgBox::DesignHeight);
        QCOMPARE(frmMsgBox::showing(), box);
        QCOMPARE(box->lblMsg->text(), text);
        const int points = box->lblMsg->font().pointSize();
        QVERIFY(points < 11);
        QVERIFY(Message_Text_Height(text, box->lblMsg->font(), box->lblMsg->width()) <= box->lblMsg->height());
        QVERIFY(box->btnOK->isVisible());
        QCOMPARE(box->btnOK->geometry(), QRect(twips(1920), twips(2640), twips(1890), twips(320)));
        QVERIFY(box->lblMsg->geometry().bottom() < box->btnOK->geometry().top());
        QVERIFY(box->rect().contains(box->lblMsg->geometry()));

        // A short message in the same window goes back to the size asked for.
        box->setMessage(QStringLiteral("Done"));
        QCOMPARE(box->lblMsg->font().pointSize(), 11);
        box->setMessage(text);
        frmMsgBox::Unload();
        QCOMPARE(frmMsgBox::instance()->lblMsg->font().pointSize(), 11);
    }

    void aBusyNoticeFitsItsTextIntoItsHeight_data()
    {
        QTest::addColumn<int>("height");
        QTest::newRow("listening") << 1500;
        QTest::newRow("editor") << 1800;
        QTest::newRow("online") << 2000;
    }

    void aBusyNoticeFitsItsTextIntoItsHeight()
    {
        QFETCH(int, height);
        fakes::Environment env;
        const QString text = sentences(2);
        frmMsgBox::Show_Busy(QStringLiteral("Caption"), text, height, 10);
        frmMsgBox* box = frmMsgBox::showing();
        QVERIFY(box);
        QVERIFY(!box->btnOK->isVisible());
        QVERIFY(box->rect().contains(box->lblMsg->geometry()));
        QVERIFY(box->lblMsg->font().pointSize() <= 10);
        QVERIFY(Message_Text_Height(text, box->lblMsg->font(), box->lblMsg->width()) <= box->lblMsg->height());
    }
};

QTEST_MAIN(TestMsgBoxFit)
#include "tst_msgboxfit.moc"
