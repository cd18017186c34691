#include "syncjournal.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSysInfo>
#include <QUuid>

#include "platform/database.h"
#include "platform/userschema.h"
#include "students/studentnames.h"

using platform::Database;

namespace {

const QString Scores = QStringLiteral("tblscores");
const QString Phrases = QStringLiteral("tblphraseresults");

QString tablesScript()
{
    return QStringLiteral(
        "CREATE TABLE IF NOT EXISTS tblsyncstate (tKey TEXT PRIMARY KEY, tValue TEXT);\n"
        "CREATE TABLE IF NOT EXISTS tblsyncorigins (tTable TEXT NOT NULL, nLocalID INTEGER NOT NULL, "
        "tDatabase TEXT NOT NULL, nOriginID INTEGER NOT NULL, PRIMARY KEY (tTable, tDatabase, nOriginID));\n"
        "CREATE INDEX IF NOT EXISTS tblsyncorigins_local ON tblsyncorigins (tTable, nLocalID);\n"
        "CREATE TABLE IF NOT EXISTS tblsyncstudents (nStudentID INTEGER PRIMARY KEY, tKey TEXT, tFirstname TEXT, "
        "tLastname TEXT, tPassword TEXT, nIcon INTEGER);\n");
}

Database openUsers(const UserFile& users) { return Database::open(users.connectionString()); }

QString state(const Database& db, const QString& key)
{
    const auto rs = db.query(QStringLiteral("SELECT tValue FROM tblsyncstate WHERE tKey = ?"), { key });
    return rs.isEmpty() ? QString() : rs.text(0, 0);
}

qint64 number(const Database& db, const QString& key) { return state(db, key).toLongLong(); }

void setState(const Database& db, const QString& key, const QVariant& value)
{
    db.execute(
        QStringLiteral("INSERT OR REPLACE INTO tblsyncstate (tKey, tValue) VALUES (?, ?)"), { key, value.toString() });
}

// Where a file lives: the computer and its place there. A file found elsewhere than it was is a copy.
QString homeOf(const UserFile& users)
{
    return QString::fromLatin1(QSysInfo::machineUniqueId()) + QLatin1Char('|')
        + QFileInfo(users.path).canonicalFilePath();
}

// The rows of this file as the server names them: those born under its identity, and those it had sent under an
// identity it had before it was copied.
class OwnRows
{
public:
    explicit OwnRows(const Database& db)
        : m_me(state(db, QStringLiteral("database")))
    {
        for (const QString& former : state(db, QStringLiteral("former")).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QStringList parts = former.split(QLatin1Char(' '));
            m_former.insert(parts.value(0), { parts.value(1).toLongLong(), parts.value(2).toLongLong() });
        }
    }
    bool owns(bool score, const QString& originDb, qint64 originId) const
    {
        const auto former = m_former.constFind(originDb);
        return originDb == m_me || (former != m_former.cend() && originId <= (score ? former->first : former->second));
    }

private:
    QString m_me;
    QHash<QString, std::pair<qint64, qint64>> m_former; // identity -> the scores and phrases sent under it
};

struct LocalStudent
{
    qint64 id = 0;
    SyncStudent values;
};

SyncStudent studentOf(const platform::Recordset& rs, int row)
{
    SyncStudent s;
    s.firstName = rs.text(row, 1);
    s.lastName = rs.text(row, 2);
    s.password = rs.value(row, 3).isNull() ? QVariant() : QVariant(rs.text(row, 3));
    s.icon = rs.value(row, 4).toInt();
    s.key = Name_Key(s.displayName());
    return s;
}

bool sameValues(const SyncStudent& a, const SyncStudent& b)
{
    return a.firstName == b.firstName && a.lastName == b.lastName && a.password.isNull() == b.password.isNull()
        && a.password.toString() == b.password.toString() && a.icon == b.icon;
}

// The students as they are here, and as the server last had them from here, each by local key.
struct StudentDiff
{
    QVector<LocalStudent> changed; // new or changed here
    QVector<SyncStudent> gone; // removed here, or renamed: the old name
    QSet<QString> pendingKeys; // every name with a change still to send
};

StudentDiff diffStudents(const Database& db)
{
    const auto now = db.query(QStringLiteral(
        "SELECT pkStudentID, tFirstname, tLastname, tPassword, nIcon FROM tblUsers ORDER BY pkStudentID"));
    const auto sent = db.query(
        QStringLiteral("SELECT nStudentID, tFirstname, tLastname, tPassword, nIcon, tKey FROM tblsyncstudents"));
    QHash<qint64, SyncStudent> before;
    for (int i = 0; i < sent.count(); ++i)
        before.insert(sent.value(i, 0).toLongLong(), studentOf(sent, i));
    StudentDiff diff;
    QSet<QString> presentKeys;
    QSet<qint64> presentIds;
    for (int i = 0; i < now.count(); ++i) {
        const qint64 id = now.value(i, 0).toLongLong();
        const SyncStudent s = studentOf(now, i);
        presentKeys.insert(s.key);
        presentIds.insert(id);
        const auto was = before.constFind(id);
        if (was == before.cend() || !sameValues(*was, s)) {
            diff.changed.push_back({ id, s });
            diff.pendingKeys.insert(s.key);
        }
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (presentKeys.contains(it->key))
            continue;
        SyncStudent gone = *it;
        gone.removed = true;
        // A student whose row is gone was removed with his or her results; one whose row is there under another
        // name was renamed, and the results stay under the name they were recorded with.
        gone.purged = !presentIds.contains(it.key());
        diff.gone.push_back(gone);
        diff.pendingKeys.insert(gone.key);
    }
    return diff;
}

void keepSent(const Database& db, qint64 id, const SyncStudent& s)
{
    db.execute(QStringLiteral("INSERT OR REPLACE INTO tblsyncstudents (nStudentID, tKey, tFirstname, tLastname, "
                              "tPassword, nIcon) VALUES (?, ?, ?, ?, ?, ?)"),
        { id, s.key, s.firstName, s.lastName, s.password, s.icon });
}

void readScores(const Database& db, Outbox& out, int limit)
{
    const auto rs = db.query(QStringLiteral("SELECT pkScoreID, tName, tSubject, tActivity, textScore, numberScore, "
                                            "nDate, nTime FROM tblscores s WHERE pkScoreID > ? AND NOT EXISTS "
                                            "(SELECT 1 FROM tblsyncorigins o WHERE o.tTable = 'tblscores' AND "
                                            "o.nLocalID = s.pkScoreID) ORDER BY pkScoreID LIMIT ?"),
        { out.lastScore, limit });
    for (int i = 0; i < rs.count(); ++i) {
        SyncScore s { out.database, rs.value(i, 0).toLongLong(), rs.text(i, 1), rs.text(i, 2), rs.text(i, 3),
            rs.text(i, 4), rs.value(i, 5), rs.text(i, 6), rs.text(i, 7) };
        out.lastScore = s.originId;
        out.scores.push_back(s);
    }
    out.full = rs.count() == limit;
    // Every row up to the newest is either in the outbox or was brought in: the next outbox need not pass over the
    // rows brought in again.
    if (!out.full)
        out.lastScore = qMax(out.lastScore,
            db.query(QStringLiteral("SELECT IFNULL(MAX(pkScoreID), 0) FROM tblscores")).value(0, 0).toLongLong());
}

void readPhrases(const Database& db, Outbox& out, int limit)
{
    const auto rs = db.query(
        QStringLiteral("SELECT r.pkResultID, r.fkScoreID, o.tDatabase, o.nOriginID, r.tName, r.tPhraseID, "
                       "r.tActivity, r.nRating, r.tMoment, r.nAnswerMs FROM tblphraseresults r LEFT JOIN "
                       "tblsyncorigins o ON o.tTable = 'tblscores' AND o.nLocalID = r.fkScoreID WHERE r.pkResultID > ? "
                       "AND NOT EXISTS (SELECT 1 FROM tblsyncorigins p WHERE p.tTable = 'tblphraseresults' AND "
                       "p.nLocalID = r.pkResultID) ORDER BY r.pkResultID LIMIT ?"),
        { out.lastPhrase, limit });
    for (int i = 0; i < rs.count(); ++i) {
        SyncPhrase p;
        p.originDb = out.database;
        p.originId = rs.value(i, 0).toLongLong();
        const QVariant score = rs.value(i, 1);
        if (!rs.value(i, 2).isNull()) {
            p.scoreDb = rs.text(i, 2);
            p.scoreId = rs.value(i, 3).toLongLong();
        } else if (!score.isNull()) {
            // The round's own score row must be on the server first; it goes with a later outbox.
            if (score.toLongLong() > out.lastScore) {
                out.full = true;
                return;
            }
            p.scoreDb = out.database;
            p.scoreId = score.toLongLong();
        }
        p.name = rs.text(i, 4);
        p.phrase = rs.text(i, 5);
        p.activity = rs.text(i, 6);
        p.rating = rs.value(i, 7);
        p.moment = rs.text(i, 8);
        p.answerMs = rs.value(i, 9);
        out.lastPhrase = p.originId;
        out.phrases.push_back(p);
    }
    if (rs.count() == limit)
        out.full = true;
    else if (!out.full)
        out.lastPhrase = qMax(out.lastPhrase,
            db.query(QStringLiteral("SELECT IFNULL(MAX(pkResultID), 0) FROM tblphraseresults"))
                .value(0, 0)
                .toLongLong());
}

}

