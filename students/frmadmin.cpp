#include "frmadmin.h"

#include <algorithm>
#include <memory>
#include <span>
#include <vector>

#include <QApplication>
#include <QGridLayout>
#include <QHash>
#include <QHeaderView>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

#include "common/captions.h"
#include "common/frmmsgbox.h"
#include "common/placement.h"
#include "common/sounds.h"
#include "common/tilebackground.h"
#include "platform/clock.h"
#include "platform/plaintooltip.h"
#include "platform/services.h"
#include "resources/resourcepaths.h"
#include "students/classsync.h"
#include "students/frmschoolserver.h"
#include "students/resultstyle.h"
#include "students/scorecharts.h"
#include "students/scorechartview.h"
#include "students/scores.h"
#include "students/subjectfilter.h"
#include "students/syncstatustext.h"
#include "students/userdatabase.h"
#include "students/userdbfailure.h"
#include "students/windowsize.h"

using platform::twips;

namespace {
// The window's size in its design; it grows where the interface texts need more room.
constexpr int WindowWidth = 11700;
constexpr int WindowHeight = 7920;
constexpr int TreeWidth = 4560;
constexpr int ListWidth = 6240;
constexpr int TreeMinimumWidth = 3000;
constexpr int ListMinimumWidth = 4200;
constexpr int PaneMinimumHeight = 3000;
constexpr int PhraseMinimumWidth = 3000; // the phrase's text beside its figures
const int ColumnWidths[] = { 2000, 1000, 1000, 1300 };
const int ResultCaptions[] = { 47, 48, 49 }; // beside the name the first column heads in each view
// The phrases view: the tree's headings, and the list's headings and widths for a phrase's students.
const int PhraseCaptions[] = { 204, 50, 207, 208 };
const int PhraseStudentCaptions[] = { 205, 206, 207, 208, 209 };
const int PhraseStudentWidths[] = { 1900, 900, 1000, 1100, 1300 };
constexpr int ChartTab = 1;
constexpr int ImportLessonsCaption = 240;

// While a view is built, the pointer says so.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QStringList captions(std::span<const int> numbers)
{
    QStringList texts;
    for (int number : numbers)
        texts << Caption(number);
    return texts;
}

// A node that says why the tree lists nothing.
QTreeWidgetItem* placeholderNode(const QTreeWidget* tree, const QString& text)
{
    auto* placeholder = new QTreeWidgetItem(QStringList { text });
    placeholder->setData(0, frmAdmin::PlaceholderRole, true);
    QFont italic = tree->font();
    italic.setItalic(true);
    placeholder->setFont(0, italic);
    placeholder->setForeground(0, QColor(0x5c, 0x6b, 0x7a));
    return placeholder;
}
}

bool Show_Admin_Window(QWidget* parent, const Session& session, const PhraseText& phraseText, ClassSync* classSync,
    std::function<void(QWidget*)> importLessons)
{
    frmAdmin form(session, phraseText, parent);
    if (importLessons)
        form.Offer_Import(std::move(importLessons));
    if (classSync) {
        form.Show_Class_Status(classSync->status());
        QObject::connect(classSync, &ClassSync::statusChanged, &form, &frmAdmin::Show_Class_Status);
        QObject::connect(
            form.btnSchoolServer, &SchoolServerButton::settingsChanged, classSync, &ClassSync::requestExchange);
        QObject::connect(classSync, &ClassSync::arrived, &form, [&form] { form.cboView_Click(); });
    }
    bool cleared = false;
    QObject::connect(&form, &frmAdmin::quitRequested, &form, [&cleared] { cleared = true; });
    form.exec();
    return cleared;
}

void frmAdmin::Offer_Import(std::function<void(QWidget*)> open)
{
    btnImportLessons->show();
    connect(btnImportLessons, &QPushButton::clicked, this, [this, open = std::move(open)] { open(this); });
}

