#include "serverschema.h"

namespace server {

const QStringList& Migrations()
{
    static const QStringList steps {
        QStringLiteral(
            "CREATE SEQUENCE student_changes;\n"
            "CREATE SEQUENCE student_arrivals;\n"
            "CREATE TABLE students (name_key text PRIMARY KEY, first_name text NOT NULL, last_name text NOT NULL,\n"
            "  display_name text NOT NULL, password text, icon integer NOT NULL, removed boolean NOT NULL DEFAULT "
            "false,\n"
            "  purged boolean NOT NULL DEFAULT false, born bigint NOT NULL, seq bigint NOT NULL,\n"
            "  changed_at timestamptz NOT NULL DEFAULT now());\n"
            "CREATE INDEX students_seq ON students (seq);\n"
            "CREATE TABLE scores (seq bigserial PRIMARY KEY, origin_db uuid NOT NULL, origin_id bigint NOT NULL,\n"
            "  name text, subject text, activity text, text_score text, number_score double precision,\n"
            "  score_date text, score_time text, UNIQUE (origin_db, origin_id));\n"
            "CREATE INDEX scores_name ON scores (name);\n"
            "CREATE TABLE phrase_results (seq bigserial PRIMARY KEY, origin_db uuid NOT NULL,\n"
            "  origin_id bigint NOT NULL, score_db uuid, score_id bigint, name text, phrase text, activity text,\n"
            "  rating integer, moment text, answer_ms integer, UNIQUE (origin_db, origin_id));\n"
            "CREATE INDEX phrase_results_name ON phrase_results (name);\n"
            "CREATE TABLE computers (db uuid PRIMARY KEY, first_seen timestamptz NOT NULL DEFAULT now(),\n"
            "  last_seen timestamptz NOT NULL DEFAULT now());\n"),
    };
    return steps;
}

int Upgrade_Server_Schema(const platform::PgConnection& db)
{
    const int newest = static_cast<int>(Migrations().size());
    const auto current = [&db] {
        return db.query(QStringLiteral("SELECT coalesce(max(step), 0) FROM migrations")).value(0, 0).toInt();
    };
    // The usual case, a server already up to date, takes no lock.
    if (!db.query(QStringLiteral("SELECT to_regclass('migrations') IS NOT NULL")).value(0, 0).toBool()
        || current() != newest) {
        db.inTransaction(QStringLiteral("BEGIN"), [&] {
            // Computers of a class that meet a new database at once take turns, from the first table on: two
            // that made it side by side would collide in the server's catalogue.
            db.query(QStringLiteral("SELECT pg_advisory_xact_lock($1)"), { WriteLock });
            db.executeScript(QStringLiteral("CREATE TABLE IF NOT EXISTS migrations (step integer PRIMARY KEY, "
                                            "applied_at timestamptz NOT NULL DEFAULT now())"));
            for (int step = current(); step < newest; ++step) {
                db.executeScript(Migrations().at(step));
                db.execute(QStringLiteral("INSERT INTO migrations (step) VALUES ($1)"), { step + 1 });
            }
        });
    }
    const int reached = current();
    if (reached > newest)
        throw platform::ServerError(
            QStringLiteral("The school server's tables come from a newer version of the program (step %1; this one "
                           "knows %2). Update this computer's program.")
                .arg(reached)
                .arg(newest),
            false);
    return newest;
}

}
