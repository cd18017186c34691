#include "platform/lessons/ankipackage.h"

#include <algorithm>

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "platform/database.h"
#include "platform/lessons/ziparchive.h"

namespace lessons {

namespace {

    // The schema of collection.anki2 at version 11, the last that needs no upgrade in any Anki since 2.1.
    constexpr const char* CollectionSchema = R"(
CREATE TABLE col (id integer primary key, crt integer not null, mod integer not null, scm integer not null,
    ver integer not null, dty integer not null, usn integer not null, ls integer not null, conf text not null,
    models text not null, decks text not null, dconf text not null, tags text not null);
CREATE TABLE notes (id integer primary key, guid text not null, mid integer not null, mod integer not null,
    usn integer not null, tags text not null, flds text not null, sfld integer not null, csum integer not null,
    flags integer not null, data text not null);
CREATE TABLE cards (id integer primary key, nid integer not null, did integer not null, ord integer not null,
    mod integer not null, usn integer not null, type integer not null, queue integer not null, due integer not null,
    ivl integer not null, factor integer not null, reps integer not null, lapses integer not null,
    left integer not null, odue integer not null, odid integer not null, flags integer not null, data text not null);
CREATE TABLE revlog (id integer primary key, cid integer not null, usn integer not null, ease integer not null,
    ivl integer not null, lastIvl integer not null, factor integer not null, time integer not null,
    type integer not null);
CREATE TABLE graves (usn integer not null, oid integer not null, type integer not null);
CREATE INDEX ix_notes_usn ON notes (usn);
CREATE INDEX ix_cards_usn ON cards (usn);
CREATE INDEX ix_revlog_usn ON revlog (usn);
CREATE INDEX ix_cards_nid ON cards (nid);
CREATE INDEX ix_cards_sched ON cards (did, queue, due);
CREATE INDEX ix_revlog_cid ON revlog (cid);
CREATE INDEX ix_notes_csum ON notes (csum);
)";

    const QStringList FieldNames { QStringLiteral("Phrase"), QStringLiteral("Translation"),
        QStringLiteral("Translation 2"), QStringLiteral("Sound") };

