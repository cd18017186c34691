#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The texts of the template database that the main window's message line and menu panel show.
struct SystemMessages
{
    QStringList texts { QString() }; // indexes 0 to count; 0 unused
    QStringList links { QString() };
    int count = 0;
};

struct MenuLink
{
    QString text;
    QString link;
};

QString Template_Path();
// Fills Captions; false with the failure's description when the template cannot be read.
bool Get_Captions(QString* error);
void Get_System_Messages(SystemMessages& messages);
// Tips 1 to t (index 0 unused); stops at a missing column or a NULL tip with the error report.
void Get_Tips(QStringList& tips);
// The menu panel's rows; stops at a NULL text with the error report, keeping the rows read before.
QVector<MenuLink> Read_Menu_Links();
