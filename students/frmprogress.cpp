#include "frmprogress.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QPainter>

#include "common/captions.h"
#include "common/placement.h"
#include "common/sounds.h"
#include "common/tilebackground.h"
#include "platform/plaintooltip.h"
#include "platform/services.h"
#include "students/latestresults.h"
#include "students/resultstyle.h"
#include "students/scorecharts.h"
#include "students/scorechartview.h"
#include "students/scores.h"
#include "students/subjectfilter.h"
#include "students/userdbfailure.h"
#include "students/windowsize.h"

using platform::twips;

namespace {
constexpr int WindowWidth = 11700;
constexpr int WindowHeight = 6600;
constexpr int ChartWidth = 6000;
constexpr int ListWidth = 5100;
}

void Show_Progress_Window(QWidget* parent, const Session& session)
{
    frmProgress form(session, parent);
    form.exec();
}

frmProgress::frmProgress(const Session& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_session(session)
    , m_users(Users_Of(session))
    , m_student(session.CurrentStudent)
{
    setModal(true);
    buildControls();
    Form_Load();
    resize(Fit_Size(this, QSize(twips(WindowWidth), twips(WindowHeight))));
    Center_On_Screen(this);
}

void frmProgress::buildControls()
{
    setObjectName(QStringLiteral("frmProgress"));

    lblStudent = new QLabel(this);
    lblStudent->setObjectName(QStringLiteral("lblStudent"));
    lblStudent->setStyleSheet(Result_Heading_Style);
    lblStudent->setTextFormat(Qt::PlainText); // a name as typed, whatever it looks like
    // A long name is cut at the label's end instead of widening the window.
    lblStudent->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    cboSubject = new QComboBox(this);
    cboSubject->setObjectName(QStringLiteral("cboSubject"));
    cboSubject->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(cboSubject, &QComboBox::activated, this, [this] { cboSubject_Click(); });
    chartView = new ScoreChartView(Interface_Locale(m_session.InterfaceLanguage), this);
    chartView->setMinimumSize(twips(ChartWidth), twips(4200));

    lblLatest = new QLabel(this);
    lblLatest->setObjectName(QStringLiteral("lblLatest"));
    lblLatest->setStyleSheet(Result_Heading_Style);
    lstLatest = new QTreeWidget(this);
    lstLatest->setObjectName(QStringLiteral("lstLatest"));
    lstLatest->setColumnCount(4);
    lstLatest->setRootIsDecorated(false);
    lstLatest->setUniformRowHeights(true);
    lstLatest->setAlternatingRowColors(true);
    lstLatest->setSelectionMode(QAbstractItemView::NoSelection);
    lstLatest->setFocusPolicy(Qt::NoFocus);
    lstLatest->header()->setSectionsMovable(false);
    lstLatest->header()->setStretchLastSection(false);
    lstLatest->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstLatest->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lstLatest->setStyleSheet(Result_Pane_Style + Result_List_Style);
    lstLatest->setMinimumWidth(twips(ListWidth));
    lblNoResults = new QLabel(this);
    lblNoResults->setObjectName(QStringLiteral("lblNoResults"));
    lblNoResults->setWordWrap(true);
    lblNoResults->setAlignment(Qt::AlignCenter);
    lblNoResults->setStyleSheet(QStringLiteral("font-size: 11pt; color: #1d3557; background: rgba(255,255,255,200); "
                                               "border: 1px solid #8aa5b8; border-radius: 6px; padding: 12px;"));
    lblNoResults->setMinimumWidth(twips(ListWidth));

    btnClose = new QPushButton(this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setStyleSheet(QStringLiteral("font-size: 10pt; padding: 0 12px;"));
    btnClose->setMinimumSize(twips(1800), twips(480));
    btnClose->setDefault(true);
    connect(btnClose, &QPushButton::pressed, this, [] { Play_Click(); });
    connect(btnClose, &QPushButton::released, this, [] { Play_Click(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(twips(360), twips(270), twips(360), twips(300));
    layout->setHorizontalSpacing(twips(240));
    layout->setVerticalSpacing(twips(120));
    layout->addWidget(lblStudent, 0, 0);
    layout->addWidget(cboSubject, 0, 0, Qt::AlignRight);
    layout->addWidget(lblLatest, 0, 1);
    layout->addWidget(chartView, 1, 0);
    layout->addWidget(lstLatest, 1, 1);
    layout->addWidget(lblNoResults, 1, 1);
    layout->addWidget(btnClose, 2, 1, Qt::AlignRight);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, ChartWidth);
    layout->setColumnStretch(1, ListWidth);
}

void frmProgress::Form_Load()
{
    setWindowTitle(Caption(162) + QStringLiteral(" \u2013 ") + m_student);
    lblStudent->setText(m_student);
    lblLatest->setText(Caption(163));
    // A screen reader names a list by its own name only, not by the heading above it.
    lstLatest->setAccessibleName(Caption(163));
    lblNoResults->setText(Caption(164));
    btnClose->setText(Caption(165));
    lstLatest->setHeaderLabels({ Caption(10), Caption(46), Caption(47), Caption(48) });
    for (int c = 2; c < 4; ++c)
        lstLatest->headerItem()->setTextAlignment(c, Qt::AlignCenter);
    QVector<LatestResult> latest;
    // One notice when the user database cannot be read, not one per part of the window.
    try {
        Fill_Subject_Filter(*cboSubject, m_users, m_student);
        latest = Latest_Results(m_users, m_student, LatestCount);
        Draw_Chart();
    } catch (const std::exception& e) {
        chartView->clear();
        Show_User_Database_Failure(m_session.ProductName, e, m_users.path);
    }
    Show_Latest(latest);
}

void frmProgress::cboSubject_Click()
{
    try {
        Draw_Chart();
    } catch (const std::exception& e) {
        chartView->clear();
        Show_User_Database_Failure(m_session.ProductName, e, m_users.path);
    }
}

void frmProgress::Draw_Chart()
{
    // The student's name heads the window already; the chart is titled by what it draws.
    chartView->showProgress(
        cboSubject->currentText(), Student_Progress(m_users, m_student, Filtered_Subject(*cboSubject)));
}

void frmProgress::Show_Latest(const QVector<LatestResult>& results)
{
    const QLocale locale = Interface_Locale(m_session.InterfaceLanguage);
    lstLatest->clear();
    for (const LatestResult& result : results) {
        auto* item = new QTreeWidgetItem(
            QStringList { result.subject, result.activity, result.score, Score_Date_Text(result.date, locale) });
        // A long subject is cut in its column; the whole name is a hover away.
        item->setToolTip(0, platform::plainToolTip(result.subject));
        item->setToolTip(3, platform::plainToolTip(result.time));
        for (int c = 2; c < 4; ++c)
            item->setTextAlignment(c, Qt::AlignCenter);
        lstLatest->addTopLevelItem(item);
    }
    lstLatest->setVisible(!results.isEmpty());
    lblNoResults->setVisible(results.isEmpty());
    cboSubject->setVisible(!results.isEmpty());
}

void frmProgress::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, *this, Background_Picture());
}