QString Sync_Database_Id(const UserFile& users)
{
    const Database db = openUsers(users);
    const QString home = homeOf(users);
    // The usual case reads and writes nothing else: the students' windows read the file at the same moments.
    if (db.hasTable(QStringLiteral("tblsyncstate")) && state(db, QStringLiteral("home")) == home) {
        const QString known = state(db, QStringLiteral("database"));
        if (!known.isEmpty())
            return known;
    }
    db.executeScript(platform::users::upgradeScript() + tablesScript());
    db.execute(QStringLiteral("BEGIN IMMEDIATE"));
    QString id = state(db, QStringLiteral("database"));
    const QString was = state(db, QStringLiteral("home"));
    if (!id.isEmpty() && !was.isEmpty() && was != home) {
        // The file was copied, or moved: the copy and the file it came from must not both add rows under one
        // identity. The copy takes a new one, and keeps the old one with how far its rows had been sent, so that it
        // knows those rows for its own when the server brings them back.
        setState(db, QStringLiteral("former"),
            state(db, QStringLiteral("former"))
                + QStringLiteral("%1 %2 %3;")
                      .arg(id, state(db, QStringLiteral("sentScore")), state(db, QStringLiteral("sentPhrase"))));
        id.clear();
    }
    if (id.isEmpty()) {
        id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        setState(db, QStringLiteral("database"), id);
    }
    setState(db, QStringLiteral("home"), home);
    db.execute(QStringLiteral("COMMIT"));
    return id;
}

