#pragma once

#include <QComboBox>
#include <QString>

#include "students/userdatabase.h"

// The subject filter of a student's chart: "All subjects", then every subject the student has results in, in name
// order. Throws platform::DbError, and the box then holds its first entry only.
void Fill_Subject_Filter(QComboBox& box, const UserFile& users, const QString& student);
// The subject chosen in the filter; "" for all of them.
QString Filtered_Subject(const QComboBox& box);
