#include <QtTest>

#include <QLibraryInfo>

#include "platform/translations.h"

// The toolkit's own texts: the standard buttons of every question box.
class TestTranslations : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void spanishInterfaceGetsTheToolkitsSpanishButtons()
    {
        const QString yes = QCoreApplication::translate("QPlatformTheme", "&Yes");
        QCOMPARE(yes, QStringLiteral("&Yes"));
        QVERIFY(platform::installToolkitTranslations(*QCoreApplication::instance(), QStringLiteral("en")));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), yes);

        QVERIFY2(platform::installToolkitTranslations(*QCoreApplication::instance(), QStringLiteral("es")),
            qPrintable(QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Sí"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&No"));
        // The text boxes' context menu.
        QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "&Copy"), QStringLiteral("&Copiar"));
    }

    void aLanguageWithoutCatalogueIsRefused()
    {
        QVERIFY(!platform::installToolkitTranslations(*QCoreApplication::instance(), QStringLiteral("xx")));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