    QByteArray sha1(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1); }

    QString langDiv(const QString& language, const QString& field)
    {
        const QString lang
            = language.isEmpty() ? QString() : QStringLiteral(" lang=\"%1\"").arg(language.toHtmlEscaped());
        return QStringLiteral("<div%1>{{%2}}</div>").arg(lang, field);
    }

    QJsonObject noteType(qint64 id, qint64 deck, qint64 now, const LessonLanguages& languages)
    {
        QJsonArray fields;
        for (int i = 0; i < FieldNames.size(); ++i) {
            fields << QJsonObject { { "name", FieldNames[i] }, { "ord", i }, { "sticky", false }, { "rtl", false },
                { "font", "Arial" }, { "size", 20 }, { "media", QJsonArray() } };
        }
        const QString back
            = QStringLiteral("{{FrontSide}}<hr id=answer>%1{{#Translation 2}}%2{{/Translation 2}}{{Sound}}")
                  .arg(langDiv(languages.learner, QStringLiteral("Translation")),
                      langDiv(languages.learner2, QStringLiteral("Translation 2")));
        const QJsonObject card { { "name", "Card 1" }, { "ord", 0 }, { "qfmt", langDiv(languages.taught, "Phrase") },
            { "afmt", back }, { "did", QJsonValue::Null }, { "bqfmt", "" }, { "bafmt", "" } };
        return QJsonObject { { "id", id }, { "name", "Parlanta" }, { "type", 0 }, { "mod", now / 1000 }, { "usn", -1 },
            { "sortf", 0 }, { "did", deck }, { "tmpls", QJsonArray { card } }, { "flds", fields },
            { "css", ".card { font-family: arial; font-size: 24px; text-align: center; }" },
            { "latexPre",
                "\\documentclass[12pt]{article}\n\\special{papersize=3in,5in}\n\\usepackage{amssymb,amsmath}\n"
                "\\pagestyle{empty}\n\\setlength{\\parindent}{0in}\n\\begin{document}\n" },
            { "latexPost", "\\end{document}" }, { "latexsvg", false },
            { "req", QJsonArray { QJsonArray { 0, "any", QJsonArray { 0 } } } }, { "tags", QJsonArray() },
            { "vers", QJsonArray() } };
    }

    QJsonObject deckObject(qint64 id, const QString& name, qint64 now)
    {
        const QJsonArray today { 0, 0 };
        return QJsonObject { { "id", id }, { "name", name }, { "mod", now / 1000 }, { "usn", -1 }, { "desc", "" },
            { "dyn", 0 }, { "conf", 1 }, { "collapsed", false }, { "browserCollapsed", false }, { "extendNew", 0 },
            { "extendRev", 0 }, { "newToday", today }, { "revToday", today }, { "lrnToday", today },
            { "timeToday", today } };
    }

    QJsonObject deckOptions()
    {
        const QJsonObject options { { "id", 1 }, { "name", "Default" }, { "mod", 0 }, { "usn", 0 }, { "maxTaken", 60 },
            { "autoplay", true }, { "timer", 0 }, { "replayq", true }, { "dyn", false },
            { "new",
                QJsonObject { { "bury", false }, { "delays", QJsonArray { 1, 10 } }, { "initialFactor", 2500 },
                    { "ints", QJsonArray { 1, 4, 0 } }, { "order", 1 }, { "perDay", 20 } } },
            { "rev",
                QJsonObject { { "perDay", 200 }, { "ease4", 1.3 }, { "ivlFct", 1 }, { "maxIvl", 36500 },
                    { "bury", false }, { "hardFactor", 1.2 } } },
            { "lapse",
                QJsonObject { { "delays", QJsonArray { 10 } }, { "leechAction", 1 }, { "leechFails", 8 },
                    { "minInt", 1 }, { "mult", 0 } } } };
        return QJsonObject { { "1", options } };
    }

    // As text: bound as bytes, SQLite would store a blob, which Anki and other readers do not take for JSON.
    QString json(const QJsonObject& object)
    {
        return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    }

    // Anki keeps every collection's media in one folder, so a name carries the lesson and a digest of the sound: two
    // exports never hand Anki two different sounds under one name. Only letters, digits, "_", "-" and "." pass, so the
    // name is safe on every file system and in the [sound:] tag.
    QString soundName(const QString& lesson, int phrase, const QByteArray& sound)
    {
        static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_-]+"));
        QString stem = QString(lesson).replace(unsafe, QStringLiteral("_")).left(40);
        if (stem.isEmpty()) {
            stem = QStringLiteral("lesson");
        }
        return QStringLiteral("%1-%2-%3.wav")
            .arg(stem)
            .arg(phrase + 1)
            .arg(QString::fromLatin1(sha1(sound).toHex().left(8)));
    }

    struct Media
    {
        QList<QPair<QString, QByteArray>> entries;
        QJsonObject list;
        QSet<QString> names;

        QString add(const QString& lesson, int phrase, const QByteArray& sound)
        {
            QString name = soundName(lesson, phrase, sound);
            for (int n = 2; names.contains(name); ++n) {
                name
                    = soundName(lesson, phrase, sound).replace(QLatin1String(".wav"), QStringLiteral("-%1.wav").arg(n));
            }
            names.insert(name);
            const QString entry = QString::number(entries.size());
            list.insert(entry, name);
            entries << qMakePair(entry, sound);
            return name;
        }
    };

    void fillCollection(const platform::Database& db, const QList<Lesson>& lessons, const QString& deckName,
        const LessonLanguages& languages, Media* media)
    {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const qint64 modelId = now;
        const qint64 parentId = now;
        QJsonObject decks { { "1", deckObject(1, QStringLiteral("Default"), now) },
            { QString::number(parentId), deckObject(parentId, deckName, now) } };
        QHash<QString, qint64> lessonDecks;

        db.executeScript(QString::fromLatin1(CollectionSchema));
        db.execute(QStringLiteral("BEGIN"));
        const platform::Prepared note(
            db, QStringLiteral("INSERT INTO notes VALUES (?, ?, ?, ?, -1, '', ?, ?, ?, 0, '')"));
        const platform::Prepared card(
            db, QStringLiteral("INSERT INTO cards VALUES (?, ?, ?, 0, ?, -1, 0, 0, ?, 0, 0, 0, 0, 0, 0, 0, 0, '')"));
        qint64 position = 0;
        for (const Lesson& lesson : lessons) {
            const QString name = deckName + QLatin1String("::") + lesson.title;
            if (!lessonDecks.contains(name)) {
                const qint64 id = parentId + 1 + lessonDecks.size();
                lessonDecks.insert(name, id);
                decks.insert(QString::number(id), deckObject(id, name, now));
            }
            for (int i = 0; i < lesson.phrases.size(); ++i) {
                const LessonPhrase& phrase = lesson.phrases[i];
                const QString sound = phrase.sound.isEmpty()
                    ? QString()
                    : QStringLiteral("[sound:%1]").arg(media->add(lesson.title, i, phrase.sound));
                const QStringList fields { phrase.phrase.toHtmlEscaped(), phrase.translation.toHtmlEscaped(),
                    phrase.translation2.toHtmlEscaped(), sound };
                // The same phrase of the same lesson keeps its guid, so importing a new export updates the notes of the
                // last one instead of adding them again.
                const QString guid = QString::fromLatin1(
                    sha1((deckName + QChar(0x1F) + lesson.title + QChar(0x1F) + QString::number(i)).toUtf8())
                        .left(8)
                        .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
                const qint64 checksum = sha1(phrase.phrase.toUtf8()).toHex().left(8).toLongLong(nullptr, 16);
                const qint64 id = now + position;
                note.execute({ id, guid, modelId, now / 1000, fields.join(QChar(0x1F)), phrase.phrase, checksum });
                card.execute({ id, id, lessonDecks.value(name), now / 1000, position + 1 });
                ++position;
            }
        }
        const QJsonObject models { { QString::number(modelId), noteType(modelId, parentId, now, languages) } };
        const QJsonObject config { { "nextPos", position + 1 }, { "estTimes", true },
            { "activeDecks", QJsonArray { 1 } }, { "sortType", "noteFld" }, { "timeLim", 0 },
            { "sortBackwards", false }, { "addToCur", true }, { "curDeck", 1 }, { "newSpread", 0 },
            { "dueCounts", true }, { "curModel", QString::number(modelId) }, { "collapseTime", 1200 } };
        db.execute(QStringLiteral("INSERT INTO col VALUES (1, ?, ?, ?, 11, 0, 0, 0, ?, ?, ?, ?, '{}')"),
            { now / 1000, now, now, json(config), json(models), json(decks), json(deckOptions()) });
        db.execute(QStringLiteral("COMMIT"));
    }

}