Outbox Read_Outbox(const UserFile& users, int limit)
{
    const Database db = openUsers(users);
    // One snapshot of the file: an activity's rows written meanwhile are either all in it or all after it.
    db.execute(QStringLiteral("BEGIN"));
    Outbox out;
    out.database = state(db, QStringLiteral("database"));
    out.lastScore = number(db, QStringLiteral("sentScore"));
    out.lastPhrase = number(db, QStringLiteral("sentPhrase"));
    const StudentDiff diff = diffStudents(db);
    for (const LocalStudent& s : diff.changed) {
        out.students.push_back(s.values);
        out.studentIds.push_back(s.id);
    }
    for (const SyncStudent& s : diff.gone) {
        out.students.push_back(s);
        out.studentIds.push_back(0);
    }
    readScores(db, out, limit);
    readPhrases(db, out, limit);
    db.execute(QStringLiteral("COMMIT"));
    return out;
}

void Mark_Sent(const UserFile& users, const Outbox& outbox)
{
    const Database db = openUsers(users);
    db.execute(QStringLiteral("BEGIN IMMEDIATE"));
    for (int i = 0; i < outbox.students.size(); ++i) {
        const SyncStudent& s = outbox.students[i];
        if (outbox.studentIds[i] != 0)
            keepSent(db, outbox.studentIds[i], s);
        else if (s.purged)
            db.execute(QStringLiteral("DELETE FROM tblsyncstudents WHERE tKey = ? AND nStudentID NOT IN "
                                      "(SELECT pkStudentID FROM tblUsers)"),
                { s.key });
    }
    setState(db, QStringLiteral("sentScore"), qMax(outbox.lastScore, number(db, QStringLiteral("sentScore"))));
    setState(db, QStringLiteral("sentPhrase"), qMax(outbox.lastPhrase, number(db, QStringLiteral("sentPhrase"))));
    db.execute(QStringLiteral("COMMIT"));
}

PullPoint Read_Pull_Point(const UserFile& users)
{
    const Database db = openUsers(users);
    return { number(db, QStringLiteral("pulledStudent")), number(db, QStringLiteral("pulledScore")),
        number(db, QStringLiteral("pulledPhrase")) };
}

