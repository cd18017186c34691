#include "gamefixture.h"

#include <QFile>
#include <QKeyEvent>
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

void createUserDatabase(const QString& path)
{
    const platform::Database db = platform::Database::openFile(path, true);
    db.executeScript(platform::users::schemaScript());
}

Launch::Launch()
{
    createUserDatabase(database());
    platform::installServices({ &dialogs, nullptr, nullptr, &sound, nullptr, nullptr, nullptr });
}

games::Exchange Launch::exchange(int phrases, games::Language language) const
{
    games::Exchange x;
    x.processId = 4321;
    x.programCode = language == games::Language::Spanish ? QStringLiteral("prlale") : QStringLiteral("prlger");
    x.productName = QStringLiteral("Parlanta German");
    x.interfaceLanguage = language == games::Language::Spanish ? QStringLiteral("Spanish") : QStringLiteral("English");
    x.taughtLanguage = QStringLiteral("German");
    x.student = QStringLiteral("Ana O'Brien \"Nana\"");
    x.subject = QStringLiteral("Greetings");
    x.usersDatabase = database();
    const QByteArray wave = platform::makeWave(QByteArray(1600, '\0'), 8000);
    for (int k = 1; k <= phrases; ++k) {
        const QString sound = path(QStringLiteral("~prl1%1.wav").arg(k));
        QFile f(sound);
        if (f.open(QIODevice::WriteOnly))
            f.write(wave);
        x.phrases.append({ QStringLiteral("Satz %1").arg(k), QStringLiteral("Sentence %1").arg(k),
            QStringLiteral("Frase %1").arg(k), sound });
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
    const platform::Database db = platform::Database::openFile(database());
    const platform::Recordset rs = db.query(
        QStringLiteral("SELECT tName, tSubject, tActivity, textScore, numberScore FROM tblscores ORDER BY pkScoreID"));
    QStringList out;
    for (int r = 0; r < rs.count(); ++r) {
        QStringList fields;
        for (int c = 0; c < rs.columnCount(); ++c)
            fields << (rs.value(r, c).isNull() ? QStringLiteral("<null>") : rs.text(r, c));
        out << fields.join(QLatin1Char('|'));
    }
    return out;
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