Outcome writeAnkiPackage(
    const QList<Lesson>& lessons, const QString& deckName, const LessonLanguages& languages, const QString& path)
{
    Outcome outcome;
    if (std::none_of(lessons.begin(), lessons.end(), [](const Lesson& lesson) { return !lesson.phrases.isEmpty(); })) {
        // Anki refuses a package without notes; better to say so here than there.
        outcome.errors << located(path, 0, QStringLiteral("there are no phrases to write"));
        return outcome;
    }
    QTemporaryDir folder;
    if (!folder.isValid()) {
        outcome.errors << located(path, 0, QStringLiteral("no temporary folder: %1").arg(folder.errorString()));
        return outcome;
    }
    const QString collection = folder.filePath(QStringLiteral("collection.anki2"));
    Media media;
    try {
        const platform::Database db = platform::Database::openFile(collection, true);
        fillCollection(db, lessons, deckName, languages, &media);
    } catch (const platform::DbError& error) {
        outcome.errors << located(
            path, 0, QStringLiteral("the collection cannot be written: %1").arg(error.description()));
        return outcome;
    }
    QFile file(collection);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome.errors << located(
            path, 0, QStringLiteral("the collection cannot be read back: %1").arg(file.errorString()));
        return outcome;
    }
    QList<QPair<QString, QByteArray>> entries { { QStringLiteral("collection.anki2"), file.readAll() },
        { QStringLiteral("media"), json(media.list).toUtf8() } };
    entries += media.entries;
    QString problem;
    if (!writeZip(path, entries, &problem)) {
        outcome.errors << located(path, 0, problem);
    }
    return outcome;
}

}
