#pragma once

#include <functional>

#include <QObject>
#include <QPixmap>
#include <QVector>

class QLabel;
class frmMain;

// The main window's settings step and its panel of activity buttons: building the buttons from the
// activity programs and their settings files, and the pointer behaviour of the panel.
class ActivityPanel : public QObject
{
    Q_OBJECT
public:
    explicit ActivityPanel(frmMain& window);
    void Get_Settings();
    void Get_Activities();
    // Loads the normal and the highlighted picture of the activity at position (from 1) into ImgOFF and
    // ImgON. On failure: two messages and the end of the program; false if the end returns.
    bool Get_Activity_Images(int position, const QString& settingsFile, const QString& column);

    // Every button back to its normal picture.
    void Reset_Buttons();

    // How the program ends after the settings-file failure; tests replace it to watch.
    void setEndProgram(std::function<void()> end) { m_endProgram = std::move(end); }

    // Pictures of activity i at index i + 1 (index 0 unused).
    QVector<QPixmap> ImgOFF;
    QVector<QPixmap> ImgON;

public Q_SLOTS:
    void btnAct_Click(int index);

Q_SIGNALS:
    // A press and release on the same button.
    void activityClicked(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void launch(int index);
    void watchPointer();
    void watchButton(QLabel* button);
    void highlight(int index);
    void startHidingMenu();
    void setUnderline(QLabel* label, bool underline);
    bool buttonEvent(int index, QEvent* event);

    frmMain& m_window;
    std::function<void()> m_endProgram;
    QVector<bool> m_lit;
    int m_pressed = -1;
};
