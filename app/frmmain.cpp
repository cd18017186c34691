#include "frmmain.h"

#include <cstdlib>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "activities/activitypanel.h"
#include "app/endprogram.h"
#include "app/errorreport.h"
#include "app/frmsplash.h"
#include "app/mainframe.h"
#include "app/menupanel.h"
#include "app/modmain.h"
#include "app/placement.h"
#include "app/resolution.h"
#include "app/settings/paths.h"
#include "app/settings/registry.h"
#include "app/tilebackground.h"
#include "app/util/files.h"
#include "app/util/sounds.h"
#include "app/util/updates.h"
#include "app/util/wait.h"
#include "platform/services.h"
#include "resources/resourcepaths.h"
#include "students/frmadmin.h"
#include "students/frmlogin.h"
#include "subjects/subjecttree.h"
#include "subjects/treeevents.h"

using platform::twips;

namespace {
constexpr int WindowWidth = 11520;
constexpr int WindowHeight = 8880;

QLabel* label(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return l;
}

QPushButton* button(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return b;
}
}

frmMain::frmMain()
{
    buildControls();
    m_menu = std::make_unique<MenuPanel>(picMenu);
    m_frame = std::make_unique<MainFrame>(*this);
    m_tree = std::make_unique<SubjectTree>(TreeFolders, &File1, &File2);
    m_treeEvents = std::make_unique<TreeEvents>(TreeFolders, &File1, this, mnuOption, mnuListenToPhrase);
    m_activities = std::make_unique<ActivityPanel>(*this);
}

frmMain::~frmMain()
{
    delete m_login.data();
}

void frmMain::buildControls()
{
    setObjectName(QStringLiteral("frmMain"));
    setFixedSize(twips(WindowWidth), twips(WindowHeight));
    Center_On_Screen(this);

    imgLogo = label(this, "imgLogo", 240, 120, 1500, 1500);
    imgLogo->setAlignment(Qt::AlignCenter);
    lblCaption = label(this, "lblCaption", 1900, 1380, 6000, 360);
    lblCaption->setStyleSheet(QStringLiteral("font-size: 10pt; font-weight: bold; color: #1d3557;"));

    PicMsg = new QWidget(this);
    PicMsg->setObjectName(QStringLiteral("PicMsg"));
    PicMsg->setGeometry(twips(1900), 0, twips(WindowWidth - 2140), twips(1170));
    PicMsg->setProperty("tag", QStringLiteral("GOUP"));
    PicMsg->setStyleSheet(QStringLiteral("#PicMsg { background: rgba(255,255,255,170); border-radius: 6px; }"));
    lblMsg = label(PicMsg, "lblMsg", 120, 60, WindowWidth - 2380, 1050);
    lblMsg->setWordWrap(true);
    lblMsg->setAlignment(Qt::AlignCenter);

    Picture1 = label(this, "Picture1", 240, 1740, WindowWidth - 480, 60);
    Picture1->setStyleSheet(QStringLiteral("background: #457b9d; border-radius: 2px;"));

    const QString heading = QStringLiteral("font-size: 12pt; font-weight: bold; color: #1d3557;");
    lblSelectSubject = label(this, "lblSelectSubject", 360, 1920, 5400, 360);
    lblSelectSubject->setStyleSheet(heading);
    TreeFolders = new QTreeWidget(this);
    TreeFolders->setObjectName(QStringLiteral("TreeFolders"));
    TreeFolders->setGeometry(twips(360), twips(2340), twips(5400), twips(5400));
    TreeFolders->setHeaderHidden(true);
    TreeFolders->setIconSize(QSize(16, 16));

    lblSelectActivity = label(this, "lblSelectActivity", 6000, 1920, 5280, 360);
    lblSelectActivity->setStyleSheet(heading);
    PicActsHolder = new QWidget(this);
    PicActsHolder->setObjectName(QStringLiteral("PicActsHolder"));
    PicActsHolder->setGeometry(twips(6000), twips(2340), twips(5280), twips(5100));
    picActs = new QWidget(PicActsHolder);
    picActs->setObjectName(QStringLiteral("picActs"));
    picActs->setGeometry(0, 0, twips(5040), twips(5100));
    VScroll = new QScrollBar(Qt::Vertical, PicActsHolder);
    VScroll->setGeometry(twips(5040), 0, twips(210), twips(5100));
    VScroll->hide();
    auto* act0 = label(picActs, "btnAct0", 15, 45, 2415, 630);
    act0->hide();
    btnAct.push_back(act0);
    lblMoreActs = label(picActs, "lblMoreActs", 60, 800, 4800, 300);
    lblMoreActs->setStyleSheet(QStringLiteral("color: #1d3557; font-weight: bold;"));

    btnCreateVirtualSubjects = button(this, "btnCreateVirtualSubjects", 360, 7900, 2640, 420);
    btnOpenSubjectsFolder = button(this, "btnOpenSubjectsFolder", 3120, 7900, 2640, 420);
    btnChangeUser = button(this, "btnChangeUser", 6000, 7900, 2580, 420);
    btnAdmin = button(this, "btnAdmin", 8700, 7900, 2580, 420);
    btnAdmin->setIcon(QIcon(resources::scoresActivityPicture(false)));
    btnAdmin->setEnabled(false);
    lblURL = label(this, "lblURL", 8700, 8420, 2580, 300);
    lblURL->setAlignment(Qt::AlignCenter);
    lblURL->setStyleSheet(QStringLiteral("color: white; font-weight: bold; background: #1d3557; border-radius: 9px;"));
    lblURL->setText(QStringLiteral("www.parlanta.example"));

    // The menu panel shows only its last 100 twips at the left edge until the mouse touches it.
    picMenu = new QWidget(this);
    picMenu->setObjectName(QStringLiteral("picMenu"));
    picMenu->setGeometry(twips(100 - MenuPanel::DesignWidth), twips(MenuPanel::DesignTop),
        twips(MenuPanel::DesignWidth), twips(MenuPanel::DesignHeight));
    picMenu->setStyleSheet(QStringLiteral("#picMenu { background: #1d3557; }"));
    picMenu->raise();

    mnuOption = new QMenu(this);
    mnuListenToPhrase = mnuOption->addAction(QString());
    mnuEdit = mnuOption->addAction(QString());
    for (QPushButton* b : { btnAdmin, btnChangeUser }) {
        connect(b, &QPushButton::pressed, this, [] { Play_Click(); });
        connect(b, &QPushButton::released, this, [] { Play_Click(); });
    }
    connect(btnAdmin, &QPushButton::clicked, this, [this] { Show_Admin_Window(this); });
    connect(btnChangeUser, &QPushButton::clicked, this, [this] { btnChangeUser_Click(); });
    Timer1 = new QTimer(this);
    Timer1->setInterval(30);
    Timer2 = new QTimer(this);
    Timer2->setInterval(2000);
    TimShowMenu = new QTimer(this);
    TimShowMenu->setInterval(2);
    TimHideMenu = new QTimer(this);
    TimHideMenu->setInterval(2);
}

