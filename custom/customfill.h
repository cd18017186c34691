#pragma once

#include <QString>

#include "common/session.h"

class FileList;
class QTreeWidget;
class QTreeWidgetItem;

// The editor's two trees read from the session's folders. The tree fills let pending window events run between nodes
// and show the name being read in the busy notice, when one is up, once a frame. Failures are reported and what was
// added stays.

// The installed subjects of File1, re-read, under the root of TreeSubjects; each tagged with its position.
void Fill_Installed_Subjects(QTreeWidgetItem* root, FileList& File1);
// The virtual subject files of File2, re-read, with their virtual subjects; no phrases yet. A file that
// cannot be read is reported and shown without its subjects.
void Fill_Virtual_Subjects(const Session& session, QTreeWidget* TreeVirtual, FileList& File2);

// The phrases of an installed subject file under its node; only when the node has none yet.
void Get_Subject_Phrases(const Session& session, QTreeWidgetItem* subject, const QString& file);
// The stored phrases of a virtual subject under its node; only when the node has none yet.
void Get_Virtual_Phrases(const Session& session, QTreeWidgetItem* virtualSubject);
