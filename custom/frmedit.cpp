#include "frmedit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "common/subjectfolders.h"
#include "common/captions.h"
#include "common/errorreport.h"
#include "common/tilebackground.h"
#include "custom/phrasetexts.h"
#include "platform/services.h"
#include "subjects/nodetag.h"
#include "subjects/subjectnames.h"
#include "subjects/treenode.h"

using platform::twips;

namespace {
const QString LabelStyle = QStringLiteral("font-size: 11pt; font-weight: bold; color: #1d3557;");

QLabel* fieldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(LabelStyle);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit* fieldBox(QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setStyleSheet(QStringLiteral("font-size: 11pt;"));
    box->setMinimumWidth(twips(6000));
    // "*" separates the fields of the node's tag; a text holding one would shift the fields after it.
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^*]*")), box));
    return box;
}

QPushButton* dialogButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setStyleSheet(QStringLiteral("font-size: 11pt; font-weight: bold; padding: 4px 16px;"));
    button->setMinimumWidth(twips(1500));
    return button;
}
}

frmEdit::frmEdit(const Session& session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
{
    setModal(true);
    setWindowTitle(Caption(111));

    lblPhrase = fieldLabel(Caption(109), this);
    txtPhrase = fieldBox(this);
    lblTranslation = fieldLabel(Caption(110), this);
    txtTranslation = fieldBox(this);
    Label1 = fieldLabel(Caption(172), this);
    txtTranslation2 = fieldBox(this);
    lblPhrase->setBuddy(txtPhrase);
    lblTranslation->setBuddy(txtTranslation);
    Label1->setBuddy(txtTranslation2);

    lblWarning = new QLabel(Caption(108), this);
    lblWarning->setWordWrap(true);
    lblWarning->setStyleSheet(QStringLiteral("font-size: 10pt; font-style: italic; color: #7a1f1f;"));

    btnOK = dialogButton(Caption(8), this);
    btnOK->setDefault(true);
    btnCancel = dialogButton(Caption(9), this);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOK_Click(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancel_Click(); });

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(twips(180));
    fields->setVerticalSpacing(twips(150));
    const std::pair<QLabel*, QLineEdit*> rows[]
        = { { lblPhrase, txtPhrase }, { lblTranslation, txtTranslation }, { Label1, txtTranslation2 } };
    for (int i = 0; i < 3; ++i) {
        fields->addWidget(rows[i].first, i, 0);
        fields->addWidget(rows[i].second, i, 1);
    }
    fields->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(twips(360), twips(360), twips(360), twips(300));
    layout->setSpacing(twips(240));
    layout->addLayout(fields);
    layout->addWidget(lblWarning);
    layout->addLayout(buttons);
}

void frmEdit::btnOK_Click()
{
    const NodeTag tag = NodeTag::parse(Tag);
    try {
        const QString folder = QFileInfo(Installed_Subject_Path(m_session, tag.field(0))).path() + QLatin1Char('/');
        m_stored = Store_Phrase_Texts(folder, tag.field(0), tag.number(1), txtPhrase->text(),
            txtTranslation->text(), txtTranslation2->text());
    } catch (const std::exception& e) {
        // The editor stays open with the typed texts; Cancel leaves.
        Error_Report(QStringLiteral("btnOK_Click"), failureDescription(e));
        return;
    }
    accept();
}

void frmEdit::btnCancel_Click() { reject(); }

void frmEdit::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, *this, Background_Picture());
}

void mnuEdit_Click(const Session& session, bool optionEnabled, QTreeWidgetItem* selectedPhrase, QWidget* parent)
{
    if (!optionEnabled) {
        platform::services().dialogs->message(Caption(113), session.ProductName, platform::Icon::Warning);
        return;
    }
    // Only a phrase carries the five fields that name its row; a folder or a subject has nothing to edit.
    if (!selectedPhrase || NodeTag::of(selectedPhrase).size() < 5)
        return;
    frmEdit editor(session, parent);
    editor.txtPhrase->setText(Tag_Item(2, selectedPhrase));
    editor.txtTranslation->setText(Tag_Item(3, selectedPhrase));
    editor.txtTranslation2->setText(Tag_Item(4, selectedPhrase));
    editor.Tag = nodeTag(selectedPhrase);
    if (editor.exec() == QDialog::Accepted)
        Show_Stored_Phrase(selectedPhrase, NodeTag::parse(editor.Tag).field(0), editor.stored());
}
