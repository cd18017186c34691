#pragma once

#include <QString>
#include <QTreeWidgetItem>

#include "subjects/subjectref.h"

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

// A phrase node shows the translation of its tag (field 3).
QTreeWidgetItem* Phrase_Node(const NodeTag& tag, int image);
// Gives a phrase node its tag, and what it stands for as the tag tells it.
void Set_Phrase_Tag(QTreeWidgetItem* node, const NodeTag& tag);
