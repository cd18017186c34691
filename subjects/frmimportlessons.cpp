#include "frmimportlessons.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "common/captions.h"
#include "common/filelist.h"
#include "common/placement.h"
#include "common/textbutton.h"
#include "common/subjectfolders.h"
#include "platform/services.h"

using platform::twips;

namespace {
constexpr int ImportButtonCaption = 240;
constexpr int PreviewCount = 10;
// Messages list this many of the notes left out; a deck of thousands could otherwise fill the screen.
constexpr int ListedProblems = 15;
const QString HeadingStyle = QStringLiteral("font-size: 11pt; font-weight: bold; color: #1d3557;");

QString importTitle() { return Caption(ImportButtonCaption).remove(QStringLiteral("...")); }

QPushButton* makeButton(QWidget* parent, const QString& name, int caption)
{
    return Make_Text_Button(parent, name, Caption(caption));
}

QLabel* makeHeading(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setStyleSheet(HeadingStyle);
    return label;
}

QString soundWords(lessons::ImportedPhrase::Sound origin)
{
    switch (origin) {
    case lessons::ImportedPhrase::Sound::FromDeck:
        return Caption(250);
    case lessons::ImportedPhrase::Sound::Spoken:
        return Caption(251);
    case lessons::ImportedPhrase::Sound::None:
        break;
    }
    return Caption(252);
}

// The first messages, one a line, and how many more there are.
QString listed(const QStringList& messages)
{
    QStringList lines = messages.mid(0, ListedProblems);
    if (messages.size() > ListedProblems)
        lines << QStringLiteral("… (+%1)").arg(messages.size() - ListedProblems);
    return lines.join(QLatin1Char('\n'));
}

// Subjects of the imported lessons' folder, the program's folder and the data folder all share one list in the
// tree, so a new file may take none of their names.
QStringList takenNames(const Session& session)
{
    FileList list;
    list.setPaths(Installed_Subject_Folders(session));
    list.setPattern(QStringLiteral("*.") + session.SubjectExtension);
    list.refresh();
    return list.names();
}
}

frmImportLessons::frmImportLessons(const Session& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmImportLessons"));
    setModal(true);
    setWindowTitle(importTitle());
    buildControls();
    connect(&m_reading, &QFutureWatcher<lessons::Deck>::finished, this, &frmImportLessons::Deck_Read);
    connect(&m_importing, &QFutureWatcher<ImportResult>::finished, this, &frmImportLessons::Import_Done);
    const QRect available = screen()->availableGeometry();
    resize(QSize(twips(11400), twips(7800)).boundedTo(available.size() * 0.95));
    Center_On_Screen(this);
    Set_Busy(false);
}

frmImportLessons::~frmImportLessons()
{
    // The worker may still hold the deck and write into the folder: it stops at its next note and is waited for,
    // so that nothing is left half-written behind a closed window.
    if (m_cancel)
        *m_cancel = true;
    m_reading.waitForFinished();
    m_importing.waitForFinished();
}

void frmImportLessons::reject()
{
    // Closing while an import runs cancels it and waits for its outcome, which says what was written (nothing).
    if (m_importing.isRunning()) {
        if (m_cancel)
            *m_cancel = true;
        return;
    }
    if (!m_busy)
        QDialog::reject();
}

