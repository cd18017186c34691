#pragma once

class FileList;
class QString;
class QTreeWidgetItem;
class QWidget;
struct Session;

// How many random phrases the random phrase set draws.
constexpr int RandomPhraseCount = 10;

// Lists the phrases of an installed subject under its node, unless they are listed already. On failure the
// subject is marked unusable, the user is told, and its parent becomes the selected node. window is kept
// from input meanwhile.
void Show_Subject_Phrases(QTreeWidgetItem* subjectNode, const QString& fileName, const Session& session, QWidget* window);

// Lists the phrases of virtual subject nParent of a virtual subject file under its node, or the placeholder
// when it has none. On failure: the error report, and the node keeps no child.
void Show_vSubject_Phrases(const Session& session, const QString& virtualFile, int nParent, QTreeWidgetItem* subjectNode);

// Fills the random phrase set with phrases drawn from random installed subjects, unless it has phrases.
// Removes the set when every installed subject is unusable; on a failure the error report, and the tree is
// given back as it was before the set was added.
void Get_Random_Phrases(QTreeWidgetItem* phraseSet, FileList& File1, const Session& session, QWidget* window);
