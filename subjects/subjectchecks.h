#pragma once

#include <QString>

class QTreeWidgetItem;

inline const QString ValidSubject = QStringLiteral("VALID");

// Whether an installed subject can be used: "VALID", or the failure's description when the file does not
// open or has no properties row. Never throws.
QString Check_Subject(const QString& fileName);

// Tells the user that an installed subject cannot be used and offers the page about subjects.
void Report_Subject_Problem(const QString& fileName, const QString& status);

// Whether at least one phrase of a virtual subject (or of the random phrase set) can be studied. Names the
// phrases whose source subjects are gone, collapses the subject and marks it unusable when nothing is left.
bool Check_vSubject(QTreeWidgetItem* subjectNode);
