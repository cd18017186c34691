#include <QtTest>

#include "common/captions.h"
#include "common/templatetexts.h"
#include "tests/support/fakes.h"
#include "tests/support/fixtures.h"

class TestTemplateTexts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void captionsRunFromZeroToOnePastTheLastRow()
    {
        fakes::Environment env;
        fixtures::TemplateOptions options;
        options.captionRows = 149;
        options.nullCaptions = { 5 };
        fixtures::ProgramFolder program(options);
        const Session session = fixtures::programSession(program.path());
        QString error;
        QVERIFY(Get_Captions(session, &error));
        QCOMPARE(Caption(0), QString());
        QCOMPARE(Caption(1), QStringLiteral("T1"));
        QCOMPARE(Caption(149), QStringLiteral("T149"));
        QCOMPARE(Caption(150), QString());
        QCOMPARE(Caption(5), QString());
        // Out of range reads as empty rather than failing.
        QCOMPARE(Caption(151), QString());
    }

    void captionsFailWithoutTemplateOrLanguageColumn()
    {
        fakes::Environment env;
        fixtures::TemplateOptions options;
        options.languages = { QStringLiteral("English") };
        fixtures::ProgramFolder program(options);
        const Session session = fixtures::programSession(program.path()); // prlale reads the Spanish column
        Set_Captions({});
        QString error;
        QVERIFY(!Get_Captions(session, &error));
        QVERIFY(error.contains("Spanish"));
        QVERIFY(Caption(1).isEmpty());

        QFile::remove(program.file("Parlanta.tpl"));
        QVERIFY(!Get_Captions(session, &error));
        QVERIFY(error.contains("Parlanta.tpl"));
    }

    void systemMessagesAreNumberedInTheStatusLog()
    {
        fakes::Environment env;
        fixtures::TemplateOptions options;
        options.systemMessages = 12;
        fixtures::ProgramFolder program(options);
        const Session session = fixtures::programSession(program.path());
        QVERIFY(Get_Captions(session, nullptr));
        fakes::StatusLogLines log;
        SystemMessages messages;
        Get_System_Messages(session, messages);
        QCOMPARE(messages.count, 12);
        QCOMPARE(messages.texts.size(), 13);
        QCOMPARE(messages.texts[12], QStringLiteral("M12"));
        QCOMPARE(messages.links[1], QStringLiteral("msg1.htm"));
        QCOMPARE(messages.links[2], QString()); // NULL link: the message is not clickable
        // Newest first: the last message's line sits under the last "read" line.
        QCOMPARE(log.lines[0], QStringLiteral("T8"));
        QCOMPARE(log.lines[1], QStringLiteral("T23 MSG #0012"));
        QCOMPARE(log.lines[23], QStringLiteral("T23 MSG #001"));
    }

    void tipsNeedTheirColumnAndNoNulls()
    {
        fakes::Environment env;
        fixtures::TemplateOptions options;
        options.tips = 5;
        options.nullTipRow = 4;
        fixtures::ProgramFolder program(options);
        const Session session = fixtures::programSession(program.path());
        QVERIFY(Get_Captions(session, nullptr));
        QStringList tips;
        Get_Tips(session, tips);
        QCOMPARE(tips, QStringList({ QString(), "Tip 1", "Tip 2", "Tip 3" }));
        QCOMPARE(env.dialogs.shown.size(), 1);
        QVERIFY(env.dialogs.shown[0].text.startsWith("T149\r\n\r\nGet_Tips: "));

        fixtures::TemplateOptions noColumn;
        noColumn.tipCodes = { QStringLiteral("prlspa") };
        fixtures::ProgramFolder other(noColumn);
        const Session otherSession = fixtures::programSession(other.path());
        QVERIFY(Get_Captions(otherSession, nullptr));
        Get_Tips(otherSession, tips);
        QCOMPARE(tips.size(), 1);
        QCOMPARE(env.dialogs.shown.size(), 2);
        QVERIFY(env.dialogs.shown[1].text.contains("Get_Tips: "));
    }

    void nullMenuTextStopsTheReader()
    {
        fakes::Environment env;
        fixtures::TemplateOptions options;
        options.menu = { { "A", "a.htm" }, { QString(), "b.htm" }, { "C", "c.htm" } };
        fixtures::ProgramFolder program(options);
        const Session session = fixtures::programSession(program.path());
        QVERIFY(Get_Captions(session, nullptr));
        const auto links = Read_Menu_Links(session);
        QCOMPARE(links.size(), 1);
        QCOMPARE(env.dialogs.shown.size(), 1);
        QVERIFY(env.dialogs.shown[0].text.contains("Get_Menu_Links: "));
    }
};

QTEST_MAIN(TestTemplateTexts)
#include "tst_templatetexts.moc"
