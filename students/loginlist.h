#pragma once

#include <QListWidget>

#include "students/userdatabase.h"

// The login list's items carry the student's row as hidden sub-items.
namespace LoginItem {
enum Role { PkId = Qt::UserRole + 1, FirstName, LastName, Password, IconNumber };

QListWidgetItem* make(const Student& student);
void update(QListWidgetItem* item, const Student& student);
Student student(const QListWidgetItem* item);
bool isAdministrator(const QListWidgetItem* item);
void setAdministrator(QListWidgetItem* item);
// "first last" of every item, for the duplicate check.
QStringList names(const QListWidget* list);
}

// Sets up the list as a grid of large faces with the name under each.
void Style_Login_List(QListWidget* list);

// Sizes the list's grid for the names it holds.
void Fit_Login_Grid(QListWidget* list);