namespace {

// The statements that store what comes in, each made once for a whole inbox.
class Arrivals
{
public:
    explicit Arrivals(const Database& db)
        : m_db(db)
        , m_find(db,
              QStringLiteral(
                  "SELECT nLocalID FROM tblsyncorigins WHERE tTable = ? AND tDatabase = ? AND nOriginID = ?"))
        , m_origin(db, QStringLiteral("INSERT INTO tblsyncorigins VALUES (?, ?, ?, ?)"))
        , m_score(db,
              QStringLiteral("INSERT INTO tblscores (tName, tSubject, tActivity, textScore, numberScore, nDate, nTime) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?)"))
        , m_phrase(db,
              QStringLiteral("INSERT INTO tblphraseresults (fkScoreID, tName, tPhraseID, tActivity, nRating, tMoment, "
                             "nAnswerMs) VALUES (?, ?, ?, ?, ?, ?, ?)"))
    {
    }

    // The local key of a row brought in from elsewhere; 0 when it is not here.
    qint64 localOf(const QString& table, const QString& originDb, qint64 originId) const
    {
        return m_find.firstValue({ table, originDb, originId }).toLongLong();
    }

    void addScore(const SyncScore& s) const
    {
        m_score.execute({ s.name, s.subject, s.activity, s.textScore, s.numberScore, s.date, s.time });
        m_origin.execute({ Scores, m_db.lastInsertId(), s.originDb, s.originId });
    }

    void addPhrase(const SyncPhrase& p, const QVariant& score) const
    {
        m_phrase.execute({ score, p.name, p.phrase, p.activity, p.rating, p.moment, p.answerMs });
        m_origin.execute({ Phrases, m_db.lastInsertId(), p.originDb, p.originId });
    }

private:
    const Database& m_db;
    platform::Prepared m_find, m_origin, m_score, m_phrase;
};

int applyScores(const Arrivals& arrivals, const OwnRows& own, const QVector<SyncScore>& scores)
{
    int added = 0;
    for (const SyncScore& s : scores) {
        if (own.owns(true, s.originDb, s.originId) || arrivals.localOf(Scores, s.originDb, s.originId) != 0)
            continue;
        arrivals.addScore(s);
        ++added;
    }
    return added;
}

int applyPhrases(const Arrivals& arrivals, const OwnRows& own, const QVector<SyncPhrase>& phrases)
{
    int added = 0;
    for (const SyncPhrase& p : phrases) {
        if (own.owns(false, p.originDb, p.originId) || arrivals.localOf(Phrases, p.originDb, p.originId) != 0)
            continue;
        QVariant score;
        if (own.owns(true, p.scoreDb, p.scoreId))
            score = p.scoreId;
        else if (!p.scoreDb.isEmpty()) {
            const qint64 local = arrivals.localOf(Scores, p.scoreDb, p.scoreId);
            score = local ? QVariant(local) : QVariant();
        }
        arrivals.addPhrase(p, score);
        ++added;
    }
    return added;
}

// The local rows of each name, by key.
QHash<QString, QVector<qint64>> idsByKey(const Database& db)
{
    const auto rs = db.query(QStringLiteral("SELECT pkStudentID, tFirstname, tLastname FROM tblUsers"));
    QHash<QString, QVector<qint64>> ids;
    for (int i = 0; i < rs.count(); ++i)
        ids[Name_Key(rs.text(i, 1) + QLatin1Char(' ') + rs.text(i, 2))].push_back(rs.value(i, 0).toLongLong());
    return ids;
}

int applyStudents(const Database& db, const QVector<SyncStudent>& students)
{
    const QSet<QString> pending = diffStudents(db).pendingKeys;
    const auto ids = idsByKey(db);
    int changed = 0;
    for (const SyncStudent& s : students) {
        if (pending.contains(s.key))
            continue;
        const QVector<qint64> here = ids.value(s.key);
        if (s.removed) {
            for (const qint64 id : here) {
                db.execute(QStringLiteral("DELETE FROM tblUsers WHERE pkStudentID = ?"), { id });
                db.execute(QStringLiteral("DELETE FROM tblsyncstudents WHERE nStudentID = ?"), { id });
            }
            if (s.purged) {
                db.execute(QStringLiteral("DELETE FROM tblscores WHERE tName = ?"), { s.displayName() });
                db.execute(QStringLiteral("DELETE FROM tblphraseresults WHERE tName = ?"), { s.displayName() });
            }
            changed += static_cast<int>(here.size());
            continue;
        }
        qint64 id = here.isEmpty() ? 0 : here.first();
        if (id) {
            // This computer's own change comes back from the server as well; only a different one counts.
            changed += db.execute(QStringLiteral("UPDATE tblUsers SET tFirstname = ?1, tLastname = ?2, tPassword = ?3, "
                                                 "nIcon = ?4 WHERE pkStudentID = ?5 AND (tFirstname IS NOT ?1 OR "
                                                 "tLastname IS NOT ?2 OR tPassword IS NOT ?3 OR nIcon IS NOT ?4)"),
                { s.firstName, s.lastName, s.password, s.icon, id });
        } else {
            id = db.insertRow(QStringLiteral("tblUsers"),
                { QStringLiteral("tFirstname"), QStringLiteral("tLastname"), QStringLiteral("tPassword"),
                    QStringLiteral("nIcon") },
                { s.firstName, s.lastName, s.password, s.icon });
            ++changed;
        }
        keepSent(db, id, s);
    }
    return changed;
}

// The server's administrator becomes the first row here, below every other key, so that no other student's key
// changes under a window that holds it.
void placeAdministrator(const Database& db, const QString& key)
{
    const QVector<qint64> here = idsByKey(db).value(key);
    if (key.isEmpty() || here.isEmpty())
        return;
    const qint64 first = db.query(QStringLiteral("SELECT MIN(pkStudentID) FROM tblUsers")).value(0, 0).toLongLong();
    if (here.first() == first)
        return;
    db.execute(
        QStringLiteral("UPDATE tblUsers SET pkStudentID = ? WHERE pkStudentID = ?"), { first - 1, here.first() });
    db.execute(
        QStringLiteral("UPDATE tblsyncstudents SET nStudentID = ? WHERE nStudentID = ?"), { first - 1, here.first() });
}

}

