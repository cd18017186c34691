#include "platform/lessons/kvtml.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <QXmlStreamReader>

#include "platform/lessons/deckfile.h"
#include "platform/lessons/filemedia.h"

namespace lessons {

namespace {

    // Lessons inside lessons are read by recursion; a crafted file nesting them without end must not exhaust the
    // stack. Parley's own lessons go three or four deep.
    constexpr int MaxLessonDepth = 64;

    struct KvtmlIdentifier
    {
        QString id;
        QString name;
    };

    struct KvtmlTranslation
    {
        QString text;
        QString sound;
        QString pronunciation;
    };

    struct KvtmlEntry
    {
        QString id;
        QHash<QString, KvtmlTranslation> translations; // by identifier id
    };

    struct KvtmlLessonOf
    {
        int depth = -1;
        QString name;
    };

    class KvtmlReader
    {
    public:
        KvtmlReader(Deck& deck, const QByteArray& bytes)
            : m_deck(deck)
            , m_xml(bytes)
        {
        }

        void read()
        {
            while (!m_xml.atEnd() && !m_xml.hasError()) {
                m_xml.readNext();
                if (m_xml.isDTD() && declaresEntities()) {
                    fail(QStringLiteral("the document type declares entities, which a KVTML file never needs; the "
                                        "file is refused unread, as entities can make a small file fill all memory"));
                    return;
                }
                if (m_xml.isStartElement()) {
                    readRoot();
                    break;
                }
            }
            if (m_xml.hasError())
                fail(m_xml.errorString());
            else
                makeNotes();
        }

    private:
        bool declaresEntities() const
        {
            // The parsed declarations, and the text as well: parameter entities leave no declaration behind.
            return !m_xml.entityDeclarations().isEmpty() || m_xml.text().contains(QStringLiteral("<!ENTITY"));
        }

        void fail(const QString& message)
        {
            m_deck.outcome.errors << located(m_deck.path, static_cast<int>(m_xml.lineNumber()), message);
        }

        void readRoot()
        {
            if (m_xml.name() != QStringLiteral("kvtml")) {
                m_xml.raiseError(QStringLiteral("not a KVTML file: its root element is <%1>").arg(m_xml.name()));
                return;
            }
            const QString version = m_xml.attributes().value(QStringLiteral("version")).toString();
            if (!version.startsWith(QStringLiteral("2."))) {
                m_xml.raiseError(QStringLiteral("KVTML version \"%1\"; only version 2 is read: open the file in Parley "
                                                "and save it to make it version 2")
                                     .arg(version));
                return;
            }
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == QStringLiteral("information"))
                    readInformation();
                else if (m_xml.name() == QStringLiteral("identifiers"))
                    readIdentifiers();
                else if (m_xml.name() == QStringLiteral("entries"))
                    readEntries();
                else if (m_xml.name() == QStringLiteral("lessons"))
                    readLessons();
                else
                    m_xml.skipCurrentElement();
            }
        }

        QString elementText() { return m_xml.readElementText(QXmlStreamReader::IncludeChildElements); }

