#include "loginlist.h"

#include <QStyledItemDelegate>

#include "resources/resourcepaths.h"
#include "students/logingrid.h"

namespace LoginItem {

QListWidgetItem* make(const Student& student)
{
    auto* item = new QListWidgetItem();
    update(item, student);
    return item;
}

void update(QListWidgetItem* item, const Student& student)
{
    item->setText(student.displayName());
    // The selected face keeps its colours; the highlight around it shows the choice.
    const QPixmap face(resources::facePicture(student.icon));
    QIcon icon;
    icon.addPixmap(face, QIcon::Normal);
    icon.addPixmap(face, QIcon::Selected);
    item->setIcon(icon);
    item->setData(PkId, QString::number(student.id));
    item->setData(FirstName, student.firstName);
    item->setData(LastName, student.lastName);
    item->setData(Password, student.password);
    item->setData(IconNumber, QString::number(student.icon));
}

Student student(const QListWidgetItem* item)
{
    Student s;
    s.id = item->data(PkId).toString().toLongLong();
    s.firstName = item->data(FirstName).toString();
    s.lastName = item->data(LastName).toString();
    s.password = item->data(Password).toString();
    s.icon = item->data(IconNumber).toString().toInt();
    return s;
}

bool isAdministrator(const QListWidgetItem* item)
{
    return item->font().bold();
}

void setAdministrator(QListWidgetItem* item)
{
    QFont font = item->font();
    font.setBold(true);
    item->setFont(font);
}

QStringList names(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem* item = list->item(i);
        result << item->data(FirstName).toString() + QLatin1Char(' ') + item->data(LastName).toString();
    }
    return result;
}

}

void Style_Login_List(QListWidget* list)
{
    list->setViewMode(QListView::IconMode);
    list->setIconSize(QSize(resources::FaceSize, resources::FaceSize));
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSpacing(4);
    QFont font = list->font();
    font.setPointSize(12);
    list->setFont(font);
    list->setGridSize(Login_Grid(font, {}).cell);
    list->setItemDelegate(New_Login_Delegate(list));
    list->setStyleSheet(QStringLiteral(
        "QListWidget { background: rgba(255,255,255,215); border: 1px solid #8aa5b8; border-radius: 8px; }"
        "QListWidget::item { color: #1d3557; border-radius: 8px; }"
        "QListWidget::item:selected { background: #a8dadc; color: #1d3557; }"
        "QListWidget::item:hover:!selected { background: #e8f4f5; }"));
}

void Fit_Login_Grid(QListWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    const QSize cell = Login_Grid(list->font(), names).cell;
    if (list->gridSize() != cell)
        list->setGridSize(cell);
}
