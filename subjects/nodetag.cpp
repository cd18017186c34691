#include "nodetag.h"

#include <QTreeWidgetItem>

namespace {
const QChar Separator = QLatin1Char('*');
}

NodeTag::NodeTag(QStringList fields)
    : m_fields(std::move(fields))
{
}

NodeTag NodeTag::parse(const QString& text) { return NodeTag(text.split(Separator)); }

NodeTag NodeTag::of(const QTreeWidgetItem* node) { return node ? parse(nodeTag(node)) : NodeTag(); }

int NodeTag::number(int n) const
{
    bool ok = false;
    const int value = field(n).trimmed().toInt(&ok);
    return ok ? value : 0;
}

QString NodeTag::text() const { return m_fields.join(Separator); }

NodeTag NodeTag::with(const QString& field) const
{
    NodeTag longer = *this;
    longer.m_fields << field;
    return longer;
}

NodeTag Phrase_Tag(
    const QString& file, int phraseNo, const QString& phrase, const QString& translation, const QString& translation2)
{
    return NodeTag({ file, QString::number(phraseNo), phrase, translation, translation2 });
}

NodeTag Phrase_Tag(const QString& file, const PhraseRow& row)
{
    return Phrase_Tag(file, row.pkPhraseNo, row.tPhrase, row.tTranslation, row.tTranslation2);
}

NodeTag Phrase_Tag(const VirtualPhraseRow& row)
{
    return Phrase_Tag(row.tfilename, row.nPhraseNo, row.tPhrase, row.tTranslation, row.tTranslation2);
}

QString nodeTag(const QTreeWidgetItem* node) { return node->data(0, TagRole).toString(); }

void setNodeTag(QTreeWidgetItem* node, const QString& tag) { node->setData(0, TagRole, tag); }
