#include "gamestyle.h"

#include <QApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QWidget>

namespace games {

QString gameStyleSheet(const QColor& accent)
{
    const QString a = accent.name();
    const QString dark = accent.darker(130).name();
    const QString light = accent.lighter(115).name();
    const QString pale = QColor::fromHsv(accent.hsvHue(), 28, 250).name();
    QString css = QStringLiteral(R"(
QWidget#GameWindow { background: #f3f5f9; }
QFrame#Header { background: @a; }
QLabel#HeaderTitle { color: white; font-size: 22pt; font-weight: bold; }
QLabel#HeaderSubject { color: white; font-size: 14pt; font-weight: bold; }
QLabel#HeaderStudent { color: #eef2f8; font-size: 11pt; }
QFrame#Footer { background: #e6eaf1; border-top: 1px solid #d5dbe5; }
QLabel#Keys { color: #4f596b; font-size: 10pt; }
QFrame[role="card"] { background: white; border: 1px solid #d7dce6; border-radius: 16px; }
QFrame[role="panel"] { background: @pale; border: none; border-radius: 12px; }
QLabel { color: #1d2433; }
QLabel[role="phrase"] { font-size: 26pt; font-weight: bold; color: #1d2433; }
QLabel[role="reading"] { font-size: 21pt; font-weight: bold; color: #1d2433; }
QLabel[role="translation"] { font-size: 21pt; color: @dark; }
QLabel[role="hidden"] { font-size: 21pt; color: #a3abb9; }
QLabel[role="secondary"] { font-size: 13pt; color: #5b6475; }
QLabel[role="progress"] { font-size: 12pt; font-weight: bold; color: #5b6475; }
QLabel[role="caption"] { font-size: 11pt; font-weight: bold; color: #7a8394; }
QLabel[role="good"] { font-size: 16pt; font-weight: bold; color: #23854b; }
QLabel[role="bad"] { font-size: 16pt; font-weight: bold; color: #c0392b; }
QLabel#ResultTitle { font-size: 24pt; font-weight: bold; color: #1d2433; }
QLabel#ResultScore { font-size: 60pt; font-weight: bold; color: @a; }
QLabel#ResultDetail { font-size: 15pt; color: #3b4456; }
QLabel#SaveNote { font-size: 12pt; color: #5b6475; }
QLabel#SaveNote[state="ok"] { color: #23854b; }
QLabel#SaveNote[state="bad"] { color: #c0392b; font-weight: bold; }
QPushButton { background: @a; color: white; border: none; border-radius: 10px; padding: 10px 26px;
    font-size: 14pt; font-weight: bold; min-height: 30px; }
QPushButton:hover { background: @light; }
QPushButton:pressed { background: @dark; }
QPushButton:disabled { background: #c8cdd6; color: #f3f5f9; }
QPushButton[kind="secondary"] { background: white; color: @dark; border: 2px solid @a; }
QPushButton[kind="secondary"]:hover { background: @pale; }
QPushButton[kind="secondary"]:disabled { background: white; color: #a3abb9; border-color: #d7dce6; }
QPushButton[kind="good"] { background: #2e9d5b; }
QPushButton[kind="good"]:hover { background: #38b26a; }
QPushButton[kind="bad"] { background: #d0543f; }
QPushButton[kind="bad"]:hover { background: #e0654f; }
QPushButton[kind="good"]:disabled, QPushButton[kind="bad"]:disabled { background: #c8cdd6; color: #f3f5f9; }
QPushButton[kind="option"] { background: white; color: #1d2433; border: 2px solid #cfd5df; text-align: left;
    padding: 10px 20px; font-size: 16pt; font-weight: normal; }
QPushButton[kind="option"]:hover { border-color: @a; background: @pale; }
QPushButton[kind="option"][state="right"] { background: #dff3e6; border-color: #2e9d5b; color: #1b6b3c;
    font-weight: bold; }
QPushButton[kind="option"][state="wrong"] { background: #fbe3df; border-color: #d0543f; color: #9b2f1f; }
QPushButton[kind="option"]:disabled { color: #1d2433; }
QPushButton[kind="letter"] { background: white; color: #1d2433; border: 2px solid #cfd5df; border-radius: 8px;
    padding: 2px 0px; min-width: 40px; max-width: 40px; min-height: 0px; font-size: 15pt; font-weight: normal; }
QPushButton[kind="letter"]:hover { border-color: @a; background: @pale; }
QPushButton[kind="letter"]:pressed { border-color: @dark; background: @pale; }
QLineEdit { font-size: 20pt; padding: 8px 14px; border: 2px solid #c9cfd9; border-radius: 10px; background: white;
    color: #1d2433; }
QLineEdit:focus { border-color: @a; }
QLineEdit:read-only { background: #f3f5f9; }
QPushButton[kind="card"] { border-radius: 12px; padding: 6px; min-height: 40px; background: @a; border: 3px solid @a; }
QPushButton[kind="card"]:hover { background: @light; }
QPushButton[kind="card"][state="phrase"] { background: white; border-color: @a; }
QPushButton[kind="card"][state="translation"] { background: @pale; border-color: @pale; }
QPushButton[kind="card"][state="miss"] { background: #fbe3df; border-color: #d0543f; }
QPushButton[kind="card"][state="matched"] { background: #e3f4e9; border-color: #b5e0c4; }
QPushButton[kind="card"][current="true"] { border: 4px solid #1d2433; }
QLabel[role="cardback"] { color: white; }
QLabel[role="cardphrase"] { color: #1d2433; }
QLabel[role="cardtranslation"] { color: @dark; }
QLabel[role="cardmatched"] { color: #1b6b3c; }
QDialogButtonBox { dialogbuttonbox-buttons-have-icons: 0; }
QMessageBox QLabel { font-size: 12pt; }
QMessageBox QPushButton { font-size: 12pt; padding: 6px 20px; min-width: 70px; }
)");
    return css.replace(QLatin1String("@pale"), pale)
        .replace(QLatin1String("@light"), light)
        .replace(QLatin1String("@dark"), dark)
        .replace(QLatin1String("@a"), a);
}

void applyGameStyle(QApplication& app, const QColor& accent)
{
    QFont font = app.font();
    font.setPointSize(12);
    app.setFont(font);
    app.setStyleSheet(gameStyleSheet(accent));
}

namespace {
    void setProperty(QWidget* widget, const char* name, const char* value)
    {
        widget->setProperty(name, QString::fromLatin1(value));
        // A property the style sheet selects on is read when the widget is polished, so polish it again.
        widget->style()->unpolish(widget);
        widget->style()->polish(widget);
    }
}

void setRole(QWidget* widget, const char* role) { setProperty(widget, "role", role); }

void setKind(QWidget* widget, const char* kind) { setProperty(widget, "kind", kind); }

void setState(QWidget* widget, const char* state) { setProperty(widget, "state", state); }

}

namespace games {

void addProgressRow(QBoxLayout* column, QLabel** left, QLabel** right)
{
    auto* row = new QHBoxLayout;
    *left = new QLabel;
    setRole(*left, "progress");
    *right = new QLabel;
    setRole(*right, "progress");
    row->addWidget(*left);
    row->addStretch(1);
    row->addWidget(*right);
    column->addLayout(row);
}

}
