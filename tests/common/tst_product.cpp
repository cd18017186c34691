#include <QtTest>

#include "common/product.h"
#include "common/session.h"

class TestProduct : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tableHoldsEightProducts_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("taught");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("logo");
        QTest::newRow("prlspa") << "prlspa"
                                << "Parlanta Spanish"
                                << "English"
                                << "Spanish"
                                << "spa" << 1;
        QTest::newRow("prlfre") << "prlfre"
                                << "Parlanta French"
                                << "English"
                                << "French"
                                << "fre" << 2;
        QTest::newRow("prlger") << "prlger"
                                << "Parlanta German"
                                << "English"
                                << "German"
                                << "ger" << 3;
        QTest::newRow("prlita") << "prlita"
                                << "Parlanta Italian"
                                << "English"
                                << "Italian"
                                << "ita" << 4;
        QTest::newRow("prleng") << "prleng" << QStringLiteral("Parlanta Inglés") << "Spanish"
                                << "English"
                                << "eng" << 5;
        QTest::newRow("prlfra") << "prlfra" << QStringLiteral("Parlanta Francés") << "Spanish"
                                << "French"
                                << "fra" << 6;
        QTest::newRow("prlale") << "prlale" << QStringLiteral("Parlanta Alemán") << "Spanish"
                                << "German"
                                << "ale" << 7;
        QTest::newRow("prlito") << "prlito"
                                << "Parlanta Italiano"
                                << "Spanish"
                                << "Italian"
                                << "ito" << 8;
    }

    void tableHoldsEightProducts()
    {
        QFETCH(QString, code);
        Session session;
        QVERIFY(Set_Product(session, code));
        QTEST(session.ProductName, "name");
        QTEST(session.InterfaceLanguage, "interface");
        QTEST(session.TaughtLanguage, "taught");
        QTEST(session.SubjectExtension, "extension");
        QTEST(Find_Product(code)->logoImage, "logo");
        // The language shown on the start-up window starts at the tenth character.
        QFETCH(QString, name);
        QCOMPARE(Product_Language_Part(name), name.mid(9));
        QCOMPARE(name.left(9), QStringLiteral("Parlanta "));
        QFETCH(QString, interface);
        QCOMPARE(Is_Spanish_Interface(code), interface == QLatin1String("Spanish"));
    }

    void unknownCodeLeavesIdentityEmpty()
    {
        Session session;
        QVERIFY(!Set_Product(session, QStringLiteral("prlxxx")));
        QCOMPARE(session.ProgramCode, QStringLiteral("prlxxx"));
        QVERIFY(session.ProductName.isEmpty());
        QVERIFY(session.SubjectExtension.isEmpty());
        int count = 0;
        Product_Table(&count);
        QCOMPARE(count, 8);
    }

    void languagePartOfAleman()
    {
        QCOMPARE(Product_Language_Part(QStringLiteral("Parlanta Alemán")), QStringLiteral("Alemán"));
    }
};

QTEST_GUILESS_MAIN(TestProduct)
#include "tst_product.moc"
