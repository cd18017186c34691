#include "menupanel.h"

#include "platform/services.h"
#include "resources/resourcepaths.h"

using platform::twips;

namespace {
constexpr int LabelLeft = 700;
constexpr int ImageLeft = 200;
constexpr int FirstTop = 900;
}

QCursor Link_Cursor()
{
    const QPoint hotSpot = resources::linkCursorHotSpot();
    return QCursor(QPixmap(resources::linkCursorPicture()), hotSpot.x(), hotSpot.y());
}

MenuPanel::MenuPanel(QWidget* panel)
    : picMenu(panel)
{
    createEntry(0);
    lblMenu[0]->hide();
    imgMenu[0]->hide();
}

void MenuPanel::createEntry(int i)
{
    auto* label = new QLabel(picMenu);
    label->setObjectName(QStringLiteral("lblMenu%1").arg(i));
    label->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
    label->setCursor(Link_Cursor());
    auto* image = new QLabel(picMenu);
    image->setPixmap(
        QPixmap(resources::treeImage(9)).scaled(twips(360), twips(360), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    const int top = FirstTop + i * EntrySpacing;
    label->setGeometry(twips(LabelLeft), twips(top), twips(DesignWidth - LabelLeft - 300), twips(400));
    image->setGeometry(twips(ImageLeft), twips(top), twips(400), twips(400));
    lblMenu.push_back(label);
    imgMenu.push_back(image);
}

void MenuPanel::Get_Menu_Links(const QVector<MenuLink>& links, const QString& siteAddress)
{
    for (int i = 0; i < links.size(); ++i) {
        if (i > 0)
            createEntry(i);
        lblMenu[i]->setText(links[i].text);
        lblMenu[i]->setProperty("tag", links[i].link);
        lblMenu[i]->setToolTip(siteAddress + links[i].link);
        lblMenu[i]->show();
        imgMenu[i]->show();
    }
    m_lastIndex = static_cast<int>(links.size()) - 1;
}
