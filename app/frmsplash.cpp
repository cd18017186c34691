#include "frmsplash.h"
#include "common/buildinfo.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QTextCursor>

#include "app/modmain.h"
#include "common/busyprogress.h"
#include "common/captions.h"
#include "common/errorreport.h"
#include "common/placement.h"
#include "common/product.h"
#include "common/statuslog.h"
#include "common/tilebackground.h"
#include "platform/services.h"

using platform::twips;

namespace {
QPointer<frmSplash> showing;

QLabel* makeLabel(QWidget* parent, int left, int top, int width, int height, int points, bool bold)
{
    auto* label = new QLabel(parent);
    label->setGeometry(twips(left), twips(top), twips(width), twips(height));
    QFont font = label->font();
    font.setPointSize(points);
    font.setBold(bold);
    label->setFont(font);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}
}

QString Version_Text()
{
    const BuildVersion version = Built_Version();
    return QStringLiteral("v.%1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision);
}

QString Catchy_Line()
{
    return Caption(25) + QLatin1Char(' ') + Product_Language_Part(modMain.ProductName) + QLatin1Char('!');
}

frmSplash::frmSplash(const QPixmap& logo)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twips(7800), twips(4800));
    Center_On_Screen(this);
    setWindowTitle(modMain.ProductName);

    imgLogo = makeLabel(this, 300, 300, 2400, 2400, 9, false);
    imgLogo->setAlignment(Qt::AlignCenter);
    imgLogo->setPixmap(logo.scaled(imgLogo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));

    // Element 0 is element 1's shadow: dark grey, 15 twips right and below, drawn underneath.
    lblCatchyWord[0] = makeLabel(this, 2915, 615, 4700, 700, 20, true);
    lblCatchyWord[1] = makeLabel(this, 2900, 600, 4700, 700, 20, true);
    lblCatchyWord[0]->setStyleSheet(QStringLiteral("color: rgb(64,64,64);"));
    lblCatchyWord[1]->setStyleSheet(QStringLiteral("color: white;"));
    for (QLabel* l : lblCatchyWord)
        l->setText(Catchy_Line());

    lblVersion = makeLabel(this, 2900, 1400, 4700, 300, 10, true);
    lblVersion->setText(Version_Text());
    lblCopyRight = makeLabel(this, 2900, 1700, 4700, 300, 8, false);
    lblCopyRight->setText(Built_Copyright());
    lblLoading = makeLabel(this, 2900, 2250, 4700, 300, 10, true);
    lblLoading->setText(Caption(53));

    txtStatus = new QPlainTextEdit(this);
    txtStatus->setGeometry(twips(300), twips(2900), twips(7200), twips(1600));
    txtStatus->setReadOnly(true);
    txtStatus->setFocusPolicy(Qt::NoFocus);
    txtStatus->installEventFilter(this);
    txtStatus->setStyleSheet(QStringLiteral("QPlainTextEdit { background: rgba(255,255,255,200); "
                                            "border: 1px solid #8aa; border-radius: 4px; font-size: 9pt; }"));
    m_pendingDraw = new QTimer(this);
    m_pendingDraw->setSingleShot(true);
    connect(m_pendingDraw, &QTimer::timeout, this, &frmSplash::showLogNow);
    showing = this;
    Set_Status_Log_Window(this);
}

frmSplash::~frmSplash()
{
    if (showing == this)
        showing = nullptr;
    Unset_Status_Log_Window(this);
}

frmSplash* frmSplash::current() { return showing && showing->isVisible() ? showing.data() : nullptr; }

void frmSplash::Put_Status_Line(const QString& text)
{
    // Newest first. Lines that come within one frame of the last drawing gather and go into the log together
    // when their frame is due: an insertion into the log costs as much for one line as for a hundred.
    m_pendingLines.prepend(text + QLatin1Char('\n'));
    if (!m_lastDrawn.isValid() || m_lastDrawn.elapsed() >= FrameMs)
        showLogNow();
    else if (!m_pendingDraw->isActive())
        m_pendingDraw->start(FrameMs);
    QCoreApplication::processEvents();
}

void frmSplash::Set_Status_Log(const QString& text)
{
    m_pendingLines.clear();
    txtStatus->setPlainText(text);
    showLogNow();
}

QString frmSplash::statusLogText() const { return m_pendingLines + txtStatus->toPlainText(); }

void frmSplash::showLogNow()
{
    m_pendingDraw->stop();
    if (!m_pendingLines.isEmpty()) {
        QTextCursor cursor(txtStatus->document());
        cursor.movePosition(QTextCursor::Start);
        cursor.insertText(m_pendingLines);
        m_pendingLines.clear();
    }
    txtStatus->repaint();
    m_lastDrawn.start();
}

void frmSplash::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPixmap& picture = Background_Picture();
    if (picture.isNull()) {
        // Without its background the start-up window cannot be drawn as designed; the program cannot go on.
        platform::services().dialogs->message(Error_Report_Text(QStringLiteral("TileBackground"),
                                                  QStringLiteral("The background picture could not be loaded.")),
            windowTitle(), platform::Icon::Critical);
        close();
        Q_EMIT quitRequested(1);
        return;
    }
    TileBackground(painter, *this, picture);
}

void frmSplash::keyPressEvent(QKeyEvent*) { close(); }

bool frmSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