void frmAdmin::Show_Class_Status(const SyncStatus& status)
{
    btnSchoolServer->showStatus(status);
    lblSchool->setText(
        School_Status_Text(status, QDateTime::currentDateTime(), Interface_Locale(m_session.InterfaceLanguage)));
}

frmAdmin::frmAdmin(const Session& session, PhraseText phraseText, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_session(session)
    , m_phraseText(std::move(phraseText))
    , m_users(Users_Of(session))
{
    setModal(true);
    buildControls();
    Form_Load();
    resize(Fit_Size(this, QSize(twips(WindowWidth), twips(WindowHeight))));
    Center_On_Screen(this);
}

void frmAdmin::buildControls()
{
    setObjectName(QStringLiteral("frmAdmin"));

    lblView = new QLabel(this);
    lblView->setObjectName(QStringLiteral("lblView"));
    lblView->setStyleSheet(Result_Heading_Style);
    lblView->setWordWrap(true);
    cboView = new QComboBox(this);
    cboView->setObjectName(QStringLiteral("cboView"));
    cboView->setIconSize(QSize(20, 20));
    cboView->setStyleSheet(QStringLiteral("font-size: 11pt;"));
    lblView->setBuddy(cboView);
    connect(cboView, &QComboBox::activated, this, [this] { cboView_Click(); });

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setIconSize(QSize(20, 20));
    TreeView1->setUniformRowHeights(true);
    // A click toggles a top node already; a double click would toggle it back.
    TreeView1->setExpandsOnDoubleClick(false);
    TreeView1->setStyleSheet(Result_Pane_Style);
    TreeView1->setMinimumSize(twips(TreeMinimumWidth), twips(PaneMinimumHeight));
    // A long name scrolls instead of being cut.
    TreeView1->header()->setStretchLastSection(false);
    TreeView1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) { TreeView1_NodeClick(node); });
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QTreeWidgetItem* node = TreeView1->itemAt(at);
        if (!Is_Removable(node))
            return;
        QMenu menu;
        menu.addAction(style()->standardIcon(QStyle::SP_TrashIcon), Caption(174), this,
            [this, node] { mnuRemoveStudent_Click(node); });
        menu.exec(TreeView1->viewport()->mapToGlobal(at));
    });

    lblList = new QLabel(this);
    lblList->setObjectName(QStringLiteral("lblList"));
    lblList->setStyleSheet(Result_Heading_Style);
    lblList->setTextFormat(Qt::PlainText); // the names of a student and a subject as typed
    lblList->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A long pair of names is cut at the label's end instead of widening the window.
    lblList->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAlternatingRowColors(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionsMovable(false);
    ListView1->setStyleSheet(Result_Pane_Style + Result_List_Style);
    ListView1->setMinimumSize(twips(ListMinimumWidth), twips(PaneMinimumHeight));

    tabResults = new QTabWidget(this);
    tabResults->setObjectName(QStringLiteral("tabResults"));
    tabResults->addTab(ListView1, QString());
    auto* chartPage = new QWidget(tabResults);
    cboChartSubject = new QComboBox(chartPage);
    cboChartSubject->setObjectName(QStringLiteral("cboChartSubject"));
    cboChartSubject->hide();
    connect(cboChartSubject, &QComboBox::activated, this, [this] { Show_Student_Chart(); });
    chartView = new ScoreChartView(Interface_Locale(m_session.InterfaceLanguage), chartPage);
    chartView->setMinimumSize(twips(4200), twips(2600));
    auto* chartLayout = new QVBoxLayout(chartPage);
    chartLayout->addWidget(cboChartSubject, 0, Qt::AlignLeft);
    chartLayout->addWidget(chartView, 1);
    tabResults->addTab(chartPage, QString());
    connect(tabResults, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == ChartTab)
            Draw_Due_Chart();
    });

    btnClearDatabase = new QPushButton(this);
    btnClearDatabase->setObjectName(QStringLiteral("btnClearDatabase"));
    btnClearDatabase->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    btnClearDatabase->setStyleSheet(
        QStringLiteral("font-size: 10pt; font-weight: bold; color: #9b2226; padding: 0 12px;"));
    btnClearDatabase->setMinimumSize(twips(3600), twips(540));
    btnClearDatabase->setAutoDefault(false);
    connect(btnClearDatabase, &QPushButton::pressed, this, [] { Play_Click(); });
    connect(btnClearDatabase, &QPushButton::released, this, [] { Play_Click(); });
    connect(btnClearDatabase, &QPushButton::clicked, this, [this] { btnClearDatabase_Click(); });

    btnExport = new QPushButton(this);
    btnExport->setObjectName(QStringLiteral("btnExport"));
    btnExport->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    btnExport->setStyleSheet(QStringLiteral("font-size: 10pt; padding: 0 12px;"));
    btnExport->setMinimumSize(twips(2400), twips(540));
    btnExport->setAutoDefault(false);
    mnuExport = new QMenu(btnExport);
    mnuExport->setObjectName(QStringLiteral("mnuExport"));
    mnuExportList = mnuExport->addAction(QString(), this, [this] { mnuExportList_Click(); });
    mnuExportAll = mnuExport->addAction(QString(), this, [this] { mnuExportAll_Click(); });
    mnuExport->addSeparator();
    mnuExportChart = mnuExport->addAction(QString(), this, [this] { mnuExportChart_Click(); });
    btnExport->setMenu(mnuExport);
    btnSchoolServer = new SchoolServerButton(m_session.DataDir, Interface_Locale(m_session.InterfaceLanguage), this);
    btnImportLessons = new QPushButton(Caption(ImportLessonsCaption), this);
    btnImportLessons->setObjectName(QStringLiteral("btnImportLessons"));
    btnImportLessons->setStyleSheet(btnExport->styleSheet());
    btnImportLessons->setMinimumHeight(twips(540));
    btnImportLessons->setAutoDefault(false);
    btnImportLessons->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    btnImportLessons->hide();
    connect(btnImportLessons, &QPushButton::pressed, this, [] { Play_Click(); });
    connect(btnImportLessons, &QPushButton::released, this, [] { Play_Click(); });

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(twips(360), twips(270), twips(360), twips(300));
    layout->setHorizontalSpacing(twips(180));
    layout->setVerticalSpacing(twips(120));
    layout->addWidget(lblView, 0, 0, 1, 2);
    layout->addWidget(cboView, 1, 0);
    layout->addWidget(lblList, 1, 1);
    layout->addWidget(TreeView1, 2, 0);
    layout->addWidget(tabResults, 2, 1);
    // One row under both panes, so that no button widens the pane above it.
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(twips(180));
    buttons->addWidget(btnExport);
    buttons->addWidget(btnSchoolServer);
    buttons->addWidget(btnImportLessons);
    buttons->addStretch(1);
    buttons->addWidget(btnClearDatabase);
    layout->addLayout(buttons, 3, 0, 1, 2);
    lblSchool = new QLabel(this);
    lblSchool->setObjectName(QStringLiteral("lblSchool"));
    lblSchool->setWordWrap(true);
    layout->addWidget(lblSchool, 4, 0, 1, 2);
    layout->setRowStretch(2, 1);
    // The panes share the width as in the design.
    layout->setColumnStretch(0, TreeWidth);
    layout->setColumnStretch(1, ListWidth);
}

