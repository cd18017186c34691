#include "gamefixture.h"

#include <QAbstractButton>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#include "platform/database.h"
#include "platform/userschema.h"
#include "platform/wave.h"

namespace gametest {

LockHolder::LockHolder(const QString& path, int holdMs)
{
    m_thread = std::thread([this, path, holdMs] {
        const platform::Database db = platform::Database::openFile(path);
        db.executeScript(QStringLiteral("BEGIN IMMEDIATE"));
        m_held.store(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
        db.executeScript(QStringLiteral("ROLLBACK"));
    });
    while (!m_held.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

LockHolder::~LockHolder() { m_thread.join(); }

bool espeak(const QString& text, const QString& voice, const QString& path)
{
    return QProcess::execute(
               QStringLiteral("espeak-ng"), { QStringLiteral("-v"), voice, QStringLiteral("-w"), path, text })
        == 0;
}

void createUserDatabase(const QString& path)
{
    const platform::Database db = platform::Database::openFile(path, true);
    db.executeScript(platform::users::schemaScript());
}

Launch::Launch()
{
    createUserDatabase(database());
    platform::installServices({ &dialogs, nullptr, nullptr, &sound, nullptr, nullptr, &clock });
}

const QList<Product>& products()
{
    using games::Language;
    static const QList<Product> all {
        { "prlspa", "Parlanta Spanish", Language::English, "Spanish", "Oración", "/oɾaˈθjon" },
        { "prlfre", "Parlanta French", Language::English, "French", "Phrase", "Frase" },
        { "prlger", "Parlanta German", Language::English, "German", "Satz", "Frase" },
        { "prlita", "Parlanta Italian", Language::English, "Italian", "Periodo", "Frase" },
        { "prleng", "Parlanta Inglés", Language::Spanish, "English", "Sentence", "/ˈsɛntəns" },
        { "prlfra", "Parlanta Francés", Language::Spanish, "French", "Phrase", "Sentence" },
        { "prlale", "Parlanta Alemán", Language::Spanish, "German", "Satz", "Sentence" },
        { "prlito", "Parlanta Italiano", Language::Spanish, "Italian", "Periodo", "Sentence" },
    };
    return all;
}

const Product& productFor(games::Language language)
{
    return products().at(language == games::Language::Spanish ? 6 : 2);
}

games::Exchange Launch::exchange(int phrases, games::Language language) const
{
    return exchange(productFor(language), phrases);
}

games::Exchange Launch::exchange(const Product& product, int phrases) const
{
    const bool spanish = product.language == games::Language::Spanish;
    games::Exchange x;
    x.processId = 4321;
    x.programCode = product.code;
    x.productName = product.name;
    x.interfaceLanguage = spanish ? QStringLiteral("Spanish") : QStringLiteral("English");
    x.taughtLanguage = product.taught;
    x.student = QStringLiteral("Ana O'Brien \"Nana\"");
    x.subject = QStringLiteral("Greetings");
    x.usersDatabase = database();
    const QByteArray wave = platform::makeWave(QByteArray(1600, '\0'), 8000);
    for (int k = 1; k <= phrases; ++k) {
        const QString sound = path(QStringLiteral("~prl1%1.wav").arg(k));
        QFile f(sound);
        if (f.open(QIODevice::WriteOnly))
            f.write(wave);
        const QString translation = spanish ? QStringLiteral("Frase %1") : QStringLiteral("Sentence %1");
        const QString second = product.secondTranslationWord
            + (product.secondTranslationWord.startsWith('/') ? QStringLiteral(" %1/") : QStringLiteral(" %1"));
        x.phrases.append({ product.phraseWord + QStringLiteral(" %1").arg(k), translation.arg(k), second.arg(k), sound,
            QStringLiteral("greetings.ale#%1").arg(k) });
    }
    return x;
}

QString Launch::writeFile(const games::Exchange& exchange, const QString& name) const
{
    QString error;
    if (!platform::exchange::write(path(name), exchange, &error))
        qWarning("cannot write the exchange file: %s", qPrintable(error));
    return path(name);
}

games::GameContext Launch::context(const games::ActivityInfo& info, const games::Exchange& exchange) const
{
    games::Language language = games::Language::English;
    games::parseLanguage(exchange.interfaceLanguage, &language);
    return { info, exchange, language, path(QStringLiteral("~prl1.txt")) };
}

QStringList Launch::rows() const
{
    return tableRows(
        QStringLiteral("SELECT tName, tSubject, tActivity, textScore, numberScore FROM tblscores ORDER BY pkScoreID"));
}

QStringList Launch::phraseRows() const
{
    return tableRows(QStringLiteral("SELECT fkScoreID, tPhraseID, nRating, nAnswerMs FROM tblphraseresults "
                                    "ORDER BY fkScoreID, tPhraseID"));
}

QStringList Launch::tableRows(const QString& sql) const
{
    const platform::Database db = platform::Database::openFile(database());
    const platform::Recordset rs = db.query(sql);
    QStringList out;
    for (int r = 0; r < rs.count(); ++r) {
        QStringList fields;
        for (int c = 0; c < rs.columnCount(); ++c)
            fields << (rs.value(r, c).isNull() ? QStringLiteral("<null>") : rs.text(r, c));
        out << fields.join(QLatin1Char('|'));
    }
    return out;
}

bool waitForSave(const games::GameWindow& window)
{
    return QTest::qWaitFor([&] { return !window.saving(); }, 20000);
}

void showWindow(QWidget* window)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->setFocus();
}

void sendKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

void sendText(QWidget* window, const QString& text)
{
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClicks(target, text);
}

}

namespace gametest {

QStringList visibleTexts(const QWidget* window)
{
    QStringList out;
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        if (const auto* label = qobject_cast<const QLabel*>(w))
            out << label->text();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            out << button->text();
        else if (const auto* box = qobject_cast<const QLineEdit*>(w))
            out << box->text() << box->placeholderText();
    }
    out.removeAll(QString());
    return out;
}

void verifyNoSecondTranslation(const QWidget* window, const games::Exchange& exchange)
{
    const QString shown = visibleTexts(window).join(QLatin1Char('\n'));
    for (const games::Phrase& p : exchange.phrases)
        QVERIFY2(!shown.contains(p.tTranslation2), qPrintable(exchange.programCode + ": " + shown));
}

}
