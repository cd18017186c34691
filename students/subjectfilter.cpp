#include "subjectfilter.h"

#include "common/captions.h"
#include "students/scorecharts.h"

void Fill_Subject_Filter(QComboBox& box, const UserFile& users, const QString& student)
{
    box.clear();
    box.setAccessibleName(Caption(180));
    box.addItem(Caption(156));
    box.addItems(Student_Subjects(users, student));
}

QString Filtered_Subject(const QComboBox& box) { return box.currentIndex() > 0 ? box.currentText() : QString(); }