void frmAdmin::Form_Load()
{
    Set_Columns(-1);
    setWindowTitle(Caption(54));
    btnClearDatabase->setText(Caption(56));
    btnExport->setText(Caption(150));
    mnuExportList->setText(Caption(157));
    mnuExportAll->setText(Caption(158));
    mnuExportChart->setText(Caption(159));
    mnuExportList->setEnabled(false);
    mnuExportChart->setEnabled(false);
    tabResults->setTabText(0, Caption(154));
    tabResults->setTabText(1, Caption(155));
    // The list is the page of its tab; the tree has no label of its own.
    ListView1->setAccessibleName(Caption(154));
    TreeView1->setAccessibleName(Caption(181));
    lblView->setText(Caption(52));

    ImageList2.clear();
    ImageList2.push_back(QPixmap());
    for (int i = 1; i <= ScorePictureCount; ++i)
        ImageList2.push_back(QPixmap(resources::iconResource(100 + i)));

    cboView->clear();
    cboView->addItem(nodeIcon(1, 1), Caption(50));
    cboView->addItem(nodeIcon(ActivityPicture, ActivityPicture), Caption(46));
    cboView->addItem(nodeIcon(SubjectPicture, SubjectPicture), Caption(10));
    cboView->addItem(style()->standardIcon(QStyle::SP_FileDialogDetailedView), Caption(203));
    cboView->setCurrentIndex(-1);
    TreeView1->setProperty("tag", QString());
}

