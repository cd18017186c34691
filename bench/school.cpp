#include "school.h"
#include "common/buildinfo.h"

#include <cmath>
#include <functional>
#include <stdexcept>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "bench/measure.h"
#include "common/product.h"
#include "platform/database.h"
#include "platform/userschema.h"
#include "platform/wave.h"

namespace bench {

QString studentName(int i) { return QStringLiteral("Student%1 O'Family%1").arg(i); }
QString activityName(int i) { return QStringLiteral("Activity %1").arg(i, 2, 10, QLatin1Char('0')); }
QString subjectName(int i) { return QStringLiteral("Subject *%1* of the course").arg(i, 3, 10, QLatin1Char('0')); }

QString stageFolder() { return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../stage")); }

namespace {

    void copyTree(const QString& from, const QString& to)
    {
        QDir().mkpath(to);
        QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString target = QDir::cleanPath(to + QLatin1Char('/') + source.mid(from.size()));
            if (it.fileInfo().isDir())
                need(QDir().mkpath(target), QStringLiteral("cannot make %1").arg(target));
            else
                need(QFile::copy(source, target), QStringLiteral("cannot copy %1").arg(source));
        }
    }

    // The folder of path that holds files ending in suffix: the installed and the virtual subjects folders carry
    // their interface-language names.
    QString folderHolding(const QString& path, const QString& suffix)
    {
        for (const QString& sub : QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (!QDir(path + sub).entryList({ QStringLiteral("*") + suffix }, QDir::Files).isEmpty())
                return path + sub + QLatin1Char('/');
        }
        throw std::runtime_error(QStringLiteral("no folder of %1 holds *%2").arg(path, suffix).toStdString());
    }

    QByteArray sound()
    {
        QByteArray pcm;
        const int samples = (SoundBytes - 44) / 2;
        pcm.resize(samples * 2);
        auto* out = reinterpret_cast<qint16*>(pcm.data());
        for (int i = 0; i < samples; ++i)
            out[i] = static_cast<qint16>(8000 * std::sin(i * 0.05));
        return platform::makeWave(pcm, 22050);
    }

    // A shipped subject with exactly ten phrases, each with a 50 KB sound.
    void makeInstalledModel(const QString& shipped, const QString& model)
    {
        need(QFile::copy(shipped, model), QStringLiteral("cannot copy %1").arg(shipped));
        QFile(model).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        const auto db = platform::Database::openFile(model);
        db.execute(QStringLiteral("DELETE FROM tblPhrases WHERE pkPhraseNo > ?"), { PhrasesPerSubject });
        const int have = db.query(QStringLiteral("SELECT COUNT(*) FROM tblPhrases")).value(0, 0).toInt();
        for (int k = have + 1; k <= PhrasesPerSubject; ++k)
            db.execute(QStringLiteral("INSERT INTO tblPhrases (pkPhraseNo, tPhrase, tTranslation, tTranslation2) "
                                      "SELECT ?, tPhrase || ' ' || ?, tTranslation, tTranslation2 FROM tblPhrases "
                                      "WHERE pkPhraseNo = 1"),
                { k, k });
        db.execute(QStringLiteral("UPDATE tblPhrases SET bsound = ?"), { sound() });
        db.executeScript(QStringLiteral("VACUUM;"));
    }

    // The empty virtual subject file with ten virtual subjects of ten phrases from the generated subjects.
    void makeVirtualModel(const QString& empty, const QString& model, const QString& extension)
    {
        need(QFile::copy(empty, model), QStringLiteral("cannot copy %1").arg(empty));
        QFile(model).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        const auto db = platform::Database::openFile(model);
        db.executeScript(QStringLiteral("BEGIN;"));
        for (int s = 0; s < VirtualSubjectsPerFile; ++s) {
            db.execute(QStringLiteral("INSERT INTO tblParents VALUES (?, ?)"),
                { s + 1, QStringLiteral("My subject %1").arg(s + 1) });
            for (int p = 1; p <= PhrasesPerSubject; ++p)
                db.execute(
                    QStringLiteral("INSERT INTO tblPhrases (fkParent, tfilename, nPhraseNo, tPhrase, tTranslation, "
                                   "tTranslation2) VALUES (?, ?, ?, ?, ?, ?)"),
                    { s + 1, ProgramFolder::installedName(s * 7 + p, extension), p,
                        QStringLiteral("Phrase %1 of subject %2").arg(p).arg(s + 1), QStringLiteral("Frase %1").arg(p),
                        QString() });
        }
        db.executeScript(QStringLiteral("COMMIT;"));
    }

    // Each student's phrases with their results spaced further apart as they go, mostly Good, one in ten Again.
    void addPhraseResults(const platform::Database& db, const QString& extension, const std::function<int(int)>& next)
    {
        using namespace platform::users;
        const QDateTime start(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
        const int phrasesPerStudent = PhraseResults / Students / ReviewsPerPhrase;
        for (int s = 0; s < Students; ++s) {
            for (int p = 0; p < phrasesPerStudent; ++p) {
                const QString phrase = ProgramFolder::installedName(next(ScoredSubjects), extension)
                    + QStringLiteral("#%1").arg(1 + next(PhrasesPerSubject));
                QDateTime moment = start.addDays(next(200)).addSecs(next(86400));
                for (int r = 0; r < ReviewsPerPhrase; ++r) {
                    const int roll = next(10);
                    const int rating = roll == 0 ? 1 : roll == 1 ? 2 : roll == 9 ? 4 : 3;
                    db.insertRow(PhraseResultsTable,
                        { ResultStudent, ResultPhrase, ResultActivity, ResultRating, ResultMoment, ResultAnswerMs },
                        { studentName(s), phrase, activityName(next(Activities)), rating, moment.toString(Qt::ISODate),
                            500 + next(5000) });
                    moment = moment.addDays(1 + next(3 << r)).addSecs(next(3600));
                }
            }
        }
    }

    void makeUsers(const QString& path, const QString& extension)
    {
        const auto db = platform::Database::openFile(path, true);
        using namespace platform::users;
        db.executeScript(schemaScript() + QStringLiteral("BEGIN;"));
        for (int i = 0; i < Students; ++i)
            db.insertRow(UsersTable, { FirstName, LastName, Icon },
                { QStringLiteral("Student%1").arg(i), QStringLiteral("O'Family%1").arg(i), 1 + i % 40 });
        quint32 seed = 12345;
        auto next = [&seed](int n) {
            seed = seed * 1664525u + 1013904223u;
            return static_cast<int>((seed >> 8) % static_cast<quint32>(n));
        };
        for (int r = 0; r < Results; ++r) {
            const QVariant text = r % 3 == 0 ? QVariant(QStringLiteral("%1/10").arg(next(11))) : QVariant();
            db.insertRow(ScoresTable,
                { ScoreStudent, ScoreSubject, ScoreActivity, TextScore, NumberScore, ScoreDate, ScoreTime },
                { studentName(next(Students)), subjectName(next(ScoredSubjects)), activityName(next(Activities)), text,
                    next(1000) / 10.0,
                    QStringLiteral("2026-%1-%2")
                        .arg(1 + next(12), 2, 10, QLatin1Char('0'))
                        .arg(1 + next(28), 2, 10, QLatin1Char('0')),
                    QStringLiteral("%1:%2:00")
                        .arg(next(24), 2, 10, QLatin1Char('0'))
                        .arg(next(60), 2, 10, QLatin1Char('0')) });
        }
        addPhraseResults(db, extension, next);
        db.executeScript(QStringLiteral("COMMIT;"));
    }
}

QString ProgramFolder::installedName(int i, const QString& extension)
{
    return QStringLiteral("lesson_number_%1_of_the_library.%2").arg(i, 4, 10, QLatin1Char('0')).arg(extension);
}

QString ProgramFolder::virtualName(int i, const QString& extension)
{
    return QStringLiteral("My words %1.v%2").arg(i, 3, 10, QLatin1Char('0')).arg(extension);
}

namespace {
    const QString CompleteMark = QStringLiteral("school-complete");
}

ProgramFolder::ProgramFolder(const QString& stage, bool school, const QString& keepAt)
{
    if (keepAt.isEmpty()) {
        need(m_dir.isValid(), QStringLiteral("no temporary folder"));
        m_path = m_dir.path() + QLatin1Char('/');
        make(stage, school);
        return;
    }
    m_dir.remove();
    m_path = QDir(keepAt).absolutePath() + QLatin1Char('/');
    if (QFile::exists(m_path + CompleteMark))
        return;
    QDir(m_path).removeRecursively();
    make(stage, school);
    QFile mark(m_path + CompleteMark);
    need(mark.open(QIODevice::WriteOnly), QStringLiteral("cannot mark %1").arg(m_path));
}

void ProgramFolder::make(const QString& stage, bool school)
{
    copyTree(stage, path());
    if (!school)
        return;
    const QString ext = subjectExtension();
    const QString installed = installedDir();
    const QString virtualFolder = virtualDir();
    const QStringList shipped = QDir(installed).entryList({ QStringLiteral("*.") + ext }, QDir::Files, QDir::Name);
    const QString model = path() + QStringLiteral("model.") + ext;
    makeInstalledModel(installed + shipped.value(0), model);
    const QString virtualModel = path() + QStringLiteral("model.v") + ext;
    makeVirtualModel(path() + QStringLiteral("custom.tpl"), virtualModel, ext);
    for (const QString& name : shipped)
        QFile::remove(installed + name);
    for (const QString& name : QDir(virtualFolder).entryList({ QStringLiteral("*.v") + ext }, QDir::Files))
        QFile::remove(virtualFolder + name);
    for (int i = 0; i < InstalledSubjects; ++i)
        need(QFile::copy(model, installed + installedName(i, ext)), QStringLiteral("cannot write a subject"));
    for (int i = 0; i < VirtualFiles; ++i)
        need(QFile::copy(virtualModel, virtualFolder + virtualName(i, ext)), QStringLiteral("cannot write a file"));
    QFile::remove(model);
    QFile::remove(virtualModel);
    makeUsers(usersFile(), ext);
}

ProgramFolder::Layout ProgramFolder::layoutOf(const QString& folder)
{
    const QString ext = Find_Product(Built_Program_Code())->subjectExtension;
    return { folderHolding(folder, QStringLiteral(".") + ext), folderHolding(folder, QStringLiteral(".v") + ext), ext };
}

QString ProgramFolder::path() const { return m_path; }

QString ProgramFolder::subjectExtension() const { return layoutOf(path()).extension; }

QString ProgramFolder::installedDir() const { return layoutOf(path()).installed; }

QString ProgramFolder::virtualDir() const { return layoutOf(path()).virtualFiles; }

QString ProgramFolder::usersFile() const { return path() + QStringLiteral("Users.dat"); }

}
