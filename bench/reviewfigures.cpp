// The main tree's review folder with the school's 200,000 phrase results: what the student waits for at log-in and
// after each round (the folder counted again) and when opening it (the due set read from its subjects).

#include <QDateTime>
#include <QTreeWidget>

#include "app/studentreview.h"
#include "bench/figures.h"
#include "bench/measure.h"
#include "bench/raw.h"
#include "bench/school.h"
#include "common/session.h"
#include "subjects/reviewfolder.h"
#include "subjects/subjectref.h"
#include "subjects/treenode.h"

namespace bench {

namespace {

    const QString CountFigure = QStringLiteral("review folder, counted at log-in or after a round");
    const QString OpenFigure = QStringLiteral("review folder, opened on the due phrases");

    const QDateTime Now = QDateTime::fromString(QLatin1String(PhraseNow), Qt::ISODate);

    void reviewFigures(const ProgramFolder& school)
    {
        Session session;
        session.DataDir = school.path();
        session.InstalledSubjectsDir = school.installedDir();
        session.CurrentStudent = studentName(Students / 2);
        QTreeWidget tree;
        ReviewFolder review(&tree, session, [&session] { return Student_Due_Review(session, Now); });
        tree.addTopLevelItem(review.makeFolder());
        QTreeWidgetItem* folder = tree.topLevelItem(0);
        const auto baseline = [&] {
            raw::select(school.usersFile(),
                { "SELECT tName, tPhraseID, nRating, tMoment FROM tblphraseresults WHERE tName = ? "
                  "ORDER BY tName, tPhraseID, tMoment" },
                { session.CurrentStudent });
        };
        compare(CountFigure, { [&] { review.refresh(); } }, { baseline });
        int listed = 0;
        compare(OpenFigure,
            { [&] {
                 review.click(folder);
                 listed = static_cast<int>(Subject_Ref(folder->child(0)).phrases.size());
             },
                [&] {
                    if (folder->childCount() > 0)
                        review.click(folder);
                } },
            { baseline });
        need(listed == 10 && folder->text(0).endsWith(QLatin1Char(')')), QStringLiteral("nothing was due to review"));
    }

    const Group registered(65, [](const Context& context) {
        if (wantedAny({ CountFigure, OpenFigure }))
            reviewFigures(context.school);
    });

}

}
