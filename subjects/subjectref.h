#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

#include "subjects/nodetag.h"

// What a node of a subject tree stands for, made once with the node and read back from it (Subject_Ref,
// treenode.h): the steps after a click or a launch read this, not the node's text or its tag. The tag stays
// as its written form.
struct SubjectRef
{
    enum class Kind {
        None, // a node made without one (the custom editor's folders and subjects)
        Folder,
        Subject, // an installed subject, or the random subject
        VirtualSubject, // a virtual subject, or the random phrase set
        Phrase,
        Placeholder, // stands in an empty folder or virtual subject
    };

    Kind kind = Kind::None;
    // Folder: the fixed folder's name or its virtual subject file. Subject: its installed subject file.
    // Virtual subject: the virtual subject file that holds it; none for the random phrase set. Phrase: the
    // installed subject file it comes from.
    QString file;
    // Virtual subject: its key in its file.
    int virtualKey = 0;
    // Phrase: its key in its installed subject file, and its texts.
    int phraseNo = 0;
    QString phrase;
    QString translation;
    QString translation2;
    // Subject and virtual subject: the name the exchange file gives the subject.
    QString subjectText;
    // Virtual subject, as read back from its node: what is listed under it, in order.
    QList<SubjectRef> phrases;

    bool isSubject() const { return kind == Kind::Subject || kind == Kind::VirtualSubject; }
    NodeTag tag() const;

    static SubjectRef folder(const QString& name);
    // shownText is the node's text; a blank one lends the subject the text of the folder it is in.
    static SubjectRef subject(const QString& file, const QString& shownText, const QString& folderText);
    static SubjectRef virtualSubject(
        const QString& file, int key, const QString& shownText, const QString& folderText);
    // From its tag (Phrase_Tag): the file, the key and the three texts.
    static SubjectRef phraseOf(const NodeTag& tag);
    static SubjectRef placeholder();
};

Q_DECLARE_METATYPE(SubjectRef)
