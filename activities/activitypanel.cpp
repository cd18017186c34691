#include "activitypanel.h"

#include <stdexcept>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollBar>

#include "activities/activitylayout.h"
#include "common/captions.h"
#include "common/errorreport.h"
#include "common/filelist.h"
#include "common/files.h"
#include "common/session.h"
#include "common/statuslog.h"
#include "platform/database.h"
#include "platform/services.h"

using platform::twips;

namespace {
QString describe(const std::exception& e)
{
    if (const auto* db = dynamic_cast<const platform::DbError*>(&e))
        return db->description();
    return QString::fromStdString(e.what());
}

// Straight from the bytes: a picture never needs the temporary folder, so a folder someone else has taken cannot
// make a good settings file look damaged.
QPixmap pictureOfRow(const platform::Recordset& rs, int row, const QString& column)
{
    const QImage image = QImage::fromData(rs.blob(row, column));
    if (image.isNull())
        throw std::runtime_error("Invalid picture");
    return QPixmap::fromImage(image);
}

// The activity's name as its picture shows it: the program's name with its words apart.
QString activityName(const QString& program)
{
    static const QRegularExpression wordStart(QStringLiteral("(?<=\\p{Ll})(?=\\p{Lu})"));
    return program.section(QLatin1Char('.'), 0, 0).replace(wordStart, QStringLiteral(" "));
}

void keepAt(QVector<QPixmap>& list, int position, const QPixmap& picture)
{
    if (list.size() <= position)
        list.resize(position + 1);
    list[position] = picture;
}
}

ActivityPanel::ActivityPanel(QWidget* holder, const Session& session)
    : PicActsHolder(holder)
    , m_session(session)
{
    buildControls();
    watchPointer();
}

void ActivityPanel::buildControls()
{
    const int width = platform::toTwips(PicActsHolder->width());
    const int height = platform::toTwips(PicActsHolder->height());
    picActs = new QWidget(PicActsHolder);
    picActs->setObjectName(QStringLiteral("picActs"));
    picActs->setGeometry(0, 0, twips(width - 240), twips(height));
    VScroll = new QScrollBar(Qt::Vertical, PicActsHolder);
    VScroll->setGeometry(twips(width - 240), 0, twips(210), twips(height));
    VScroll->hide();
    auto* first = new QLabel(picActs);
    first->setObjectName(QStringLiteral("btnAct0"));
    first->setGeometry(twips(15), twips(45), twips(2415), twips(630));
    first->hide();
    btnAct.push_back(first);
    lblMoreActs = new QLabel(picActs);
    lblMoreActs->setObjectName(QStringLiteral("lblMoreActs"));
    lblMoreActs->setGeometry(twips(60), twips(800), twips(4800), twips(300));
    lblMoreActs->setStyleSheet(QStringLiteral("color: #1d3557; font-weight: bold;"));
}

void ActivityPanel::Get_Settings(const FileList& FileAct)
{
    lblMoreActs->setText(Caption(114));
    LastActivityIndex = FileAct.listCount() - 1;
}

void ActivityPanel::Get_Activities(const FileList& FileAct, const QString& ActivitiesDir, const QString& programCode)
{
    try {
        const int last = LastActivityIndex;
        if (last <= 0)
            return;
        QLabel* first = btnAct[0];
        const ActivityGrid grid = activityGrid(last, { platform::toTwips(first->x()), platform::toTwips(first->y()) },
            { platform::toTwips(first->width()), platform::toTwips(first->height()) });

        first->show();
        VScroll->setVisible(grid.scrollVisible);
        for (int i = static_cast<int>(btnAct.size()); i <= last; ++i) {
            auto* button = new QLabel(picActs);
            button->setObjectName(QStringLiteral("btnAct%1").arg(i));
            button->resize(first->size());
            btnAct.push_back(button);
            watchButton(button);
            button->show();
        }
        m_lit.fill(false, btnAct.size());
        for (int i = 0; i <= last; ++i)
            btnAct[i]->move(twips(grid.positions[i].x()), twips(grid.positions[i].y()));

        picActs->resize(picActs->width(), twips(grid.panelHeight));
        // The bar counts in twips; a panel that fits keeps a range of nothing rather than a reversed one.
        VScroll->setRange(0, qMax(0, grid.scrollMaximum));
        VScroll->setValue(0);
        lblMoreActs->move(lblMoreActs->x(), twips(grid.moreActsTop));

        const QString column = activityPictureColumn(programCode);
        for (int i = 0; i <= last; ++i) {
            const QString program = FileAct.list(i);
            Put_Status_Line(Caption(23) + QLatin1Char(' ') + program);
            if (!Get_Activity_Images(i + 1, program, activitySettingsFile(ActivitiesDir, program), column))
                return;
            btnAct[i]->setPixmap(ImgOFF[i + 1]);
            btnAct[i]->setAccessibleName(ActName[i + 1]);
            btnAct[i]->show();
            Put_Status_Line(Caption(8));
            QCoreApplication::processEvents();
        }
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Get_Activities"), describe(e));
    }
}

void ActivityPanel::Set_Tab_Order(QWidget* before)
{
    for (QLabel* button : btnAct) {
        QWidget::setTabOrder(before, button);
        before = button;
    }
    QWidget::setTabOrder(before, lblMoreActs);
}

bool ActivityPanel::Get_Activity_Images(
    int position, const QString& programFile, const QString& settingsFile, const QString& column)
{
    try {
        const platform::Recordset rs = [&] {
            const auto db = platform::Database::open(Template_Connection_String(settingsFile));
            return db.query(QStringLiteral("SELECT * FROM tblImages"));
        }();
        keepAt(ImgOFF, position, pictureOfRow(rs, 0, column));
        keepAt(ImgON, position, pictureOfRow(rs, 1, column));
        // The name written on the picture, in the learner's language, when the settings file tells it (older
        // files do not); else the program's name.
        const QString nameColumn = QLatin1Char('t') + column.mid(1);
        const QString written = rs.columnIndex(nameColumn) >= 0 ? rs.text(0, nameColumn).trimmed() : QString();
        while (ActName.size() <= position)
            ActName << QString();
        ActName[position] = written.isEmpty() ? activityName(programFile) : written;
        return true;
    } catch (const std::exception&) {
        platform::Dialogs* dialogs = platform::services().dialogs;
        dialogs->message(
            Caption(105) + QStringLiteral("\r\n") + programFile + QStringLiteral("\r\n\r\n") + Caption(106),
            m_session.ProductName, platform::Icon::Critical);
        dialogs->message(Caption(107), m_session.ProductName, platform::Icon::Warning);
        Q_EMIT quitRequested(1);
        return false;
    }
}
