#pragma once

#include <QString>
#include <QTreeWidgetItem>

#include "subjects/subjectref.h"

// What a subject-tree node carries besides its text: the tag, what it stands for and the numbers of its two
// images in the tree's image list (0 for none), so that later steps can read back which image a node shows.
enum NodeRole {
    TagRole = Qt::UserRole,
    ImageRole,
    SelectedImageRole,
    RefRole,
};

// Image numbers of the tree's image list.
enum TreeImage {
    NoImage = 0,
    FolderClosed = 1,
    FolderOpen = 2,
    VirtualFileClosed = 3,
    VirtualFileOpen = 4,
    SubjectImage = 5,
    SubjectSelected = 6,
    VirtualSubjectImage = 7,
    VirtualSubjectSelected = 8,
    PhraseImage = 9,
    VirtualPhraseImage = 10,
    UnusableSubject = 11,
};

inline const QString IgnoreTag = QStringLiteral("IGNORE");

QString nodeTag(const QTreeWidgetItem* node);
void setNodeTag(QTreeWidgetItem* node, const QString& tag);
// What the node stands for; a virtual subject comes with what is listed under it. Kind None for no node.
SubjectRef Subject_Ref(const QTreeWidgetItem* node);
// Sets what the node stands for and its tag to match.
void setNodeRef(QTreeWidgetItem* node, const SubjectRef& ref);
int nodeImage(const QTreeWidgetItem* node);
int nodeSelectedImage(const QTreeWidgetItem* node);
// Sets the normal and the selected image; a selected image of 0 shows the normal one when selected.
void setNodeImage(QTreeWidgetItem* node, int image, int selectedImage = NoImage);
bool isBoldNode(const QTreeWidgetItem* node);
void setBoldNode(QTreeWidgetItem* node, bool bold);

// Makes a node with its text, tag and images (not yet placed in a tree).
QTreeWidgetItem* makeNode(
    const QString& text, const QString& tag, int image, int selectedImage = NoImage, bool bold = false);
QTreeWidgetItem* makeNode(
    const QString& text, const SubjectRef& ref, int image, int selectedImage = NoImage, bool bold = false);
