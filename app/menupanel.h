#pragma once

#include <QCursor>
#include <QLabel>
#include <QVector>
#include <QWidget>

#include "common/templatetexts.h"

// The pointing hand shown over link labels.
QCursor Link_Cursor();

// The menu panel of online links at the main window's left edge: entry 0 exists by design, the others
// are copies of it, each 750 twips below the one before.
class MenuPanel
{
public:
    static constexpr int EntrySpacing = 750;
    static constexpr int DesignWidth = 3885;
    static constexpr int DesignHeight = 9765;
    static constexpr int DesignTop = -120;

    explicit MenuPanel(QWidget* picMenu);
    // Fills the entries from the template rows; keeps the index of the last entry (-1 without rows).
    void Get_Menu_Links(const QVector<MenuLink>& links, const QString& siteAddress);
    int lastIndex() const { return m_lastIndex; }

    QWidget* picMenu;
    QVector<QLabel*> lblMenu;
    QVector<QLabel*> imgMenu;

private:
    void createEntry(int i);
    int m_lastIndex = -1;
};
