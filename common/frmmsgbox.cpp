#include "frmmsgbox.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include "common/tilebackground.h"
#include "platform/services.h"

using platform::twips;

namespace {
QPointer<frmMsgBox> loaded;
constexpr int DesignWidth = 5880;
constexpr int OkTop = 2640;
}

frmMsgBox::frmMsgBox()
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    lblMsg = new QLabel(this);
    lblMsg->setGeometry(twips(240), twips(240), twips(DesignWidth - 480), twips(2200));
    lblMsg->setWordWrap(true);
    lblMsg->setAlignment(Qt::AlignCenter);
    QFont font = lblMsg->font();
    font.setPointSize(11);
    font.setBold(true);
    lblMsg->setFont(font);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setGeometry(twips(1920), twips(OkTop), twips(1890), twips(320));
    connect(btnOK, &QPushButton::clicked, this, &frmMsgBox::btnOK_Click);
    setFixedWidth(twips(DesignWidth));
    setHeightTwips(DesignHeight);
}

frmMsgBox* frmMsgBox::instance()
{
    if (!loaded)
        loaded = new frmMsgBox();
    return loaded;
}

bool frmMsgBox::isLoaded() { return loaded; }

frmMsgBox* frmMsgBox::showing() { return loaded && loaded->isVisible() ? loaded.data() : nullptr; }

void frmMsgBox::setHeightTwips(int height)
{
    setFixedHeight(twips(height));
    placeOK();
}

void frmMsgBox::setMessage(const QString& text) { lblMsg->setText(text); }

void frmMsgBox::setFontSize(int points)
{
    if (points <= 0)
        return;
    QFont font = lblMsg->font();
    font.setPointSize(points);
    lblMsg->setFont(font);
}

void frmMsgBox::placeOK()
{
    // OK lies below a window of the busy heights, so a busy notice cannot be closed by the user.
    btnOK->setVisible(height() > twips(OkTop));
    lblMsg->setFixedHeight(std::min(twips(2200), height() - twips(360)));
}

void frmMsgBox::Show_Notice(const QString& caption, const QString& text, int fontSize)
{
    frmMsgBox* box = instance();
    box->setWindowTitle(caption);
    box->setMessage(text);
    box->setFontSize(fontSize);
    box->setWindowModality(Qt::ApplicationModal);
    box->placeOverActiveWindow();
    box->show();
    box->btnOK->setFocus();
    box->raise();
    box->activateWindow();
    QEventLoop loop;
    connect(box, &frmMsgBox::unloading, &loop, &QEventLoop::quit);
    loop.exec();
}

void frmMsgBox::Show_Busy(const QString& caption, const QString& text, int heightTwips, int fontSize)
{
    frmMsgBox* box = instance();
    box->setWindowTitle(caption);
    box->setMessage(text);
    box->setFontSize(fontSize);
    box->setHeightTwips(heightTwips);
    box->placeOverActiveWindow();
    box->show();
    box->raise();
    box->repaint();
}

void frmMsgBox::Unload()
{
    if (loaded) {
        Q_EMIT loaded->unloading();
        delete loaded.data();
    }
}

void frmMsgBox::placeOverActiveWindow()
{
    // Without a window manager a new window would sit in the screen's corner, away from the student's eyes.
    const QWidget* over = QApplication::activeWindow();
    const QRect area
        = over && over != this ? over->frameGeometry() : (screen() ? screen()->availableGeometry() : QRect());
    if (area.isValid())
        move(area.center() - QPoint(width() / 2, height() / 2));
}

void frmMsgBox::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (btnOK->isVisible() && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
        btnOK->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmMsgBox::closeEvent(QCloseEvent* event)
{
    // The next use gets a fresh window with the design values, even before the deferred delete ran.
    if (loaded == this)
        loaded = nullptr;
    Q_EMIT unloading();
    QWidget::closeEvent(event);
}

void frmMsgBox::btnOK_Click() { close(); }

void frmMsgBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, *this, Background_Picture());
}

void frmMsgBox::resizeEvent(QResizeEvent*) { update(); }
