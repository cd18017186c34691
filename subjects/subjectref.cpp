#include "subjectref.h"

namespace {
// A blank name is refused by the activities: no score could be found under it again.
QString shown(const QString& text, const QString& folderText)
{
    if (!text.trimmed().isEmpty())
        return text;
    return folderText.trimmed().isEmpty() ? QString() : folderText;
}
}

NodeTag SubjectRef::tag() const
{
    switch (kind) {
    case Kind::Folder:
        return NodeTag({ QStringLiteral("FOLDER"), file });
    case Kind::Subject:
        return NodeTag({ QStringLiteral("SUBJECT"), file });
    case Kind::VirtualSubject: {
        // The random phrase set belongs to no file and has no key.
        const NodeTag set({ QStringLiteral("SUBJECT"), QStringLiteral("VIRTUALSUBJECT") });
        return file.isEmpty() ? set : set.with(QString::number(virtualKey));
    }
    case Kind::Phrase:
        return Phrase_Tag(file, phraseNo, phrase, translation, translation2);
    case Kind::Placeholder:
        return NodeTag::parse(IgnoreTag);
    case Kind::None:
        break;
    }
    return {};
}

SubjectRef SubjectRef::folder(const QString& name)
{
    SubjectRef ref;
    ref.kind = Kind::Folder;
    ref.file = name;
    return ref;
}

SubjectRef SubjectRef::subject(const QString& file, const QString& shownText, const QString& folderText)
{
    SubjectRef ref;
    ref.kind = Kind::Subject;
    ref.file = file;
    ref.subjectText = shown(shownText, folderText);
    return ref;
}

SubjectRef SubjectRef::virtualSubject(const QString& file, int key, const QString& shownText, const QString& folderText)
{
    SubjectRef ref;
    ref.kind = Kind::VirtualSubject;
    ref.file = file;
    ref.virtualKey = key;
    ref.subjectText = shown(shownText, folderText);
    return ref;
}

SubjectRef SubjectRef::phraseOf(const NodeTag& tag)
{
    SubjectRef ref;
    ref.kind = Kind::Phrase;
    ref.file = tag.field(0);
    ref.phraseNo = tag.number(1);
    ref.phrase = tag.field(2);
    ref.translation = tag.field(3);
    ref.translation2 = tag.field(4);
    return ref;
}

SubjectRef SubjectRef::placeholder()
{
    SubjectRef ref;
    ref.kind = Kind::Placeholder;
    return ref;
}
