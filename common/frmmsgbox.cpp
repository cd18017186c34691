#include "frmmsgbox.h"

#include <algorithm>

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTextLayout>
#include <QtMath>

#include "common/tilebackground.h"
#include "platform/services.h"

using platform::twips;

namespace {
QPointer<frmMsgBox> loaded;
constexpr int DesignWidth = 5880;
constexpr int OkTop = 2640;
constexpr int DesignFontSize = 11;

QString withLineSeparators(QString text)
{
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    text.replace(QLatin1Char('\r'), QChar::LineSeparator);
    return text;
}

// Lines of width, centred; returns the height they take.
qreal layOutLines(QTextLayout& layout, qreal width)
{
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
}

// Draws its text the way Message_Text_Height measures it, so a text that was made to fit is shown whole; a
// plain label would run a long path or address past its right edge.
class MessageLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        const QRect area = contentsRect();
        QTextLayout layout(withLineSeparators(text()), font(), this);
        const qreal height = layOutLines(layout, area.width());
        // Centred; a text that is too long even at the smallest size shows its beginning.
        layout.draw(&painter, QPointF(area.left(), area.top() + std::max<qreal>(0, (area.height() - height) / 2)));
    }
};
}

int Message_Text_Height(const QString& text, const QFont& font, int width)
{
    QTextLayout layout(withLineSeparators(text), font);
    return qCeil(layOutLines(layout, width));
}

int Fitting_Font_Size(const QString& text, QFont font, const QSize& area)
{
    for (int points = font.pointSize(); points > MinimumMessagePoints; --points) {
        font.setPointSize(points);
        if (Message_Text_Height(text, font, area.width()) <= area.height())
            return points;
    }
    return MinimumMessagePoints;
}

frmMsgBox::frmMsgBox()
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_fontSize(DesignFontSize)
{
    setAttribute(Qt::WA_DeleteOnClose);
    lblMsg = new MessageLabel(this);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    lblMsg->setGeometry(twips(240), twips(240), twips(DesignWidth - 480), twips(2200));
    lblMsg->setWordWrap(true);
    lblMsg->setAlignment(Qt::AlignCenter);
    QFont font = lblMsg->font();
    font.setPointSize(DesignFontSize);
    font.setBold(true);
    lblMsg->setFont(font);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
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

void frmMsgBox::setMessage(const QString& text)
{
    // The window holds a few lines. A text of megabytes (a phrase of a damaged subject file) would take minutes
    // to lay out at every font size tried, so only as much as could ever show is given to the label.
    constexpr int MaxShownCharacters = 4000;
    lblMsg->setText(text.size() > MaxShownCharacters ? text.left(MaxShownCharacters) + QChar(0x2026) : text);
    fitMessage();
}

void frmMsgBox::setFontSize(int points)
{
    if (points <= 0)
        return;
    m_fontSize = points;
    fitMessage();
}

void frmMsgBox::placeOK()
{
    // OK lies below a window of the busy heights, so a busy notice cannot be closed by the user.
    btnOK->setVisible(height() > twips(OkTop));
    lblMsg->setFixedHeight(std::min(twips(2200), height() - twips(360)));
    fitMessage();
}

void frmMsgBox::fitMessage()
{
    // The window's size is fixed by the protocols (OK's place, the busy heights), so a long message gets a
    // smaller font instead of a bigger window.
    QFont font = lblMsg->font();
    font.setPointSize(m_fontSize);
    font.setPointSize(Fitting_Font_Size(lblMsg->text(), font, lblMsg->contentsRect().size()));
    lblMsg->setFont(font);
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
