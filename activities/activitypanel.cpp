#include "activitypanel.h"

#include <cstdlib>
#include <stdexcept>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>

#include "activities/activitylayout.h"
#include "app/errorreport.h"
#include "app/frmmain.h"
#include "app/modmain.h"
#include "app/statuslog.h"
#include "app/util/apppath.h"
#include "app/util/files.h"
#include "platform/database.h"
#include "platform/services.h"

using platform::twips;

namespace {
const QString PictureTempName = QStringLiteral("0X2341KLZX.dat");

QString describe(const std::exception& e)
{
    if (const auto* db = dynamic_cast<const platform::DbError*>(&e))
        return db->description();
    return QString::fromStdString(e.what());
}

// The picture loader reads files, so the bytes pass through a temporary file; it is gone afterwards.
QPixmap pictureOfRow(const platform::Recordset& rs, int row, const QString& column, const QString& temp)
{
    const QByteArray bytes = rs.blob(row, column);
    {
        QFile file(temp);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            throw std::runtime_error(QStringLiteral("Cannot write '%1'.").arg(temp).toStdString());
    }
    // Through QImage: QPixmap::load caches by file name, size and time, and every picture uses the same name.
    const QImage image(temp);
    QFile::remove(temp);
    if (image.isNull())
        throw std::runtime_error("Invalid picture");
    return QPixmap::fromImage(image);
}

void keepAt(QVector<QPixmap>& list, int position, const QPixmap& picture)
{
    if (list.size() <= position)
        list.resize(position + 1);
    list[position] = picture;
}
}

ActivityPanel::ActivityPanel(frmMain& window)
    : m_window(window)
    , m_endProgram([] { std::exit(1); })
{
    watchPointer();
}

void ActivityPanel::Get_Settings()
{
    frmMain& w = m_window;
    try {
        QRandomGenerator random(static_cast<quint32>(platform::services().clock->now().toMSecsSinceEpoch()));

        const QString dataSubjects = modMain.DataDir + Caption(10);
        if (!QDir(dataSubjects).exists() && !QDir().mkpath(dataSubjects))
            throw std::runtime_error(QStringLiteral("Path/File access error: %1").arg(dataSubjects).toStdString());

        w.File1.setPath(modMain.InstalledSubjectsDir);
        w.File1.setPattern(QStringLiteral("*.") + modMain.SubjectExtension);
        w.File2.setPath(modMain.VirtualSubjectsDir);
        w.File2.setPattern(QStringLiteral("*.v") + modMain.SubjectExtension);
        w.File1.refresh();
        w.File2.refresh();

        w.lblSelectSubject->setText(QStringLiteral("1. ") + Caption(14));
        w.lblSelectActivity->setText(QStringLiteral("2. ") + Caption(15));
        w.lblCaption->setText(Caption(20));
        w.setWindowTitle(modMain.ProductName);
        w.btnChangeUser->setText(Caption(99));
        w.btnCreateVirtualSubjects->setText(Caption(65));
        w.btnOpenSubjectsFolder->setText(Caption(142));
        w.lblMoreActs->setText(Caption(114));
        Set_Status_Log(Caption(12) + QStringLiteral(".  ") + Caption(13));

        const int tips = static_cast<int>(w.Tips.size()) - 1;
        w.TipPosition = tips > 0 ? static_cast<int>(random.generateDouble() * tips) : 0;
        w.PendingMessage = Caption(63);
        w.PendingLink.clear();
        w.picMenu->move(twips(100) - w.picMenu->width(), w.picMenu->y());

        w.LastActivityIndex = w.FileAct.listCount() - 1;
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Get_Settings"), describe(e));
    }
}

void ActivityPanel::Get_Activities()
{
    frmMain& w = m_window;
    try {
        const int last = w.LastActivityIndex;
        if (last <= 0)
            return;
        QLabel* first = w.btnAct[0];
        const ActivityGrid grid = activityGrid(last, { platform::toTwips(first->x()), platform::toTwips(first->y()) },
            { platform::toTwips(first->width()), platform::toTwips(first->height()) });

        first->show();
        w.VScroll->setVisible(grid.scrollVisible);
        for (int i = static_cast<int>(w.btnAct.size()); i <= last; ++i) {
            auto* button = new QLabel(w.picActs);
            button->setObjectName(QStringLiteral("btnAct%1").arg(i));
            button->resize(first->size());
            w.btnAct.push_back(button);
            watchButton(button);
            button->show();
        }
        m_lit.fill(false, w.btnAct.size());
        for (int i = 0; i <= last; ++i)
            w.btnAct[i]->move(twips(grid.positions[i].x()), twips(grid.positions[i].y()));

        w.picActs->resize(w.picActs->width(), twips(grid.panelHeight));
        // The bar counts in twips; a panel that fits keeps a range of nothing rather than a reversed one.
        w.VScroll->setRange(0, qMax(0, grid.scrollMaximum));
        w.VScroll->setValue(0);
        w.lblMoreActs->move(w.lblMoreActs->x(), twips(grid.moreActsTop));

        const QString column = activityPictureColumn(modMain.ProgramCode);
        for (int i = 0; i <= last; ++i) {
            Put_Status_Line(Caption(23) + QLatin1Char(' ') + w.FileAct.list(i));
            if (!Get_Activity_Images(i + 1, activitySettingsFile(w.ActivitiesDir, w.FileAct.list(i)), column))
                return;
            w.btnAct[i]->setPixmap(ImgOFF[i + 1]);
            w.btnAct[i]->show();
            Put_Status_Line(Caption(8));
            QCoreApplication::processEvents();
        }
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Get_Activities"), describe(e));
    }
}

bool ActivityPanel::Get_Activity_Images(int position, const QString& settingsFile, const QString& column)
{
    try {
        const platform::Recordset rs = [&] {
            const auto db = platform::Database::open(Template_Connection_String(settingsFile));
            return db.query(QStringLiteral("SELECT * FROM tblImages"));
        }();
        const QString temp = Get_Temp_Path() + PictureTempName;
        QFile::remove(temp);
        keepAt(ImgOFF, position, pictureOfRow(rs, 0, column, temp));
        keepAt(ImgON, position, pictureOfRow(rs, 1, column, temp));
        return true;
    } catch (const std::exception&) {
        platform::Dialogs* dialogs = platform::services().dialogs;
        dialogs->message(Caption(105) + QStringLiteral("\r\n") + m_window.FileAct.list(position - 1)
                + QStringLiteral("\r\n\r\n") + Caption(106),
            modMain.ProductName, platform::Icon::Critical);
        dialogs->message(Caption(107), modMain.ProductName, platform::Icon::Warning);
        m_endProgram();
        return false;
    }
}
