#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>

// The start-up window with its status log; any key closes it while loading goes on.
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplash(const QPixmap& logo);
    ~frmSplash() override;
    // The start-up window while it is showing, otherwise nullptr.
    static frmSplash* current();

    void Put_Status_Line(const QString& text);
    void Set_Status_Log(const QString& text);

    QLabel* lblVersion;
    QLabel* lblCopyRight;
    QLabel* imgLogo;
    QLabel* lblCatchyWord[2];
    QLabel* lblLoading;
    QPlainTextEdit* txtStatus;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

QString Version_Text();
QString Catchy_Line();
