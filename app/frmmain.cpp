#include "frmmain.h"
#include "common/subjectfolders.h"
#include "common/buildinfo.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

#include "activities/activitylaunch.h"
#include "activities/activitypanel.h"
#include "activities/listening.h"
#include "app/frmsplash.h"
#include "app/mainframe.h"
#include "app/mainlayout.h"
#include "app/menupanel.h"
#include "app/modmain.h"
#include "app/resolution.h"
#include "app/studentreview.h"
#include "common/captions.h"
#include "common/errorreport.h"
#include "common/files.h"
#include "common/online.h"
#include "common/paths.h"
#include "common/placement.h"
#include "common/product.h"
#include "common/registry.h"
#include "common/sounds.h"
#include "common/statuslog.h"
#include "common/tilebackground.h"
#include "common/updates.h"
#include "common/wait.h"
#include "custom/frmcustomsubject.h"
#include "custom/frmedit.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "resources/resourcepaths.h"
#include "students/classsync.h"
#include "students/frmadmin.h"
#include "students/frmlogin.h"
#include "students/frmprogress.h"
#include "subjects/frmimportlessons.h"
#include "subjects/phraselookup.h"
#include "subjects/reviewfolder.h"
#include "subjects/subjectchecks.h"
#include "subjects/subjecttree.h"
#include "subjects/treeevents.h"
#include "subjects/treenode.h"

using platform::twips;

namespace {
QRect inPixels(const QRect& r) { return QRect(twips(r.x()), twips(r.y()), twips(r.width()), twips(r.height())); }

QLabel* label(QWidget* parent, const char* name, const QRect& place = QRect())
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(inPixels(place));
    return l;
}

QPushButton* button(QWidget* parent, const char* name)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    return b;
}
}

frmMain::frmMain()
{
    buildControls();
    m_menu = std::make_unique<MenuPanel>(picMenu);
    m_frame = std::make_unique<MainFrame>(FrameControls {
        this, picMenu, imgLogo, PicMsg, lblMsg, lblURL, Timer1, Timer2, TimShowMenu, TimHideMenu, m_menu.get() });
    m_review = std::make_unique<ReviewFolder>(
        TreeFolders, modMain, [] { return Student_Due_Review(modMain, platform::currentUtc()); });
    m_tree = std::make_unique<SubjectTree>(TreeFolders, &m_File1, &m_File2, modMain, m_review.get());
    m_treeEvents = std::make_unique<TreeEvents>(
        TreeFolders, &m_File1, modMain, this, mnuOption, mnuListenToPhrase, m_review.get());
    m_activities = std::make_unique<ActivityPanel>(PicActsHolder, modMain);
    m_launcher = std::make_unique<ActivityLauncher>(this, FileAct);
    wire();
}

void frmMain::wire()
{
    connect(m_activities.get(), &ActivityPanel::activityClicked, this,
        [this](int index) {
            QTreeWidgetItem* subject = m_tree->launchSubject();
            Show_Subject_Use(subject, m_launcher->btnAct_Click(index, Subject_Ref(subject), modMain, ActivitiesDir));
        });
    connect(m_activities.get(), &ActivityPanel::pointerMoved, m_frame.get(), &MainFrame::Hide_Menu);
    connect(m_activities.get(), &ActivityPanel::quitRequested, this, &frmMain::End_Run);
    m_activities->watchArea(TreeFolders->viewport());
    // The window's background too: a lit button goes dark once the pointer is anywhere off the panel.
    m_activities->watchArea(this);
    m_frame->watchArea(TreeFolders->viewport());
    connect(m_treeEvents.get(), &TreeEvents::phraseToHear, this,
        [](QTreeWidgetItem* node) { Hear_Phrase(Subject_Ref(node), modMain); });
    connect(btnCreateVirtualSubjects, &QPushButton::clicked, this, [this] { btnCreateVirtualSubjects_Click(*this); });
    connect(mnuEdit, &QAction::triggered, this,
        [this] { mnuEdit_Click(modMain, mnuOptionEnabled, TreeFolders->currentItem(), this); });
}

frmMain::~frmMain() { delete m_login.data(); }

