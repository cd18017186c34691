#include "frmprogress.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QVBoxLayout>

#include "common/captions.h"
#include "common/placement.h"
#include "common/sounds.h"
#include "common/tilebackground.h"
#include "platform/clock.h"
#include "platform/plaintooltip.h"
#include "platform/services.h"
#include "students/latestresults.h"
#include "students/phrasememory.h"
#include "students/resultstyle.h"
#include "students/scorecharts.h"
#include "students/scorechartview.h"
#include "students/scores.h"
#include "students/studycalendar.h"
#include "students/subjectfilter.h"
#include "students/userdbfailure.h"
#include "students/windowsize.h"

using platform::twips;

namespace {
constexpr int WindowWidth = 16500;
constexpr int WindowHeight = 10500;
constexpr int ChartWidth = 6000;
constexpr int ListWidth = 5100;
constexpr int HardestWidth = 6600; // the Spanish headings and some of the phrase
const QString Figure_Style = QStringLiteral("font-size: 18pt; font-weight: bold; color: #1d3557;");
// Text 199 stands where a per cent would, smaller as it is words.
const QString Figure_Words_Style = QStringLiteral("font-size: 10pt; font-weight: bold; color: #1d3557;");

// One figure over its caption in a pane of its own.
QFrame* figureTile(QWidget* parent, QLabel* value, int caption)
{
    auto* tile = new QFrame(parent);
    tile->setObjectName(QStringLiteral("figure"));
    tile->setStyleSheet(QStringLiteral("QFrame#figure { background: rgba(255,255,255,225); border: 1px solid #8aa5b8; "
                                       "border-radius: 6px; }"));
    value->setStyleSheet(Figure_Style);
    value->setWordWrap(true);
    // The words of text 199 take the height of a figure, so that the panes stay level.
    value->setMinimumHeight(value->sizeHint().height());
    // A screen reader says what the figure counts as well as the figure.
    value->setAccessibleDescription(Caption(caption));
    auto* words = new QLabel(Caption(caption), tile);
    words->setWordWrap(true);
    words->setStyleSheet(QStringLiteral("font-size: 9pt; color: #1d3557;"));
    auto* box = new QVBoxLayout(tile);
    box->setContentsMargins(twips(150), twips(90), twips(150), twips(105));
    box->setSpacing(0);
    value->setParent(tile);
    box->addWidget(value);
    box->addWidget(words, 1, Qt::AlignTop);
    return tile;
}

QLabel* heading(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setStyleSheet(Result_Heading_Style);
    return label;
}

// A list to read, not to choose from, of four columns: the first takes the room the others leave.
QTreeWidget* resultList(QWidget* parent, const char* name, int minimumWidth)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setColumnCount(4);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->header()->setSectionsMovable(false);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->setStyleSheet(Result_Pane_Style + Result_List_Style);
    list->setMinimumWidth(twips(minimumWidth));
    return list;
}
}

void Show_Progress_Window(QWidget* parent, const Session& session, const PhraseText& phraseText)
{
    frmProgress form(session, phraseText, parent);
    form.exec();
}

