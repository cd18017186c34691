#include "classexchange.h"

#include <QDateTime>

#include "students/serverschema.h"
#include "students/syncjournal.h"

using platform::PgConnection;
using platform::ServerError;

namespace {

// "($1::uuid, $2::bigint, ...), (...)" for rows of the given column types.
QString valuesList(const QStringList& types, int rows)
{
    QStringList tuples;
    int n = 0;
    for (int r = 0; r < rows; ++r) {
        QStringList fields;
        for (const QString& type : types)
            fields << QStringLiteral("$%1::%2").arg(++n).arg(type);
        tuples << QLatin1Char('(') + fields.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    return tuples.join(QLatin1Char(','));
}

QVariant numberOrNull(const QVariant& v)
{
    bool ok = false;
    const double d = v.toDouble(&ok);
    return v.isNull() || !ok ? QVariant() : QVariant(d);
}

QVariant uuidOrNull(const QString& id) { return id.isEmpty() ? QVariant() : QVariant(id); }

// Rows of a student whose results the administrator removed are not taken again from a computer that was away.
const QString NotPurged = QStringLiteral(
    " WHERE NOT EXISTS (SELECT 1 FROM students st WHERE st.purged AND st.removed AND st.display_name = v.name)"
    " ON CONFLICT (origin_db, origin_id) DO NOTHING");

void sendScores(const PgConnection& db, const QVector<SyncScore>& scores)
{
    static const QStringList types { "uuid", "bigint", "text", "text", "text", "text", "float8", "text", "text" };
    for (qsizetype start = 0; start < scores.size(); start += 400) {
        const auto batch = scores.mid(start, 400);
        QVariantList values;
        for (const SyncScore& s : batch)
            values << s.originDb << s.originId << s.name << s.subject << s.activity << s.textScore
                   << numberOrNull(s.numberScore) << s.date << s.time;
        db.execute(QStringLiteral("INSERT INTO scores (origin_db, origin_id, name, subject, activity, text_score, "
                                  "number_score, score_date, score_time) SELECT v.* FROM (VALUES %1) AS v(origin_db, "
                                  "origin_id, name, subject, activity, text_score, number_score, score_date, "
                                  "score_time)")
                       .arg(valuesList(types, static_cast<int>(batch.size())))
                + NotPurged,
            values);
    }
}

void sendPhrases(const PgConnection& db, const QVector<SyncPhrase>& phrases)
{
    static const QStringList types { "uuid", "bigint", "uuid", "bigint", "text", "text", "text", "integer", "text",
        "integer" };
    for (qsizetype start = 0; start < phrases.size(); start += 400) {
        const auto batch = phrases.mid(start, 400);
        QVariantList values;
        for (const SyncPhrase& p : batch)
            values << p.originDb << p.originId << uuidOrNull(p.scoreDb)
                   << (p.scoreDb.isEmpty() ? QVariant() : QVariant(p.scoreId)) << p.name << p.phrase << p.activity
                   << (p.rating.isNull() ? QVariant() : QVariant(p.rating.toInt())) << p.moment
                   << (p.answerMs.isNull() ? QVariant() : p.answerMs);
        db.execute(QStringLiteral("INSERT INTO phrase_results (origin_db, origin_id, score_db, score_id, name, phrase, "
                                  "activity, rating, moment, answer_ms) SELECT v.* FROM (VALUES %1) AS v(origin_db, "
                                  "origin_id, score_db, score_id, name, phrase, activity, rating, moment, answer_ms)")
                       .arg(valuesList(types, static_cast<int>(batch.size())))
                + NotPurged,
            values);
    }
}

void sendStudent(const PgConnection& db, const SyncStudent& s)
{
    if (!s.removed) {
        // The later change wins, by the order the server takes them in. A name removed before and made again is a
        // new arrival.
        db.execute(
            QStringLiteral("INSERT INTO students (name_key, first_name, last_name, display_name, password, icon, "
                           "born, seq) VALUES ($1, $2, $3, $4, $5, $6, nextval('student_arrivals'), "
                           "nextval('student_changes')) ON CONFLICT (name_key) DO UPDATE SET first_name = "
                           "EXCLUDED.first_name, last_name = EXCLUDED.last_name, display_name = "
                           "EXCLUDED.display_name, password = EXCLUDED.password, icon = EXCLUDED.icon, born = "
                           "CASE WHEN students.removed THEN EXCLUDED.born ELSE students.born END, removed = "
                           "false, purged = false, seq = EXCLUDED.seq, changed_at = now()"),
            { s.key, s.firstName, s.lastName, s.displayName(), s.password, s.icon });
        return;
    }
    // The administrator stays: a computer that removed him or her did so before it knew the class; the change is
    // numbered again so that it brings the student back.
    const int removed = db.execute(
        QStringLiteral(
            "UPDATE students SET removed = true, purged = $2, seq = nextval('student_changes'), changed_at = "
            "now() WHERE name_key = $1 AND NOT removed AND born <> (SELECT min(born) FROM students WHERE NOT "
            "removed)"),
        { s.key, s.purged });
    if (removed == 0)
        db.execute(QStringLiteral("UPDATE students SET seq = nextval('student_changes') WHERE name_key = $1 AND NOT "
                                  "removed"),
            { s.key });
    else if (s.purged) {
        db.execute(QStringLiteral("DELETE FROM scores WHERE name = $1"), { s.displayName() });
        db.execute(QStringLiteral("DELETE FROM phrase_results WHERE name = $1"), { s.displayName() });
    }
}

SyncStudent serverStudent(const platform::Recordset& rs, int i)
{
    SyncStudent s;
    s.key = rs.text(i, 0);
    s.firstName = rs.text(i, 1);
    s.lastName = rs.text(i, 2);
    s.password = rs.value(i, 3);
    s.icon = rs.value(i, 4).toInt();
    s.removed = rs.value(i, 5).toBool();
    s.purged = rs.value(i, 6).toBool();
    s.seq = rs.value(i, 7).toLongLong();
    return s;
}

}

void Send_Outbox(const PgConnection& db, const Outbox& outbox)
{
    db.inTransaction(QStringLiteral("BEGIN"), [&] {
        db.query(QStringLiteral("SELECT pg_advisory_xact_lock($1)"), { server::WriteLock });
        db.execute(QStringLiteral("INSERT INTO computers (db) VALUES ($1) ON CONFLICT (db) DO UPDATE SET last_seen = "
                                  "now()"),
            { outbox.database });
        for (const SyncStudent& s : outbox.students)
            sendStudent(db, s);
        sendScores(db, outbox.scores);
        sendPhrases(db, outbox.phrases);
    });
}

Inbox Fetch_Inbox(const PgConnection& db, const PullPoint& from, int limit)
{
    Inbox in;
    in.studentSeq = from.studentSeq;
    in.scoreSeq = from.scoreSeq;
    in.phraseSeq = from.phraseSeq;
    // One view of the server for the four reads, so a phrase row's round is there whenever the row is.
    db.inTransaction(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"), [&] {
        const auto students
            = db.query(QStringLiteral("SELECT name_key, first_name, last_name, password, icon, removed, "
                                      "purged, seq FROM students WHERE seq > $1 ORDER BY seq"),
                { from.studentSeq });
        for (int i = 0; i < students.count(); ++i) {
            in.students.push_back(serverStudent(students, i));
            in.studentSeq = in.students.back().seq;
        }
        const auto admin
            = db.query(QStringLiteral("SELECT name_key FROM students WHERE NOT removed ORDER BY born LIMIT 1"));
        in.administratorKey = admin.isEmpty() ? QString() : admin.text(0, 0);
        const auto scores = db.query(QStringLiteral("SELECT seq, origin_db::text, origin_id, name, subject, activity, "
                                                    "text_score, number_score, score_date, score_time FROM scores "
                                                    "WHERE seq > $1 ORDER BY seq LIMIT $2"),
            { from.scoreSeq, limit });
        for (int i = 0; i < scores.count(); ++i) {
            in.scores.push_back(
                { scores.text(i, 1), scores.value(i, 2).toLongLong(), scores.text(i, 3), scores.text(i, 4),
                    scores.text(i, 5), scores.text(i, 6), scores.value(i, 7), scores.text(i, 8), scores.text(i, 9) });
            in.scoreSeq = scores.value(i, 0).toLongLong();
        }
        const auto phrases = db.query(
            QStringLiteral("SELECT p.seq, p.origin_db::text, p.origin_id, p.score_db::text, p.score_id, p.name, "
                           "p.phrase, p.activity, p.rating, p.moment, p.answer_ms, s.seq FROM phrase_results p LEFT "
                           "JOIN scores s ON s.origin_db = p.score_db AND s.origin_id = p.score_id WHERE p.seq > $1 "
                           "ORDER BY p.seq LIMIT $2"),
            { from.phraseSeq, limit });
        for (int i = 0; i < phrases.count(); ++i) {
            // A row whose round is beyond the scores of this inbox waits for the next, with every row after it.
            if (!phrases.value(i, 11).isNull() && phrases.value(i, 11).toLongLong() > in.scoreSeq) {
                in.full = true;
                break;
            }
            in.phrases.push_back({ phrases.text(i, 1), phrases.value(i, 2).toLongLong(), phrases.text(i, 3),
                phrases.value(i, 4).toLongLong(), phrases.text(i, 5), phrases.text(i, 6), phrases.text(i, 7),
                phrases.value(i, 8), phrases.text(i, 9), phrases.value(i, 10) });
            in.phraseSeq = phrases.value(i, 0).toLongLong();
        }
        in.full = in.full || scores.count() == limit || phrases.count() == limit;
    });
    return in;
}

ExchangeReport Exchange_With_Server(const UserFile& users, const platform::ServerAddress& address)
{
    // The server first: while it is away the user database is not touched at all.
    const PgConnection db = PgConnection::connect(address);
    Sync_Database_Id(users);
    server::Upgrade_Server_Schema(db);
    ExchangeReport report;
    for (;;) {
        const Outbox outbox = Read_Outbox(users, ExchangeBatch);
        if (outbox.isEmpty())
            break;
        Send_Outbox(db, outbox);
        Mark_Sent(users, outbox);
        report.sent += outbox.students.size() + outbox.scores.size() + outbox.phrases.size();
        if (!outbox.full)
            break;
    }
    for (;;) {
        const Inbox inbox = Fetch_Inbox(db, Read_Pull_Point(users), ExchangeBatch);
        report.received += Apply_Inbox(users, inbox);
        if (!inbox.full)
            break;
    }
    Record_Exchange(users, QDateTime::currentDateTimeUtc());
    return report;
}
