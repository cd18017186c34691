#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include "students/syncstatus.h"
#include "students/userdatabase.h"

// Keeps a computer's user database and its school's server in step while the program runs. Each exchange runs on a
// thread of its own, one at a time; a request made while one runs is folded into one more after it, so callers may
// ask as often as they like. Nothing here waits on the network on the caller's thread, except finish() at exit, and
// that only for as long as it is told. With no server set for the data folder it does nothing.
class ClassSync : public QObject
{
    Q_OBJECT
public:
    ClassSync(UserFile users, QString dataDir, QObject* parent = nullptr);
    ~ClassSync() override;

    void requestExchange();
    // Exchanges again every intervalMs while the program runs.
    void exchangeEvery(int intervalMs);
    SyncStatus status() const { return m_status; }
    // A last exchange before the program ends, waited for at most waitMs; false when it did not end in time (it goes
    // on, and the program waits for it as it closes) or failed. After an attempt that could not reach the server it
    // does not try again, so that the program does not linger at its end.
    bool finish(int waitMs);

Q_SIGNALS:
    void statusChanged(const SyncStatus& status);
    // Rows or students came in from other computers: a window showing them may read them again.
    void arrived();

private:
    struct Outcome
    {
        SyncStatus status;
        qint64 received = 0;
    };
    static Outcome exchange(const UserFile& users, const QString& dataDir);
    void start();
    void ended();
    void setStatus(const SyncStatus& status);

    UserFile m_users;
    QString m_dataDir;
    SyncStatus m_status;
    bool m_again = false;
    QTimer m_timer;
    QThreadPool m_pool;
    QFutureWatcher<Outcome> m_watcher;
};
