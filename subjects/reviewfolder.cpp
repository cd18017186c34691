#include "reviewfolder.h"

#include <algorithm>
#include <utility>

#include <QDir>
#include <QSet>
#include <QTreeWidget>

#include "common/subjectfolders.h"
#include "common/captions.h"
#include "common/interfacelocale.h"
#include "common/session.h"
#include "platform/exchangefile.h"
#include "subjects/nodetag.h"
#include "subjects/phraselookup.h"
#include "subjects/treefill.h"
#include "subjects/treenode.h"

namespace {
const QString FolderName = QStringLiteral("TO_REVIEW");

// The phrases whose subject file is there: a phrase of a removed subject is not counted as work to do. The folder
// is listed once, names matched as the launch matches them (whatever their case): asking for each phrase's file
// took a tenth of a second among 2,000 subjects.
int listable(const DueReview& due, const Session& session)
{
    if (due.phrases.isEmpty())
        return 0;
    QSet<QString> present;
    for (const QString& folder : Installed_Subject_Folders(session)) {
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            present.insert(name.toLower());
    }
    int count = 0;
    for (const QString& identity : due.phrases) {
        QString file;
        int number = 0;
        if (platform::exchange::splitPhraseIdentity(identity, &file, &number) && present.contains(file.toLower()))
            ++count;
    }
    return count;
}

QStringList listedPhrases(const QTreeWidgetItem* set)
{
    QStringList listed;
    for (const SubjectRef& phrase : Subject_Ref(set).phrases) {
        if (phrase.kind == SubjectRef::Kind::Phrase)
            listed << platform::exchange::phraseIdentity(phrase.file, phrase.phraseNo);
    }
    return listed;
}
}

ReviewFolder::ReviewFolder(QTreeWidget* tree, const Session& session, ReviewSource source)
    : m_tree(tree)
    , m_session(session)
    , m_source(std::move(source))
{
}

bool ReviewFolder::isFolder(const QTreeWidgetItem* node)
{
    if (!node || node->parent())
        return false;
    const SubjectRef ref = Subject_Ref(node);
    return ref.kind == SubjectRef::Kind::Folder && ref.file == FolderName;
}

QTreeWidgetItem* ReviewFolder::folder() const
{
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        if (isFolder(m_tree->topLevelItem(i)))
            return m_tree->topLevelItem(i);
    }
    return nullptr;
}

QString ReviewFolder::folderText(const DueReview& due) const
{
    return Caption(192) + QStringLiteral(" (") + QString::number(listable(due, m_session)) + QLatin1Char(')');
}

QString ReviewFolder::nothingDueText(const DueReview& due) const
{
    if (!due.nextDue.isValid())
        return Caption(195);
    // The learner's own day: a phrase due at 01:00 UTC is due the evening before west of Greenwich.
    const QDate day = due.nextDue.toLocalTime().date();
    return Caption(194).arg(Interface_Locale(m_session.InterfaceLanguage).toString(day, QLocale::LongFormat));
}

QTreeWidgetItem* ReviewFolder::makeFolder() const
{
    return makeNode(folderText(m_source()), SubjectRef::folder(FolderName), FolderClosed, NoImage, true);
}

void ReviewFolder::click(QTreeWidgetItem* node)
{
    if (node->childCount() > 0) {
        setNodeImage(node, FolderClosed);
        qDeleteAll(node->takeChildren());
        return;
    }
    const DueReview due = m_source();
    node->setText(0, folderText(due));
    PhraseLookup lookup(m_session);
    QList<QTreeWidgetItem*> phrases;
    for (const QString& identity : due.phrases) {
        if (phrases.size() == RandomPhraseCount)
            break;
        // A phrase whose subject is gone, or no longer holds it, is left out without a word: the set is the
        // next ten that can be studied.
        if (const auto found = lookup.phrase(identity))
            phrases << Phrase_Node(Phrase_Tag(found->file, found->row), PhraseImage);
    }
    QTreeWidgetItem* child = nullptr;
    if (!phrases.isEmpty()) {
        child = makeNode(Caption(193), SubjectRef::virtualSubject(QString(), 0, Caption(193), node->text(0)),
            SubjectImage, SubjectSelected);
        child->addChildren(phrases);
    } else {
        child = makeNode(nothingDueText(due), SubjectRef::placeholder(), NoImage);
        child->setToolTip(0, child->text(0));
    }
    node->addChild(child);
    setNodeImage(node, FolderOpen);
    node->setExpanded(true);
    child->setExpanded(true);
    m_tree->setCurrentItem(child);
}

void ReviewFolder::reset()
{
    if (QTreeWidgetItem* node = folder()) {
        setNodeImage(node, FolderClosed);
        qDeleteAll(node->takeChildren());
    }
    refresh();
}

void ReviewFolder::refresh()
{
    QTreeWidgetItem* node = folder();
    if (!node)
        return;
    const DueReview due = m_source();
    node->setText(0, folderText(due));
    if (node->childCount() == 0)
        return;
    const QTreeWidgetItem* child = node->child(0);
    const QStringList listed = listedPhrases(child);
    const bool current = Subject_Ref(child).kind == SubjectRef::Kind::Placeholder
        ? listable(due, m_session) == 0 && child->text(0) == nothingDueText(due)
        : std::all_of(
            listed.cbegin(), listed.cend(), [&due](const QString& identity) { return due.phrases.contains(identity); });
    if (current)
        return;
    setNodeImage(node, FolderClosed);
    qDeleteAll(node->takeChildren());
}