int Apply_Inbox(const UserFile& users, const Inbox& inbox)
{
    const Database db = openUsers(users);
    db.execute(QStringLiteral("BEGIN IMMEDIATE"));
    const OwnRows own(db);
    int changed = 0;
    {
        const Arrivals arrivals(db);
        changed = applyScores(arrivals, own, inbox.scores) + applyPhrases(arrivals, own, inbox.phrases);
    }
    changed += applyStudents(db, inbox.students);
    placeAdministrator(db, inbox.administratorKey);
    setState(db, QStringLiteral("pulledStudent"), inbox.studentSeq);
    setState(db, QStringLiteral("pulledScore"), inbox.scoreSeq);
    setState(db, QStringLiteral("pulledPhrase"), inbox.phraseSeq);
    db.execute(QStringLiteral("COMMIT"));
    return changed;
}

qint64 Waiting_Rows(const UserFile& users)
{
    const Database db = openUsers(users);
    db.execute(QStringLiteral("BEGIN"));
    const auto count = [&db](const QString& sql, const QVariantList& values = {}) {
        return db.query(sql, values).value(0, 0).toLongLong();
    };
    if (!db.hasTable(QStringLiteral("tblsyncstate"))) {
        qint64 all = count(QStringLiteral("SELECT COUNT(*) FROM tblUsers"))
            + count(QStringLiteral("SELECT COUNT(*) FROM tblscores"));
        if (db.hasTable(Phrases))
            all += count(QStringLiteral("SELECT COUNT(*) FROM tblphraseresults"));
        return all;
    }
    const StudentDiff diff = diffStudents(db);
    return diff.changed.size() + diff.gone.size()
        + count(QStringLiteral("SELECT COUNT(*) FROM tblscores s WHERE pkScoreID > ? AND NOT EXISTS (SELECT 1 FROM "
                               "tblsyncorigins o WHERE o.tTable = 'tblscores' AND o.nLocalID = s.pkScoreID)"),
            { number(db, QStringLiteral("sentScore")) })
        + count(QStringLiteral("SELECT COUNT(*) FROM tblphraseresults r WHERE pkResultID > ? AND NOT EXISTS (SELECT 1 "
                               "FROM tblsyncorigins o WHERE o.tTable = 'tblphraseresults' AND o.nLocalID = "
                               "r.pkResultID)"),
            { number(db, QStringLiteral("sentPhrase")) });
}

QDateTime Last_Exchange(const UserFile& users)
{
    const Database db = openUsers(users);
    if (!db.hasTable(QStringLiteral("tblsyncstate")))
        return QDateTime();
    return QDateTime::fromString(state(db, QStringLiteral("lastExchange")), Qt::ISODate);
}

void Record_Exchange(const UserFile& users, const QDateTime& moment)
{
    setState(openUsers(users), QStringLiteral("lastExchange"), moment.toUTC().toString(Qt::ISODate));
}