        void readInformation()
        {
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == QStringLiteral("title"))
                    m_title = elementText().trimmed();
                else
                    m_xml.skipCurrentElement();
            }
        }

        void readIdentifiers()
        {
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() != QStringLiteral("identifier")) {
                    m_xml.skipCurrentElement();
                    continue;
                }
                KvtmlIdentifier identifier { m_xml.attributes().value(QStringLiteral("id")).toString(), {} };
                QString locale;
                while (m_xml.readNextStartElement()) {
                    if (m_xml.name() == QStringLiteral("name"))
                        identifier.name = elementText().trimmed();
                    else if (m_xml.name() == QStringLiteral("locale"))
                        locale = elementText().trimmed();
                    else
                        m_xml.skipCurrentElement();
                }
                if (identifier.name.isEmpty())
                    identifier.name
                        = locale.isEmpty() ? QStringLiteral("Language %1").arg(m_identifiers.size() + 1) : locale;
                m_identifiers << identifier;
            }
        }

        void readEntries()
        {
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() != QStringLiteral("entry")) {
                    m_xml.skipCurrentElement();
                    continue;
                }
                // Counted as read, not as kept, so that a flood of repeated entries is stopped as well.
                if (++m_entriesRead > MaxDeckNotes) {
                    m_xml.raiseError(
                        QStringLiteral("more than %L1 entries, more than any list of phrases needs").arg(MaxDeckNotes));
                    return;
                }
                const int line = static_cast<int>(m_xml.lineNumber());
                KvtmlEntry entry { m_xml.attributes().value(QStringLiteral("id")).toString(), {} };
                while (m_xml.readNextStartElement()) {
                    if (m_xml.name() == QStringLiteral("translation")) {
                        const QString id = m_xml.attributes().value(QStringLiteral("id")).toString();
                        entry.translations.insert(id, readTranslation(entry.id));
                    } else {
                        m_xml.skipCurrentElement();
                    }
                }
                if (m_entryIds.contains(entry.id)) {
                    m_deck.outcome.warnings << located(m_deck.path, line,
                        QStringLiteral("entry %1 appears a second time; the second is left out").arg(entry.id));
                    continue;
                }
                m_entryIds.insert(entry.id);
                m_entries << entry;
            }
        }

        KvtmlTranslation readTranslation(const QString& entryId)
        {
            KvtmlTranslation translation;
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == QStringLiteral("text"))
                    translation.text = elementText();
                else if (m_xml.name() == QStringLiteral("pronunciation"))
                    translation.pronunciation = elementText();
                else if (m_xml.name() == QStringLiteral("sound"))
                    translation.sound = soundName(elementText().trimmed(), entryId);
                else
                    m_xml.skipCurrentElement();
            }
            return translation;
        }

        // Parley writes a sound as a URL: "file:///home/..." outside the file's folder, a relative path inside it.
        QString soundName(const QString& written, const QString& entryId)
        {
            if (written.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive))
                return QUrl(written).toLocalFile();
            // Two letters at least, so that a Windows drive ("C:\...") is taken for the path it is.
            static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
            if (written.contains(scheme)) {
                m_deck.outcome.warnings << located(m_deck.path, static_cast<int>(m_xml.lineNumber()),
                    QStringLiteral("entry %1: the sound %2 is not a file on this computer; it is left out")
                        .arg(entryId, written));
                return {};
            }
            // A relative URL may come percent-encoded ("die%20katze.wav"); the name as written wins when both exist.
            if (!written.contains(u'%'))
                return written;
            const QString decoded = QUrl::fromPercentEncoding(written.toUtf8());
            const QDir folder = QFileInfo(m_deck.path).absoluteDir();
            return !folder.exists(written) && folder.exists(decoded) ? decoded : written;
        }

        void readLessons()
        {
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == QStringLiteral("container"))
                    readContainer(1);
                else
                    m_xml.skipCurrentElement();
            }
        }

        void readContainer(int depth)
        {
            QString name;
            QStringList entryIds;
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == QStringLiteral("name")) {
                    name = elementText().trimmed();
                } else if (m_xml.name() == QStringLiteral("entry")) {
                    entryIds << m_xml.attributes().value(QStringLiteral("id")).toString();
                    m_xml.skipCurrentElement();
                } else if (m_xml.name() == QStringLiteral("container")) {
                    if (depth == MaxLessonDepth) {
                        m_xml.raiseError(QStringLiteral("lessons nested more than %1 deep").arg(MaxLessonDepth));
                        return;
                    }
                    readContainer(depth + 1);
                } else {
                    m_xml.skipCurrentElement();
                }
            }
            // An entry listed by a lesson and by one inside it belongs to the inner; between equals the first wins.
            for (const QString& id : entryIds) {
                KvtmlLessonOf& lesson = m_lessonOf[id];
                if (depth > lesson.depth)
                    lesson = { depth, name };
            }
        }

        void makeNotes()
        {
            if (!m_title.isEmpty())
                m_deck.name = m_title;
            QList<int> pronounced;
            for (int i = 0; i < m_identifiers.size(); ++i) {
                const bool any = std::any_of(m_entries.cbegin(), m_entries.cend(), [&](const KvtmlEntry& entry) {
                    return !entry.translations.value(m_identifiers[i].id).pronunciation.isEmpty();
                });
                if (any)
                    pronounced << i;
            }
            for (const KvtmlIdentifier& identifier : m_identifiers)
                m_deck.fieldNames << identifier.name;
            for (const KvtmlIdentifier& identifier : m_identifiers)
                m_deck.fieldNames << QStringLiteral("%1 sound").arg(identifier.name);
            for (int i : pronounced)
                m_deck.fieldNames << QStringLiteral("%1 pronunciation").arg(m_identifiers[i].name);

            QStringList known;
            for (const KvtmlIdentifier& identifier : m_identifiers)
                known << identifier.id;
            QStringList strays;
            for (const KvtmlEntry& entry : m_entries) {
                for (auto translation = entry.translations.cbegin(); translation != entry.translations.cend();
                     ++translation) {
                    if (!known.contains(translation.key()) && !strays.contains(translation.key())) {
                        strays << translation.key();
                        m_deck.outcome.warnings << located(m_deck.path, 0,
                            QStringLiteral("entry %1: translation %2 has no language among the identifiers; the "
                                           "translations %2 of all entries are left out")
                                .arg(entry.id, translation.key()));
                    }
                }
            }
            for (const KvtmlEntry& entry : m_entries) {
                DeckNote note;
                for (const KvtmlIdentifier& identifier : m_identifiers)
                    note.fields << entry.translations.value(identifier.id).text;
                for (const KvtmlIdentifier& identifier : m_identifiers)
                    note.fields << entry.translations.value(identifier.id).sound;
                for (int i : pronounced)
                    note.fields << entry.translations.value(m_identifiers[i].id).pronunciation;
                note.lesson = m_lessonOf.value(entry.id).name;
                note.where = QStringLiteral("entry %1").arg(entry.id);
                m_deck.notes << note;
            }
            QStringList unknown;
            for (auto id = m_lessonOf.cbegin(); id != m_lessonOf.cend(); ++id) {
                if (!m_entryIds.contains(id.key()))
                    unknown << QStringLiteral("lesson \"%1\" lists entry %2, which the file does not have")
                                   .arg(id->name, id.key());
            }
            unknown.sort();
            for (const QString& message : unknown)
                m_deck.outcome.warnings << located(m_deck.path, 0, message);
        }

        Deck& m_deck;
        QXmlStreamReader m_xml;
        QString m_title;
        QList<KvtmlIdentifier> m_identifiers;
        QList<KvtmlEntry> m_entries;
        int m_entriesRead = 0;
        QSet<QString> m_entryIds;
        QHash<QString, KvtmlLessonOf> m_lessonOf; // by entry id
    };

}

Deck readKvtml(const QString& path)
{
    Deck deck;
    deck.path = path;
    deck.name = QFileInfo(path).completeBaseName();
    deck.media = std::make_shared<FileMedia>(QFileInfo(path).absolutePath());
    if (const std::optional<QByteArray> bytes = readDeckFile(path, deck.outcome))
        KvtmlReader(deck, *bytes).read();
    if (!deck.outcome.ok())
        deck.notes.clear();
    return deck;
}

}