frmProgress::frmProgress(const Session& session, PhraseText phraseText, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_session(session)
    , m_phraseText(std::move(phraseText))
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

    lblLatest = heading(this, "lblLatest");
    lstLatest = resultList(this, "lstLatest", ListWidth);
    lblNoResults = new QLabel(this);
    lblNoResults->setObjectName(QStringLiteral("lblNoResults"));
    lblNoResults->setWordWrap(true);
    lblNoResults->setAlignment(Qt::AlignCenter);
    lblNoResults->setStyleSheet(QStringLiteral("font-size: 11pt; color: #1d3557; background: rgba(255,255,255,200); "
                                               "border: 1px solid #8aa5b8; border-radius: 6px; padding: 12px;"));
    lblNoResults->setMinimumWidth(twips(ListWidth));

    lblKnown = new QLabel(this);
    lblKnown->setObjectName(QStringLiteral("lblKnown"));
    lblDueToday = new QLabel(this);
    lblDueToday->setObjectName(QStringLiteral("lblDueToday"));
    lblRetention = new QLabel(this);
    lblRetention->setObjectName(QStringLiteral("lblRetention"));
    auto* figures = new QHBoxLayout;
    figures->setSpacing(twips(180));
    figures->addWidget(figureTile(this, lblKnown, 196), 1);
    figures->addWidget(figureTile(this, lblDueToday, 197), 1);
    figures->addWidget(figureTile(this, lblRetention, 198), 1);
    lblCalendar = heading(this, "lblCalendar");
    calStudyDays = new StudyCalendar(this);
    calStudyDays->setObjectName(QStringLiteral("calStudyDays"));
    lblHardest = heading(this, "lblHardest");
    lstHardest = resultList(this, "lstHardest", HardestWidth);

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
    auto* phrases = new QVBoxLayout;
    phrases->setSpacing(twips(120));
    phrases->addLayout(figures);
    phrases->addSpacing(twips(60));
    phrases->addWidget(lblCalendar);
    // Room to spare goes to the calendar, which stands in the middle of it, not into the panes of figures.
    phrases->addWidget(calStudyDays, 1);
    layout->addLayout(phrases, 2, 0);
    auto* hardest = new QVBoxLayout;
    hardest->setSpacing(twips(120));
    hardest->addWidget(lblHardest);
    hardest->addWidget(lstHardest, 1);
    layout->addLayout(hardest, 2, 1);
    layout->addWidget(btnClose, 3, 1, Qt::AlignRight);
    layout->setRowStretch(1, 1);
    // The calendar's 53 weeks take the wider share.
    layout->setColumnStretch(0, 56);
    layout->setColumnStretch(1, 44);
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
    lblCalendar->setText(Caption(200));
    calStudyDays->setAccessibleName(Caption(200));
    lblHardest->setText(Caption(201));
    lstHardest->setAccessibleName(Caption(201));
    lstHardest->setHeaderLabels({ Caption(204), Caption(207), Caption(208), Caption(209) });
    for (QTreeWidget* list : { lstLatest, lstHardest }) {
        for (int c = list == lstLatest ? 2 : 1; c < 4; ++c)
            list->headerItem()->setTextAlignment(c, Qt::AlignCenter);
    }
    const QDateTime now = platform::currentUtc();
    QVector<LatestResult> latest;
    ProgressFigures figures;
    // One notice when the user database cannot be read, not one per part of the window.
    try {
        Fill_Subject_Filter(*cboSubject, m_users, m_student);
        latest = Latest_Results(m_users, m_student, LatestCount);
        Draw_Chart();
        figures = Progress_Figures(Phrase_Memory(m_users, m_student, now), now);
    } catch (const std::exception& e) {
        chartView->clear();
        Show_User_Database_Failure(m_session.ProductName, e, m_users.path);
    }
    Show_Latest(latest);
    Show_Phrases(figures, now);
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

void frmProgress::Show_Phrases(const ProgressFigures& figures, const QDateTime& now)
{
    const QLocale locale = Interface_Locale(m_session.InterfaceLanguage);
    lblKnown->setText(locale.toString(figures.known));
    lblDueToday->setText(locale.toString(figures.dueToday));
    const std::optional<double> retention = figures.retention();
    lblRetention->setText(retention ? Percent_Text(*retention, locale) : Caption(199));
    lblRetention->setStyleSheet(retention ? Figure_Style : Figure_Words_Style);
    // The figures count the student's days in the system's zone, and so does the calendar.
    calStudyDays->setDays(figures.studyDays, now.toLocalTime().date(), locale);
    lstHardest->clear();
    for (const PhraseMemory& phrase : figures.hardest) {
        const QString text = m_phraseText(phrase.phrase);
        auto* item = new QTreeWidgetItem(
            QStringList { text, locale.toString(phrase.state.lapses), Percent_Text(phrase.recall, locale),
                locale.toString(phrase.state.due.toLocalTime().date(), QLocale::ShortFormat) });
        item->setToolTip(0, platform::plainToolTip(text));
        for (int c = 1; c < 4; ++c)
            item->setTextAlignment(c, Qt::AlignCenter);
        lstHardest->addTopLevelItem(item);
    }
    // Every phrase listed is in sight; the chart above gives up the room.
    lstHardest->setMinimumHeight(lstHardest->header()->sizeHint().height()
        + lstHardest->topLevelItemCount() * lstHardest->sizeHintForRow(0) + 2 * lstHardest->frameWidth());
}

void frmProgress::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, *this, Background_Picture());
}