void frmImportLessons::buildControls()
{
    lblFile = new QLabel(Caption(241), this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    txtFile = new QLineEdit(this);
    txtFile->setObjectName(QStringLiteral("txtFile"));
    txtFile->setReadOnly(true);
    btnChoose = makeButton(this, QStringLiteral("btnChoose"), 242);
    connect(btnChoose, &QPushButton::clicked, this, &frmImportLessons::btnChoose_Click);

    lblFields = makeHeading(this, QStringLiteral("lblFields"), Caption(259));
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(twips(180));
    fields->setVerticalSpacing(twips(90));
    const std::pair<QComboBox**, int> boxes[]
        = { { &cboPhrase, 243 }, { &cboTranslation, 244 }, { &cboTranslation2, 245 }, { &cboSound, 246 } };
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(Caption(boxes[i].second) + QLatin1Char(':'), this);
        auto* box = new QComboBox(this);
        box->setObjectName(QStringLiteral("cboField%1").arg(i + 1));
        box->setAccessibleName(Caption(boxes[i].second));
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(16);
        label->setBuddy(box);
        *boxes[i].first = box;
        fields->addWidget(label, i / 2, (i % 2) * 2);
        fields->addWidget(box, i / 2, (i % 2) * 2 + 1);
        connect(box, &QComboBox::activated, this, &frmImportLessons::Show_Preview);
    }
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    chkSpeak = new QCheckBox(Caption(248), this);
    chkSpeak->setObjectName(QStringLiteral("chkSpeak"));
    chkSpeak->setChecked(true);
    connect(chkSpeak, &QCheckBox::toggled, this, &frmImportLessons::Show_Preview);

    lblPreview = makeHeading(this, QStringLiteral("lblPreview"), Caption(260));
    lstPreview = new QTreeWidget(this);
    lstPreview->setObjectName(QStringLiteral("lstPreview"));
    lstPreview->setAccessibleName(Caption(260));
    lstPreview->setRootIsDecorated(false);
    lstPreview->setSelectionMode(QAbstractItemView::NoSelection);
    lstPreview->setHeaderLabels({ Caption(243), Caption(244), Caption(245), Caption(246) });
    lstPreview->header()->setSectionResizeMode(QHeaderView::Stretch);
    lstPreview->header()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);
    barProgress = new QProgressBar(this);
    barProgress->setObjectName(QStringLiteral("barProgress"));
    barProgress->setTextVisible(true);

    btnImport = makeButton(this, QStringLiteral("btnImport"), 249);
    btnImport->setDefault(true);
    connect(btnImport, &QPushButton::clicked, this, &frmImportLessons::btnImport_Click);
    btnClose = makeButton(this, QStringLiteral("btnClose"), 165);
    connect(btnClose, &QPushButton::clicked, this, &frmImportLessons::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(twips(360), twips(270), twips(360), twips(300));
    layout->setSpacing(twips(150));
    auto* fileRow = new QHBoxLayout;
    fileRow->setSpacing(twips(180));
    fileRow->addWidget(lblFile);
    fileRow->addWidget(txtFile, 1);
    fileRow->addWidget(btnChoose);
    layout->addLayout(fileRow);
    layout->addWidget(lblFields);
    layout->addLayout(fields);
    layout->addWidget(chkSpeak);
    layout->addWidget(lblPreview);
    layout->addWidget(lstPreview, 1);
    layout->addWidget(lblSummary);
    layout->addWidget(barProgress);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnImport);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
}

void frmImportLessons::btnChoose_Click()
{
    const QString filter = Caption(253) + QStringLiteral(" (*.apkg *.colpkg *.kvtml *.csv *.tsv *.txt)");
    const QString path = platform::services().dialogs->openFileName(importTitle(), QDir::homePath(), filter);
    if (!path.isEmpty())
        Open_File(path);
}

void frmImportLessons::Open_File(const QString& path)
{
    txtFile->setText(QDir::toNativeSeparators(path));
    m_deck.reset();
    lstPreview->clear();
    lblSummary->clear();
    Set_Busy(true);
    barProgress->setRange(0, 0);
    m_reading.setFuture(QtConcurrent::run([path] { return lessons::readDeck(path); }));
}

void frmImportLessons::Deck_Read()
{
    auto deck = std::make_shared<lessons::Deck>(m_reading.result());
    if (deck->outcome.ok() && !deck->notes.isEmpty())
        m_deck = std::move(deck);
    Set_Busy(false);
    if (!m_deck) {
        QStringList reasons = deck->outcome.errors;
        if (reasons.isEmpty())
            reasons << deck->outcome.warnings;
        lblSummary->setText(Caption(256) + QLatin1Char('\n') + listed(reasons));
        Fill_Fields();
        Q_EMIT settled();
        return;
    }
    Fill_Fields();
    Show_Preview();
    Show_Summary();
    Q_EMIT settled();
}

void frmImportLessons::Fill_Fields()
{
    const lessons::FieldMapping guess
        = m_deck ? lessons::guessMapping(*m_deck, m_session.ProgramCode) : lessons::FieldMapping {};
    const std::pair<QComboBox*, int> boxes[] = { { cboPhrase, guess.phrase }, { cboTranslation, guess.translation },
        { cboTranslation2, guess.translation2 }, { cboSound, guess.sound } };
    for (const auto& [box, chosen] : boxes) {
        box->clear();
        box->addItem(Caption(247), -1);
        if (m_deck) {
            for (int i = 0; i < m_deck->fieldNames.size(); ++i)
                box->addItem(m_deck->fieldNames[i], i);
        }
        box->setCurrentIndex(qMax(0, box->findData(chosen)));
    }
}

lessons::FieldMapping frmImportLessons::chosenMapping() const
{
    lessons::FieldMapping mapping;
    mapping.phrase = cboPhrase->currentData().toInt();
    mapping.translation = cboTranslation->currentData().toInt();
    mapping.translation2 = cboTranslation2->currentData().toInt();
    mapping.sound = cboSound->currentData().toInt();
    return mapping;
}