QIcon frmAdmin::nodeIcon(int picture, int selectedPicture) const
{
    if (picture <= 0 || picture >= ImageList2.size())
        return QIcon();
    QIcon icon;
    icon.addPixmap(ImageList2[picture], QIcon::Normal);
    // Given explicitly, or the style would tint a face with the highlight colour.
    const int selected = selectedPicture > 0 && selectedPicture < ImageList2.size() ? selectedPicture : picture;
    icon.addPixmap(ImageList2[selected], QIcon::Selected);
    return icon;
}

int frmAdmin::shownView() const
{
    bool ok = false;
    const int view = TreeView1->property("tag").toString().toInt(&ok);
    return ok ? view : -1;
}

void frmAdmin::cboView_Click()
{
    if (cboView->currentIndex() >= 0)
        Show_View(cboView->currentIndex());
}

void frmAdmin::Show_View(int view)
{
    TreeView1->setProperty("tag", QString::number(view));
    TreeView1->clear();
    ListView1->clear();
    lblList->clear();
    chartView->clear();
    cboChartSubject->hide();
    m_listed = {};
    m_chartDue = false;
    m_phrases.clear();
    m_phraseStudents.clear();
    mnuExportList->setEnabled(false);
    mnuExportChart->setEnabled(false);
    // The phrases have no chart: their figures are the list.
    tabResults->setTabEnabled(ChartTab, view != PhraseView);
    Set_Columns(view);
    if (view == PhraseView) {
        Show_Phrases();
        return;
    }

    QString failure;
    {
        const WaitCursor wait;
        const ScoreTree tree = Read_Score_Tree(m_users, view);
        failure = tree.failure;
        // A view shows a few dozen pictures on thousands of nodes: each icon is made once and shared.
        QHash<QPair<int, int>, QIcon> icons;
        const auto iconOf = [&](const ScoreNode& node) {
            const QPair<int, int> key(node.picture, node.selectedPicture);
            auto icon = icons.find(key);
            if (icon == icons.end())
                icon = icons.insert(key, nodeIcon(node.picture, node.selectedPicture));
            return *icon;
        };
        // The children are the same under every node: each is made once and copied, and the copies share its text
        // and icon instead of building their own.
        std::vector<std::unique_ptr<QTreeWidgetItem>> childModels;
        childModels.reserve(tree.children.size());
        for (const ScoreNode& child : tree.children) {
            childModels.push_back(std::make_unique<QTreeWidgetItem>(QStringList { child.text }));
            childModels.back()->setIcon(0, iconOf(child));
        }
        QFont bold = TreeView1->font();
        bold.setBold(true);

        QList<QTreeWidgetItem*> tops;
        tops.reserve(tree.top.size() + 1);
        for (int j = 0; j < tree.top.size(); ++j) {
            auto* node = new QTreeWidgetItem(QStringList { tree.top[j].text });
            node->setIcon(0, iconOf(tree.top[j]));
            node->setFont(0, bold);
            if (view == StudentView && j == 0)
                node->setForeground(0, QColor(0, 0, 255));
            QList<QTreeWidgetItem*> children;
            children.reserve(tree.children.size());
            for (const auto& model : childModels)
                children.push_back(new QTreeWidgetItem(*model));
            // Filled before it joins the tree, so the view hears of each node once.
            node->addChildren(children);
            tops.push_back(node);
        }
        if (tree.placeholder)
            tops.push_back(placeholderNode(TreeView1, Caption(55)));
        TreeView1->addTopLevelItems(tops);
    }
    if (!failure.isEmpty())
        frmMsgBox::Show_Notice(m_session.ProductName, failure);
}

