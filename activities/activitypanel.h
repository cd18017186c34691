#pragma once

#include <QObject>
#include <QPixmap>
#include <QVector>

class FileList;
class QLabel;
class QScrollBar;
class QWidget;
struct Session;

// The main window's panel of activity buttons: built from the activity programs and their settings files,
// with its pointer behaviour. It owns its widgets inside the holder the window places, and reports a click
// on a button as a launch request.
class ActivityPanel : public QObject
{
    Q_OBJECT
public:
    // Builds picActs, VScroll, btnAct(0) and lblMoreActs inside holder, at their design places.
    // The session's product names the messages about a settings file that cannot be read.
    ActivityPanel(QWidget* holder, const Session& session);

    // The settings step's part of the panel: its caption and the last activity index.
    void Get_Settings(const FileList& FileAct);
    void Get_Activities(const FileList& FileAct, const QString& ActivitiesDir, const QString& programCode);
    // Loads the normal and the highlighted picture of the activity at position (from 1) into ImgOFF and
    // ImgON, and the name a screen reader gives its button into ActName. On failure: two messages, the request
    // to end the program, and false.
    bool Get_Activity_Images(
        int position, const QString& programFile, const QString& settingsFile, const QString& column);

    // The keyboard reaches the buttons, then the "more activities" link, right after before.
    void Set_Tab_Order(QWidget* before);

    // Every button back to its normal picture.
    void Reset_Buttons();
    // Pointer moves over widget (the tree beside the panel) put the buttons back too.
    void watchArea(QWidget* widget);

    QWidget* PicActsHolder;
    QWidget* picActs;
    QScrollBar* VScroll;
    QLabel* lblMoreActs;
    QVector<QLabel*> btnAct;
    int LastActivityIndex = -1;
    // Pictures of activity i at index i + 1 (index 0 unused).
    QVector<QPixmap> ImgOFF;
    QVector<QPixmap> ImgON;
    QStringList ActName;

Q_SIGNALS:
    // A press and release on the same button: the window launches activity index.
    void activityClicked(int index);
    // The pointer moved over the panel or its area: the menu panel slides away.
    void pointerMoved();
    // An activity's settings file could not be read: the program ends with exitCode.
    void quitRequested(int exitCode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void watchPointer();
    void watchButton(QLabel* button);
    void showFrame(QLabel* label);
    void highlight(int index);
    void setUnderline(QLabel* label, bool underline);
    bool buttonEvent(int index, QEvent* event);
    bool moreActsEvent(QEvent* event);

    const Session& m_session;
    QVector<QObject*> m_areas;
    QVector<bool> m_lit;
    int m_pressed = -1;
};