bool frmMain::Form_Load()
{
    // 1. Product identity
    if (Set_Product(QStringLiteral(PARLANTA_PROGRAM_CODE)))
        imgLogo->setPixmap(QPixmap(resources::productLogo(modMain.LogoImage))
                               .scaled(imgLogo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    setWindowIcon(QIcon(resources::appIcon()));

    // 2. Interface texts: without them nothing can be worded, so the program stops here.
    QString failure;
    if (!Get_Captions(&failure)) {
        platform::services().dialogs->message(Template_Failure_Text(Template_Path(), failure), modMain.ProductName,
            platform::Icon::Critical);
        return false;
    }

    // 3, 4. Folders, recorded for the activities and tools.
    Set_Paths(&ActivitiesDir);
    Record_Folders();

    // 5. Activity programs
    FileAct.setPath(ActivitiesDir);
    FileAct.setPattern(QStringLiteral("*.exe"));
    FileAct.refresh();

    // 6. Start-up window
    auto* splash = new frmSplash(imgLogo->pixmap());
    splash->show();
    QCoreApplication::processEvents();

    // 7, 8. Settings; the login window is loaded, not shown.
    m_activities->Get_Settings();
    m_login = new frmLogin(*this);
    m_login->Form_Load();

    // 9, 10.
    Wait_Seconds(1);
    modMain.VirtualSubjectsChanged = false;

    // 11. Tree, texts of the frame, activity panel.
    m_tree->Create_Folders();
    m_tree->Get_Subjects();
    m_tree->Get_vSubjects();
    m_menu->Get_Menu_Links(Read_Menu_Links(), Caption(94));
    m_frame->Watch_Menu_Links();
    Get_System_Messages(Messages);
    Get_Tips(Tips);
    m_activities->Get_Activities();

    // 12 to 14.
    if (frmSplash::current())
        frmSplash::current()->close();
    if (m_login)
        m_login->show();
    Check_Resolution();

    // 15. Once a week, when online.
    if (Weekly_Update_Check()) {
        close();
        End_Program(0);
    }
    return true;
}

frmLogin* frmMain::login()
{
    return m_login.data();
}

void frmMain::Show_Login()
{
    if (!m_login) {
        m_login = new frmLogin(*this);
        m_login->Form_Load();
    }
    m_login->show();
    m_login->raise();
    m_login->activateWindow();
}

void frmMain::btnChangeUser_Click()
{
    hide();
    Show_Login();
}

void frmMain::Student_Logged_In(bool administrator)
{
    btnAdmin->setEnabled(administrator);
    btnAdmin->setText(Caption(54));
    mnuOption->setEnabled(administrator);
    mnuEdit->setText(Caption(111));
    mnuListenToPhrase->setText(Caption(112));
    lblMsg->setText(Caption(62) + QLatin1Char(' ') + modMain.ProductName + QLatin1Char(' ') + modMain.CurrentStudent);
    QFont font = lblMsg->font();
    font.setPointSize(12);
    lblMsg->setFont(font);
    setWindowTitle(modMain.ProductName + QStringLiteral("  [") + modMain.CurrentStudent + QLatin1Char(']'));
    show();
    Timer1->start();
}

void frmMain::Check_Resolution()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize size = screen->size() * screen->devicePixelRatio();
    if (!Resolution_Too_Small(size.width(), size.height()))
        return;
    if (!platform::services().dialogs->askYesNo(Caption(16) + QStringLiteral("\r\n\r\n") + Caption(1), QString(),
            platform::Icon::None))
        std::exit(0);
}

void frmMain::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, *this, Background_Picture());
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program at once, taking this run's exchange files with it.
    Delete_Temp_Files();
    event->accept();
    QCoreApplication::quit();
}
