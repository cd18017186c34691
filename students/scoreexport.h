#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include "students/userdatabase.h"

// Results as a CSV file that a spreadsheet opens as it is: UTF-8 with a byte-order mark (without it some
// spreadsheets read the bytes in the system's code page), a header row, CR LF line ends, and every field that
// holds a comma, a double quote or a line break quoted with its quotes doubled.
QString Csv_Field(const QString& text);
// A typed text that a spreadsheet would run as a formula (it starts with =, +, -, @, a tab or a carriage return)
// gets an apostrophe before it, which spreadsheets read as "text follows"; any other text is kept as it is.
QString Formula_Safe(const QString& text);
QByteArray Csv_File(const QStringList& header, const QVector<QStringList>& rows);
// Writes the file as one whole (an old file there stays until the new one is complete); "" when done, otherwise
// the reason.
QString Write_Csv(const QString& path, const QStringList& header, const QVector<QStringList>& rows);

// The results a child node of the tracked-scores tree lists: the view and the texts of the node and its parent.
// No view (-1) stands for every result.
struct ResultChoice
{
    int view = -1;
    QString parentText;
    QString nodeText;
};

// The chosen rows of tblscores, oldest first: student, subject, activity, score as listed, numberScore, date, time.
// Throws platform::DbError.
QVector<QStringList> Read_Results(const UserFile& users, const ResultChoice& choice = {});
// The headings of those columns in the interface language.
QStringList Results_Header();
// Writes the chosen results to path as one whole, the typed texts (names, subject, activity, text score) made
// formula-safe (an old file there stays until the new one is complete); "" when
// done, otherwise the reason.
QString Export_Results(const UserFile& users, const QString& path, const ResultChoice& choice = {});