void frmAdmin::Set_Columns(int view)
{
    const bool phrases = view == PhraseView;
    // The score trees are names alone, a long one scrolling; a phrase has its figures beside it and a long one is
    // cut, whole in its tip.
    TreeView1->setColumnCount(phrases ? static_cast<int>(std::size(PhraseCaptions)) : 1);
    TreeView1->setHeaderHidden(!phrases);
    TreeView1->setRootIsDecorated(!phrases);
    QHeaderView* treeHeader = TreeView1->header();
    treeHeader->setSectionResizeMode(0, phrases ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
    if (phrases) {
        TreeView1->setHeaderLabels(captions(PhraseCaptions));
        for (int c = 1; c < TreeView1->columnCount(); ++c) {
            treeHeader->setSectionResizeMode(c, QHeaderView::ResizeToContents);
            TreeView1->headerItem()->setTextAlignment(c, Qt::AlignCenter);
        }
    }

    const QStringList headings = phrases
        ? captions(PhraseStudentCaptions)
        : QStringList { view < 0 ? QString() : Caption(First_Column_Caption(view)) } + captions(ResultCaptions);
    const std::span<const int> widths = phrases ? std::span<const int>(PhraseStudentWidths) : ColumnWidths;
    ListView1->setColumnCount(static_cast<int>(headings.size()));
    ListView1->setHeaderLabels(headings);
    for (int c = 0; c < ListView1->columnCount(); ++c) {
        ListView1->headerItem()->setTextAlignment(c, c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        ListView1->setColumnWidth(c, twips(widths[c]));
    }
    Fit_Columns();

    // A phrase with its three figures and a student with five need more room than the scores: the panes ask for
    // it and the window grows to give it, as far as the screen allows; the scores ask for their design's again.
    if (!phrases) {
        TreeView1->setMinimumWidth(twips(TreeMinimumWidth));
        ListView1->setMinimumWidth(twips(ListMinimumWidth));
        return;
    }
    const int edges = 2 * TreeView1->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int treeWidth = twips(PhraseMinimumWidth) + edges;
    for (int c = 1; c < TreeView1->columnCount(); ++c)
        treeWidth += treeHeader->sectionSizeHint(c);
    int listWidth = edges;
    for (int c = 0; c < ListView1->columnCount(); ++c)
        listWidth += ListView1->columnWidth(c);
    TreeView1->setMinimumWidth(std::max(treeWidth, twips(TreeMinimumWidth)));
    ListView1->setMinimumWidth(std::max(listWidth, twips(ListMinimumWidth)));
    resize(Fit_Size(this, size()));
}

void frmAdmin::Show_Phrases()
{
    const QLocale locale = Interface_Locale(m_session.InterfaceLanguage);
    QList<QTreeWidgetItem*> nodes;
    try {
        const WaitCursor wait;
        m_phrasesNow = platform::currentUtc();
        m_phrases = Class_Hardest_Phrases(m_users, m_phrasesNow);
        nodes.reserve(m_phrases.size());
        for (const ClassPhrase& phrase : m_phrases) {
            const QString text = m_phraseText(phrase.phrase);
            auto* node = new QTreeWidgetItem(QStringList { text, locale.toString(phrase.students),
                locale.toString(phrase.lapses), Percent_Text(phrase.meanRecall, locale) });
            node->setData(0, PhraseRole, phrase.phrase);
            node->setToolTip(0, platform::plainToolTip(text));
            for (int c = 1; c < TreeView1->columnCount(); ++c)
                node->setTextAlignment(c, Qt::AlignCenter);
            nodes.push_back(node);
        }
    } catch (const std::exception& e) {
        m_phrases.clear();
        Show_User_Database_Failure(m_session.ProductName, e, m_users.path);
        return;
    }
    if (nodes.isEmpty())
        nodes.push_back(placeholderNode(TreeView1, Caption(211)));
    TreeView1->addTopLevelItems(nodes);
    if (m_phrases.isEmpty()) {
        nodes.first()->setFirstColumnSpanned(true);
        return;
    }
    lblList->setText(Caption(210));
    m_listed = { PhraseView, QString(), QString() };
    mnuExportList->setEnabled(true);
}

void frmAdmin::Show_Phrase_Students(const QTreeWidgetItem* node)
{
    const QString identity = node->data(0, PhraseRole).toString();
    try {
        m_phraseStudents = Phrase_Students(m_users, identity, m_phrasesNow);
    } catch (const std::exception& e) {
        Show_User_Database_Failure(m_session.ProductName, e, m_users.path);
        return;
    }
    const QLocale locale = Interface_Locale(m_session.InterfaceLanguage);
    QList<QTreeWidgetItem*> items;
    items.reserve(m_phraseStudents.size());
    for (const StudentPhrase& student : m_phraseStudents) {
        const PhraseMemory& memory = student.memory;
        auto* item = new QTreeWidgetItem(QStringList { student.student, locale.toString(memory.state.reviews),
            locale.toString(memory.state.lapses), Percent_Text(memory.recall, locale),
            locale.toString(memory.state.due.toLocalTime().date(), QLocale::ShortFormat) });
        for (int c = 1; c < ListView1->columnCount(); ++c)
            item->setTextAlignment(c, Qt::AlignCenter);
        items.push_back(item);
    }
    ListView1->clear();
    ListView1->addTopLevelItems(items);
    Fit_Columns();
    lblList->setText(node->text(0));
    m_listed = { PhraseView, QString(), identity };
}

void frmAdmin::TreeView1_NodeClick(QTreeWidgetItem* node)
{
    if (!node || node->data(0, PlaceholderRole).toBool())
        return;
    if (shownView() == PhraseView) {
        Show_Phrase_Students(node);
        return;
    }
    if (!node->parent()) {
        node->setExpanded(!node->isExpanded());
        return;
    }
    try {
        const QString parentText = node->parent()->text(0);
        const QVector<ScoreLine> lines = Read_Score_Lines(m_users, shownView(), parentText, node->text(0));
        const QLocale locale = Interface_Locale(m_session.InterfaceLanguage);
        QList<QTreeWidgetItem*> items;
        items.reserve(lines.size());
        for (const ScoreLine& line : lines) {
            auto* item = new QTreeWidgetItem(
                QStringList { line.name, line.score, Score_Date_Text(line.date, locale), line.time });
            for (int c = 1; c < 4; ++c)
                item->setTextAlignment(c, Qt::AlignCenter);
            items.push_back(item);
        }
        ListView1->clear();
        ListView1->addTopLevelItems(items);
        Fit_Columns();
        lblList->setText(parentText + QStringLiteral("  \u203a  ") + node->text(0));
        m_listed = { shownView(), parentText, node->text(0) };
        mnuExportList->setEnabled(true);
        mnuExportChart->setEnabled(true);
        m_chartDue = true;
    } catch (const std::exception& e) {
        Show_User_Database_Failure(m_session.ProductName, e, m_users.path);
    }
    if (tabResults->currentIndex() == ChartTab)
        Draw_Due_Chart();
}

void frmAdmin::Draw_Due_Chart()
{
    if (!m_chartDue)
        return;
    m_chartDue = false;
    try {
        Show_Chart();
    } catch (const std::exception& e) {
        Show_User_Database_Failure(m_session.ProductName, e, m_users.path);
    }
}

// Exactly the results listed: over time by activity, or, where the list names students, each one's mean.
void frmAdmin::Show_Chart()
{
    cboChartSubject->setVisible(m_listed.view == StudentView);
    switch (m_listed.view) {
    case StudentView:
        Fill_Subject_Filter(*cboChartSubject, m_users, m_listed.parentText);
        Show_Student_Chart();
        break;
    case ActivityView:
        chartView->showMeans(lblList->text(), Pair_Means(m_users, m_listed.parentText, m_listed.nodeText));
        break;
    case SubjectView:
        chartView->showProgress(
            lblList->text(), Pair_Progress(m_users, SubjectView, m_listed.parentText, m_listed.nodeText));
        break;
    default:
        break;
    }
}

void frmAdmin::Show_Student_Chart()
{
    try {
        chartView->showProgress(lblList->text(),
            Pair_Progress(
                m_users, StudentView, m_listed.parentText, m_listed.nodeText, Filtered_Subject(*cboChartSubject)));
    } catch (const std::exception& e) {
        Show_User_Database_Failure(m_session.ProductName, e, m_users.path);
    }
}

void frmAdmin::btnClearDatabase_Click()
{
    platform::Dialogs& dialogs = *platform::services().dialogs;
    const QString title = Caption(56);
    const QString twoLines = QStringLiteral("\r\n\r\n");
    if (!dialogs.askYesNo(Caption(57) + QLatin1Char(' ') + m_session.ProductName + twoLines + Caption(58), title,
            platform::Icon::Question, platform::Answer::No))
        return;
    if (!dialogs.askYesNo(m_session.ProductName + QLatin1Char(' ') + Caption(59) + twoLines + Caption(60), title,
            platform::Icon::Warning, platform::Answer::No))
        return;
    QString outcome;
    try {
        outcome = Delete_User_Database(m_users.path);
    } catch (const std::exception& e) {
        outcome = User_Database_Failure(e, m_users.path);
    }
    if (outcome != QLatin1String("VALID")) {
        dialogs.message(outcome, title, platform::Icon::Critical);
        return;
    }
    frmMsgBox::Show_Notice(m_session.ProductName, Caption(61));
    reject();
    Q_EMIT quitRequested();
}

bool frmAdmin::Is_Removable(const QTreeWidgetItem* node) const
{
    return node && !node->parent() && shownView() == StudentView && node != TreeView1->topLevelItem(0)
        && !node->data(0, PlaceholderRole).toBool();
}

void frmAdmin::mnuRemoveStudent_Click(QTreeWidgetItem* node)
{
    if (!Is_Removable(node))
        return;
    const QString name = node->text(0);
    if (!platform::services().dialogs->askYesNo(Caption(175) + QStringLiteral("\r\n\r\n") + name, Caption(174),
            platform::Icon::Warning, platform::Answer::No))
        return;
    try {
        Remove_Student(m_users, name);
    } catch (const std::exception& e) {
        Show_User_Database_Failure(m_session.ProductName, e, m_users.path);
    }
    Show_View(StudentView);
}

QString frmAdmin::Export_Phrases(const QString& path, const ResultChoice& choice) const
{
    if (choice.nodeText.isEmpty())
        return Write_Csv(path, captions(PhraseCaptions), Class_Phrase_Rows(m_phrases, m_phraseText));
    return Write_Csv(path, captions(PhraseStudentCaptions), Phrase_Student_Rows(m_phraseStudents));
}

void frmAdmin::Fit_Columns()
{
    // The widths were made for a narrow system font; a date or header that would be cut widens its column.
    // Columns only grow, so that they do not jump from one listing to the next.
    for (int c = 0; c < ListView1->columnCount(); ++c) {
        const int before = ListView1->columnWidth(c);
        ListView1->resizeColumnToContents(c);
        ListView1->setColumnWidth(c, std::max(ListView1->columnWidth(c), before));
    }
}

void frmAdmin::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, *this, Background_Picture());
}
