#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWidget>

#include "common/statuslog.h"

// The start-up window with its status log; any key closes it while loading goes on.
class frmSplash : public QWidget, public StatusLog
{
    Q_OBJECT
public:
    explicit frmSplash(const QPixmap& logo);
    ~frmSplash() override;
    // The start-up window while it is showing, otherwise nullptr.
    static frmSplash* current();

    void Put_Status_Line(const QString& text) override;
    void Set_Status_Log(const QString& text) override;
    bool Status_Log_Visible() const override { return isVisible(); }
    // The whole log, newest line first, lines not drawn yet included.
    QString statusLogText() const;

    QLabel* lblVersion;
    QLabel* lblCopyRight;
    QLabel* imgLogo;
    QLabel* lblCatchyWord[2];
    QLabel* lblLoading;
    QPlainTextEdit* txtStatus;

Q_SIGNALS:
    // Without its background picture the window cannot be drawn: after the message it closes and the program
    // ends with exitCode.
    void quitRequested(int exitCode);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showLogNow();
    // The log is drawn at most once a frame: thousands of lines arrive faster than a screen shows them.
    QElapsedTimer m_lastDrawn;
    QTimer* m_pendingDraw;
    QString m_pendingLines;
};

QString Version_Text();
QString Catchy_Line();
