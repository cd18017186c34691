#include "activitylayout.h"

#include "common/product.h"

ActivityGrid activityGrid(int lastActivityIndex, QPoint first, QSize button)
{
    ActivityGrid grid;
    if (lastActivityIndex <= 0)
        return grid;
    grid.columns = lastActivityIndex == 1 ? 1 : 2;
    grid.scrollVisible = lastActivityIndex >= ActivityScrollFrom;
    for (int i = 0; i <= lastActivityIndex; ++i)
        grid.positions.push_back(
            { first.x() + (i % grid.columns) * ActivityColumnStep, first.y() + (i / grid.columns) * ActivityRowStep });
    const int lastTop = grid.positions.last().y();
    grid.panelHeight = lastTop + button.height() + 500;
    grid.scrollMaximum = grid.panelHeight - PanelVisibleHeight;
    grid.moreActsTop = lastTop + 800;
    return grid;
}

QString activitySettingsFile(const QString& activitiesDir, const QString& programFile)
{
    return activitiesDir + programFile.section(QLatin1Char('.'), 0, 0) + QStringLiteral(".cfg");
}

QString activityPictureColumn(const QString& programCode)
{
    return Is_Spanish_Interface(programCode) ? QStringLiteral("bSpanish") : QStringLiteral("bEnglish");
}