void frmImportLessons::Show_Preview()
{
    lstPreview->clear();
    if (!m_deck)
        return;
    QList<QTreeWidgetItem*> rows;
    for (const lessons::ImportedPhrase& phrase : lessons::previewPhrases(*m_deck, chosenMapping(), PreviewCount)) {
        auto origin = phrase.origin;
        if (origin == lessons::ImportedPhrase::Sound::Spoken && !chkSpeak->isChecked())
            origin = lessons::ImportedPhrase::Sound::None;
        auto* row = new QTreeWidgetItem(
            QStringList { phrase.phrase, phrase.translation, phrase.translation2, soundWords(origin) });
        row->setToolTip(0, phrase.where);
        rows << row;
    }
    lstPreview->addTopLevelItems(rows);
}

void frmImportLessons::Show_Summary()
{
    QSet<QString> lessonNames;
    for (const lessons::DeckNote& note : m_deck->notes)
        lessonNames.insert(lessons::lessonOf(note, *m_deck));
    QString text = Caption(254).arg(m_deck->notes.size()).arg(lessonNames.size());
    if (!m_deck->outcome.warnings.isEmpty())
        text += QLatin1Char('\n') + Caption(258) + QLatin1Char('\n') + listed(m_deck->outcome.warnings);
    lblSummary->setText(text);
}

void frmImportLessons::btnImport_Click()
{
    if (!m_deck || m_busy)
        return;
    lessons::ImportOptions options;
    options.mapping = chosenMapping();
    options.programCode = m_session.ProgramCode;
    options.speakMissing = chkSpeak->isChecked();
    const QString folder = m_session.ImportedSubjectsDir;
    const QStringList taken = takenNames(m_session);
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_cancel = cancel;
    Set_Busy(true);
    barProgress->setRange(0, static_cast<int>(m_deck->notes.size()));
    barProgress->setValue(0);
    btnClose->setText(Caption(9));
    btnClose->setEnabled(true);
    const QPointer<frmImportLessons> window(this);
    m_importing.setFuture(QtConcurrent::run([deck = m_deck, options, folder, taken, cancel, window] {
        int shown = -1;
        const lessons::ImportPlan plan = lessons::planImport(*deck, options, [&](int done, int total) {
            // A hundred steps are enough for a bar; one message per note would flood the window's queue.
            const int step = total > 0 ? done * 100 / total : 100;
            if (step != shown && window) {
                shown = step;
                QMetaObject::invokeMethod(window, [window, done] {
                    if (window)
                        window->barProgress->setValue(done);
                });
            }
            return !*cancel;
        });
        ImportResult result;
        result.outcome = plan.outcome;
        result.cancelled = *cancel;
        if (!plan.outcome.ok() || result.cancelled)
            return result;
        if (!QDir().mkpath(folder)) {
            result.outcome.errors << QStringLiteral("%1: cannot make the folder").arg(QDir::toNativeSeparators(folder));
            return result;
        }
        result.outcome.merge(lessons::writeImport(plan, folder, taken, &result.written));
        return result;
    }));
}

void frmImportLessons::Import_Done()
{
    const ImportResult result = m_importing.result();
    m_cancel.reset();
    btnClose->setText(Caption(165));
    Set_Busy(false);
    QString text;
    platform::Icon icon = platform::Icon::Information;
    if (!result.outcome.ok() || result.cancelled || result.written.isEmpty()) {
        text = Caption(256);
        if (!result.outcome.errors.isEmpty())
            text += QStringLiteral("\n\n") + listed(result.outcome.errors);
        icon = platform::Icon::Warning;
    } else {
        m_imported << result.written;
        text = Caption(255).arg(result.written.size()).arg(QDir::toNativeSeparators(m_session.ImportedSubjectsDir));
    }
    if (!result.outcome.warnings.isEmpty())
        text += QStringLiteral("\n\n") + Caption(258) + QLatin1Char('\n') + listed(result.outcome.warnings);
    lblSummary->setText(text);
    platform::services().dialogs->message(text, importTitle(), icon);
    Q_EMIT settled();
}

void frmImportLessons::Set_Busy(bool busy)
{
    m_busy = busy;
    btnChoose->setEnabled(!busy);
    btnImport->setEnabled(!busy && m_deck);
    for (QWidget* w : std::initializer_list<QWidget*> { cboPhrase, cboTranslation, cboTranslation2, cboSound, chkSpeak })
        w->setEnabled(!busy && m_deck);
    btnClose->setEnabled(!busy || m_importing.isRunning());
    barProgress->setVisible(busy);
}

bool Show_Import_Lessons_Window(QWidget* parent, const Session& session)
{
    frmImportLessons form(session, parent);
    form.exec();
    return !form.importedNames().isEmpty();
}
