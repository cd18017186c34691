#pragma once

class frmMain;

// The main window's settings step and its panel of activity buttons.
class ActivityPanel
{
public:
    explicit ActivityPanel(frmMain& window);
    void Get_Settings();
    void Get_Activities();

private:
    frmMain& m_window;
};
