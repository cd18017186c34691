#pragma once

#include <functional>

#include <QHash>
#include <QString>

class QTreeWidgetItem;
struct Session;
struct SubjectRef;

inline const QString ValidSubject = QStringLiteral("VALID");

// Whether an installed subject of the session's folder can be used: "VALID", or the failure's description when
// the file does not open or has no properties row. Never throws.
QString Check_Subject(const Session& session, const QString& fileName);

// The checks of one launch: each installed subject is checked once, however many phrases it lends.
class SubjectChecks
{
public:
    using Check = std::function<QString(const Session&, const QString& fileName)>;
    explicit SubjectChecks(const Session& session, Check check = Check_Subject);

    const Session& session() const { return m_session; }
    // The check of the file, from its first asking.
    QString status(const QString& fileName);
    // Whether the phrases of the file can be studied: it is there and passed its check.
    bool usable(const QString& fileName);

private:
    const Session& m_session;
    Check m_check;
    QHash<QString, QString> m_status;
};

// Tells the user that an installed subject cannot be used and offers the page about subjects.
void Report_Subject_Problem(const Session& session, const QString& fileName, const QString& status);

// What the check before a launch found of a subject, for its node to show.
enum class SubjectUse { NotChecked, Usable, Unusable };

// Whether at least one phrase of a virtual subject (or of the random phrase set) can be studied. Names the
// phrases whose source subjects are gone; NotChecked, with a message, when the subject's phrases are not listed.
SubjectUse Check_vSubject(const SubjectRef& subject, SubjectChecks& checks);

// Shows the check on the subject's node: a virtual subject closes once it is checked, and a subject that cannot
// be used takes the picture that says so.
void Show_Subject_Use(QTreeWidgetItem* subjectNode, SubjectUse use);
