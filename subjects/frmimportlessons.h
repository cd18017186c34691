#pragma once

#include <atomic>
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFutureWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include "common/session.h"
#include "platform/lessons/deck.h"
#include "platform/lessons/lessonimport.h"

// The administrator's way in for lessons kept in other programs: an Anki package, a KVTML file or a spreadsheet is
// read, its fields are matched to the parts of a phrase with a preview of the first phrases, and the import writes
// its subjects into the session's folder for imported lessons, all of them or none. Reading and importing run away
// from the window's thread, so a deck of thousands of sounds neither freezes the window nor stops Cancel.
class frmImportLessons : public QDialog
{
    Q_OBJECT
public:
    explicit frmImportLessons(const Session& session, QWidget* parent = nullptr);
    ~frmImportLessons() override;

    // Asks for a file and reads it.
    void btnChoose_Click();
    // Reads path as the chosen file; the window shows its fields and preview when the reading is done.
    void Open_File(const QString& path);
    void btnImport_Click();
    // The file names written by the imports of this window, in order.
    const QStringList& importedNames() const { return m_imported; }
    // Close, Escape and the title bar's button: cancels a running import instead of closing.
    void reject() override;
    // While a file is read or imported.
    bool isBusy() const { return m_busy; }

Q_SIGNALS:
    // After a reading or an import has ended and its outcome shows.
    void settled();

private:
    void buildControls();
    void Fill_Fields();
    void Show_Preview();
    void Show_Summary();
    void Deck_Read();
    void Import_Done();
    void Set_Busy(bool busy);
    lessons::FieldMapping chosenMapping() const;

    Session m_session;
    std::shared_ptr<const lessons::Deck> m_deck;
    QFutureWatcher<lessons::Deck> m_reading;
    struct ImportResult
    {
        lessons::Outcome outcome;
        QStringList written;
        bool cancelled = false;
    };
    QFutureWatcher<ImportResult> m_importing;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    QStringList m_imported;
    bool m_busy = false;

    QLabel* lblFile;
    QLineEdit* txtFile;
    QPushButton* btnChoose;
    QLabel* lblFields;
    QComboBox* cboPhrase;
    QComboBox* cboTranslation;
    QComboBox* cboTranslation2;
    QComboBox* cboSound;
    QCheckBox* chkSpeak;
    QLabel* lblPreview;
    QTreeWidget* lstPreview;
    QLabel* lblSummary;
    QProgressBar* barProgress;
    QPushButton* btnImport;
    QPushButton* btnClose;
};

// Shows the import window; true when it imported any subject, so the caller lists them.
bool Show_Import_Lessons_Window(QWidget* parent, const Session& session);
