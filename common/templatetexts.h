#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

struct Session;

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

// The template of the program folder given (ending with a separator).
QString Template_Path(const QString& programDir);
// Every text below is read from the session's template in its interface language (the tips: its product's).
// Sets the interface texts Caption() gives; false with the failure's description when the template cannot
// be read.
bool Get_Captions(const Session& session, QString* error);
void Get_System_Messages(const Session& session, SystemMessages& messages);
// Tips 1 to t (index 0 unused); stops at a missing column or a NULL tip with the error report.
void Get_Tips(const Session& session, QStringList& tips);
// The menu panel's rows; stops at a NULL text with the error report, keeping the rows read before.
QVector<MenuLink> Read_Menu_Links(const Session& session);
