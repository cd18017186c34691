#pragma once

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QSize>
#include <QWidget>

// The height text takes in font, in lines of width centred one under the other. Lines break between words, and
// inside a word only where the word is wider than a line (a folder path, a web address); CR LF starts a line.
int Message_Text_Height(const QString& text, const QFont& font, int width);
// The largest point size from font's own down to MinimumMessagePoints at which text fits into area; the smallest
// when none does.
constexpr int MinimumMessagePoints = 7;
int Fitting_Font_Size(const QString& text, QFont font, const QSize& area);

// The program's own message window: a notice confirmed with OK, or a busy notice that its caller takes
// down. One shared instance; after each unload the next use gets the design values again.
class frmMsgBox : public QWidget
{
    Q_OBJECT
public:
    static constexpr int DesignHeight = 3600; // twips; shows btnOK
    static constexpr int BusyHeight = 2000;

    // The shared window, created with its design values when it is not loaded.
    static frmMsgBox* instance();
    static bool isLoaded();
    // The shown window, or nullptr.
    static frmMsgBox* showing();

    // Notice: shown modally until OK.
    static void Show_Notice(const QString& caption, const QString& text, int fontSize = 0);
    // Busy notice: shown without OK; the caller unloads it when done.
    static void Show_Busy(const QString& caption, const QString& text, int heightTwips = BusyHeight, int fontSize = 0);
    static void Unload();

    void setHeightTwips(int height);
    void setMessage(const QString& text);
    // The size asked for; a message too long for the window at that size is shown smaller.
    void setFontSize(int points);

    QLabel* lblMsg;
    QPushButton* btnOK;

Q_SIGNALS:
    // The window is being unloaded (OK, the close button or its caller).
    void unloading();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    frmMsgBox();
    void btnOK_Click();
    void placeOK();
    void fitMessage();
    void placeOverActiveWindow();

    int m_fontSize;
};
