#include "platform/lessons/lessonexport.h"

#include <QFileInfo>

#include "platform/database.h"
#include "platform/lessons/subjectfile.h"
#include "platform/lessons/subjecttitle.h"

namespace lessons {

QList<Lesson> readLessons(const QStringList& subjectPaths, Outcome* outcome)
{
    QList<Lesson> lessons;
    for (const QString& path : subjectPaths) {
        if (!QFileInfo(path).isFile()) {
            outcome->errors << located(path, 0, QStringLiteral("no such subject file"));
            continue;
        }
        Lesson lesson { subjectTitle(QFileInfo(path).fileName()).trimmed(), {} };
        try {
            const platform::Database db = platform::Database::openFile(path);
            // A subject may come from anyone; a view in place of the table must not keep the export running.
            db.limitSteps(10'000'000);
            const auto rs = db.query(QStringLiteral(
                "SELECT tPhrase, tTranslation, tTranslation2, bsound FROM tblPhrases ORDER BY pkPhraseNo"));
            for (int row = 0; row < rs.count(); ++row)
                lesson.phrases << LessonPhrase { rs.text(row, QStringLiteral("tPhrase")),
                    rs.text(row, QStringLiteral("tTranslation")), rs.text(row, QStringLiteral("tTranslation2")),
                    rs.blob(row, QStringLiteral("bsound")) };
        } catch (const platform::DbError& e) {
            outcome->errors << located(path, 0, QStringLiteral("not a subject file: %1").arg(e.description()));
            continue;
        }
        if (lesson.phrases.isEmpty()) {
            outcome->errors << located(path, 0, QStringLiteral("the subject holds no phrase"));
            continue;
        }
        for (int i = 0; i < lesson.phrases.size(); ++i) {
            QByteArray& sound = lesson.phrases[i].sound;
            if (sound.isEmpty())
                continue;
            if (const QString problem = waveProblem(sound); !problem.isEmpty()) {
                outcome->warnings << located(
                    path, 0, QStringLiteral("phrase %1: the sound is %2; it is left out").arg(i + 1).arg(problem));
                sound.clear();
            }
        }
        lessons << lesson;
    }
    return lessons;
}

LessonLanguages languagesOf(const ProductInfo& product)
{
    const QString other
        = product.interfaceLanguage == QLatin1String("en") ? QStringLiteral("es") : QStringLiteral("en");
    return { product.taughtLanguage, product.interfaceLanguage, other == product.taughtLanguage ? QString() : other };
}

}
