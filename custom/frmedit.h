#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/session.h"
#include "subjects/subjectfile.h"

class QTreeWidgetItem;

// The administrator's editor of the three texts of one installed phrase. Sounds stay out of its reach.
class frmEdit : public QDialog
{
    Q_OBJECT
public:
    // Stores into the session's installed subjects.
    explicit frmEdit(const Session& session, QWidget* parent = nullptr);
    void btnOK_Click();
    void btnCancel_Click();
    // The row as stored by OK.
    const PhraseRow& stored() const { return m_stored; }

    // The phrase tag of the node being edited: source file * phrase number * the three texts.
    QString Tag;

    QLabel* lblPhrase;
    QLineEdit* txtPhrase;
    QLabel* lblTranslation;
    QLineEdit* txtTranslation;
    QLabel* Label1;
    QLineEdit* txtTranslation2;
    QLabel* lblWarning;
    QPushButton* btnOK;
    QPushButton* btnCancel;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Session m_session;
    PhraseRow m_stored;
};

// The main window's phrase popup command: for the administrator (optionEnabled) the editor on the selected
// phrase node, whose text and tag show the stored row after OK; for anyone else interface text 113.
void mnuEdit_Click(const Session& session, bool optionEnabled, QTreeWidgetItem* selectedPhrase, QWidget* parent);