void frmMain::buildControls()
{
    setObjectName(QStringLiteral("frmMain"));
    // The design size is the smallest that shows everything; a larger window gives the tree more room.
    setMinimumSize(twips(MainDesignWidth), twips(MainDesignHeight));
    resize(minimumSize());
    Center_On_Screen(this);

    imgLogo = label(this, "imgLogo", QRect(240, 120, 1500, 1500));
    imgLogo->setAlignment(Qt::AlignCenter);
    lblCaption = label(this, "lblCaption", QRect(1900, 1380, 6000, 360));
    lblCaption->setStyleSheet(QStringLiteral("font-size: 10pt; font-weight: bold; color: #1d3557;"));

    PicMsg = new QWidget(this);
    PicMsg->setObjectName(QStringLiteral("PicMsg"));
    PicMsg->setGeometry(twips(1900), 0, twips(MainDesignWidth - 2140), twips(1170));
    PicMsg->setProperty("tag", QStringLiteral("GOUP"));
    PicMsg->setStyleSheet(QStringLiteral("#PicMsg { background: rgba(255,255,255,170); border-radius: 6px; }"));
    lblMsg = label(PicMsg, "lblMsg", QRect(120, 60, MainDesignWidth - 2380, 1050));
    lblMsg->setWordWrap(true);
    lblMsg->setAlignment(Qt::AlignCenter);
    // The welcome names the student as typed; a name that looks like markup is still a name.
    lblMsg->setTextFormat(Qt::PlainText);

    Picture1 = label(this, "Picture1");
    Picture1->setStyleSheet(QStringLiteral("background: #457b9d; border-radius: 2px;"));

    const QString heading = QStringLiteral("font-size: 12pt; font-weight: bold; color: #1d3557;");
    lblSelectSubject = label(this, "lblSelectSubject");
    lblSelectSubject->setStyleSheet(heading);
    TreeFolders = new QTreeWidget(this);
    TreeFolders->setObjectName(QStringLiteral("TreeFolders"));
    TreeFolders->setHeaderHidden(true);
    // A long phrase scrolls sideways instead of losing its end.
    TreeFolders->header()->setStretchLastSection(false);
    TreeFolders->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    TreeFolders->setIconSize(QSize(16, 16));
    // Every node has one font size and one icon size: the tree need not measure each row to lay out thousands.
    TreeFolders->setUniformRowHeights(true);

    lblSelectActivity = label(this, "lblSelectActivity");
    lblSelectActivity->setStyleSheet(heading);
    PicActsHolder = new QWidget(this);
    PicActsHolder->setObjectName(QStringLiteral("PicActsHolder"));

    btnCreateVirtualSubjects = button(this, "btnCreateVirtualSubjects");
    btnOpenSubjectsFolder = button(this, "btnOpenSubjectsFolder");
    btnChangeUser = button(this, "btnChangeUser");
    btnAdmin = button(this, "btnAdmin");
    btnAdmin->setIcon(QIcon(resources::scoresButtonPicture()));
    btnAdmin->setEnabled(false);
    btnMyProgress = button(this, "btnMyProgress");
    btnMyProgress->setIcon(QIcon(resources::scoresButtonPicture()));
    btnMyProgress->setEnabled(false);
    lblURL = label(this, "lblURL");
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
    placeControls();

    mnuOption = new QMenu(this);
    mnuListenToPhrase = mnuOption->addAction(QString());
    mnuEdit = mnuOption->addAction(QString());
    for (QPushButton* b : { btnAdmin, btnMyProgress, btnChangeUser }) {
        connect(b, &QPushButton::pressed, this, [] { Play_Click(); });
        connect(b, &QPushButton::released, this, [] { Play_Click(); });
    }
    connect(btnAdmin, &QPushButton::clicked, this, [this] {
        if (m_classSync)
            m_classSync->requestExchange();
        const auto importLessons = [this](QWidget* owner) {
            if (Show_Import_Lessons_Window(owner, modMain))
                Refresh_Subjects();
        };
        if (Show_Admin_Window(this, modMain, Phrase_Text_Of(modMain), m_classSync.get(), importLessons))
            End_Run(0);
    });
    connect(btnMyProgress, &QPushButton::clicked, this, [this] {
        if (m_classSync)
            m_classSync->requestExchange();
        Show_Progress_Window(this, modMain, Phrase_Text_Of(modMain));
    });
    connect(btnChangeUser, &QPushButton::clicked, this, [this] { btnChangeUser_Click(); });
    // The file manager is no game: no click sound.
    connect(btnOpenSubjectsFolder, &QPushButton::clicked, this,
        [] { Open_With_System(modMain, modMain.InstalledSubjectsDir); });
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
    if (Set_Product(modMain, Built_Program_Code()))
        imgLogo->setPixmap(QPixmap(resources::productLogo(Find_Product(modMain.ProgramCode)->logoImage))
                               .scaled(imgLogo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    setWindowIcon(QIcon(resources::appIcon()));

    // 2. Interface texts: without them nothing can be worded, so the program stops here.
    QString failure;
    if (!Get_Captions(modMain, &failure)) {
        platform::services().dialogs->message(Template_Failure_Text(Template_Path(modMain.ProgramDir), failure),
            modMain.ProductName, platform::Icon::Critical);
        End_Run(1);
        return false;
    }

    // 3, 4. Folders, recorded for the activities and tools.
    Set_Paths(modMain, &ActivitiesDir);
    Record_Folders(modMain);
    Forget_Sound_Notice();

    // 5. Activity programs
    FileAct.setPath(ActivitiesDir);
    FileAct.setPattern(QStringLiteral("*.exe"));
    FileAct.refresh();

    // 6. Start-up window
    auto* splash = new frmSplash(imgLogo->pixmap());
    connect(splash, &frmSplash::quitRequested, this, &frmMain::End_Run);
    splash->show();
    QCoreApplication::processEvents();

    // 7, 8. Settings; the login window is loaded, not shown.
    Get_Settings();
    if (!Load_Login())
        return false;
    Start_Class_Sync();

    // 9, 10.
    Wait_Seconds(1);

    // 11. Tree, texts of the frame, activity panel.
    m_tree->Create_Folders();
    m_tree->Get_Subjects();
    m_tree->Get_vSubjects();
    m_menu->Get_Menu_Links(Read_Menu_Links(modMain), Caption(94));
    m_frame->Watch_Menu_Links();
    Get_System_Messages(modMain, m_frame->Messages);
    Get_Tips(modMain, m_frame->Tips);
    m_activities->Get_Activities(FileAct, ActivitiesDir, modMain.ProgramCode);
    m_activities->Set_Tab_Order(TreeFolders);
    // The start-up window and the activities' settings files may have ended the run while it loaded.
    if (m_endCode)
        return false;

    // 12 to 14.
    if (frmSplash::current())
        frmSplash::current()->close();
    if (m_login)
        m_login->show();
    Check_Resolution();
    if (m_endCode)
        return false;

    // 15. Once a week, when online.
    if (Weekly_Update_Check(modMain)) {
        End_Run(0);
        return false;
    }
    return true;
}

frmLogin* frmMain::login() { return m_login.data(); }

void frmMain::Get_Settings()
{
    try {
        QRandomGenerator random(static_cast<quint32>(platform::services().clock->now().toMSecsSinceEpoch()));

        const QString dataSubjects = modMain.DataDir + Caption(10);
        if (!QDir(dataSubjects).exists() && !QDir().mkpath(dataSubjects))
            throw std::runtime_error(QStringLiteral("Path/File access error: %1").arg(dataSubjects).toStdString());

        m_File1.setPaths(Installed_Subject_Folders(modMain));
        m_File1.setPattern(QStringLiteral("*.") + modMain.SubjectExtension);
        m_File2.setPath(modMain.VirtualSubjectsDir);
        m_File2.setPattern(QStringLiteral("*.v") + modMain.SubjectExtension);
        m_File1.refresh();
        m_File2.refresh();

        lblSelectSubject->setText(QStringLiteral("1. ") + Caption(14));
        // A screen reader names a tree by its own name only, not by the heading above it.
        TreeFolders->setAccessibleName(Caption(14));
        lblSelectActivity->setText(QStringLiteral("2. ") + Caption(15));
        lblCaption->setText(Caption(20));
        setWindowTitle(modMain.ProductName);
        btnChangeUser->setText(Caption(99));
        btnCreateVirtualSubjects->setText(Caption(65));
        btnOpenSubjectsFolder->setText(Caption(142));
        m_activities->Get_Settings(FileAct);
        Set_Status_Log(Caption(12) + QStringLiteral(".  ") + Caption(13));

        const int tips = static_cast<int>(m_frame->Tips.size()) - 1;
        m_frame->TipPosition = tips > 0 ? static_cast<int>(random.generateDouble() * tips) : 0;
        m_frame->PendingMessage = Caption(63);
        m_frame->PendingLink.clear();
        picMenu->move(twips(100) - picMenu->width(), picMenu->y());
    } catch (const std::exception& e) {
        Error_Report(QStringLiteral("Get_Settings"), QString::fromStdString(e.what()));
    }
}

void frmMain::Refresh_Subjects() { m_tree->Refresh_Subjects(); }

bool frmMain::Load_Login()
{
    if (m_login)
        return true;
    m_login = new frmLogin(modMain);
    connect(m_login, &frmLogin::loggedIn, this, &frmMain::Student_Logged_In);
    connect(m_login, &frmLogin::quitRequested, this, &frmMain::End_Run);
    connect(m_login, &frmLogin::studentsChanged, this, [this] {
        if (m_classSync)
            m_classSync->requestExchange();
    });
    return m_login->Form_Load();
}

void frmMain::Start_Class_Sync()
{
    m_classSync = std::make_unique<ClassSync>(Users_Of(modMain), modMain.DataDir);
    connect(m_classSync.get(), &ClassSync::statusChanged, this, [this](const SyncStatus& status) {
        if (m_login)
            m_login->Show_Class_Status(status);
    });
    // A student made on another computer may log in here at once.
    connect(m_classSync.get(), &ClassSync::arrived, this, [this] {
        if (m_login)
            m_login->Refresh_Students();
    });
    m_login->Show_Class_Status(m_classSync->status());
    m_classSync->requestExchange();
    m_classSync->exchangeEvery(ClassSyncIntervalMs);
}

void frmMain::Show_Login()
{
    if (!Load_Login())
        return;
    if (m_classSync) {
        m_login->Show_Class_Status(m_classSync->status());
        m_classSync->requestExchange();
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

void frmMain::Student_Logged_In(const QString& student, bool administrator)
{
    modMain.CurrentStudent = student;
    btnAdmin->setEnabled(administrator);
    btnAdmin->setText(Caption(54));
    // Every student sees his or her own results; only the administrator sees the others'.
    btnMyProgress->setEnabled(true);
    btnMyProgress->setText(Caption(162));
    mnuOptionEnabled = administrator;
    mnuEdit->setText(Caption(111));
    mnuListenToPhrase->setText(Caption(112));
    lblMsg->setText(Caption(62) + QLatin1Char(' ') + modMain.ProductName + QLatin1Char(' ') + modMain.CurrentStudent);
    QFont font = lblMsg->font();
    font.setPointSize(12);
    lblMsg->setFont(font);
    setWindowTitle(modMain.ProductName + QStringLiteral("  [") + modMain.CurrentStudent + QLatin1Char(']'));
    m_review->reset();
    // The button last used lit up before the game or the login window covered it; the pointer is elsewhere now.
    m_activities->Reset_Buttons();
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
            platform::Icon::None, platform::Answer::Yes))
        End_Run(0);
}

void frmMain::placeControls()
{
    const MainGeometry g
        = mainGeometry(QSize(platform::toTwips(width()), platform::toTwips(height())), MenuPanel::DesignHeight);
    lblSelectSubject->setGeometry(inPixels(g.lblSelectSubject));
    TreeFolders->setGeometry(inPixels(g.TreeFolders));
    lblSelectActivity->setGeometry(inPixels(g.lblSelectActivity));
    PicActsHolder->setGeometry(inPixels(g.PicActsHolder));
    btnCreateVirtualSubjects->setGeometry(inPixels(g.btnCreateVirtualSubjects));
    btnOpenSubjectsFolder->setGeometry(inPixels(g.btnOpenSubjectsFolder));
    btnChangeUser->setGeometry(inPixels(g.btnChangeUser));
    btnAdmin->setGeometry(inPixels(g.btnAdmin));
    btnMyProgress->setGeometry(inPixels(g.btnMyProgress));
    lblURL->setGeometry(inPixels(g.lblURL));
    Picture1->setGeometry(inPixels(g.Picture1));
    PicMsg->resize(twips(g.PicMsgWidth), PicMsg->height());
    lblMsg->resize(twips(g.lblMsgWidth), lblMsg->height());
    picMenu->resize(picMenu->width(), twips(g.picMenuHeight));
}

void frmMain::resizeEvent(QResizeEvent*) { placeControls(); }

void frmMain::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, *this, Background_Picture());
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program at once.
    event->accept();
    End_Run(0);
}

void frmMain::changeEvent(QEvent* event)
{
    // Back from a game, or from any window over this one: a round may have made phrases due or reviewed them.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        m_review->refresh();
        if (m_classSync)
            m_classSync->requestExchange();
    }
    QWidget::changeEvent(event);
}

void frmMain::End_Run(int exitCode)
{
    if (m_endCode)
        return;
    m_endCode = exitCode;
    // What this run recorded goes to the school's server before the program ends, if the server answers soon.
    if (m_classSync)
        m_classSync->finish(ClassSyncFinishMs);
    Delete_Temp_Files(modMain.ExchangeNumber);
    Delete_Listening_File();
    Forget_Sound_Notice();
    if (frmSplash* splash = frmSplash::current())
        splash->close();
    if (m_login)
        m_login->hide();
    hide();
    Q_EMIT runEnded(exitCode);
}
