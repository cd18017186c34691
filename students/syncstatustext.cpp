#include "syncstatustext.h"

#include <algorithm>

#include <QStringList>
#include <QTimeZone>

#include "common/captions.h"

namespace {
constexpr int StatusExchanging = 235;
constexpr int StatusConnected = 236;
constexpr int StatusNotConnected = 237;
constexpr int StatusLastExchange = 238;
constexpr int StatusWaiting = 239;
const QString StatusSeparator = QStringLiteral(" \u00b7 ");
}

QString Counted_Text(const QString& forms, qint64 number, const QLocale& locale)
{
    const QStringList texts = forms.split(QLatin1Char('|'));
    const qsizetype form = std::min<qsizetype>(number <= 0 ? 0 : number == 1 ? 1 : 2, texts.size() - 1);
    QString text = texts[form];
    return text.contains(QLatin1String("%1")) ? text.arg(locale.toString(number)) : text;
}

QString Short_Problem(const QString& problem, int maxLength)
{
    QString line = problem.trimmed().section(QLatin1Char('\n'), 0, 0).trimmed();
    // libpq says where it tried before what went wrong: 'connection to server at "x" (10.0.0.5), port 5432
    // failed: Connection refused'. The server's own refusals start with their severity.
    const qsizetype failed = line.lastIndexOf(QLatin1String("failed: "));
    if (failed >= 0)
        line = line.mid(failed + 8);
    for (const QLatin1String severity : { QLatin1String("FATAL:"), QLatin1String("ERROR:") }) {
        if (line.startsWith(severity))
            line = line.mid(severity.size()).trimmed();
    }
    if (!line.isEmpty())
        line[0] = line[0].toUpper();
    if (line.size() > maxLength)
        line = line.left(maxLength - 1).trimmed() + QChar(0x2026);
    return line;
}

QString School_Status_Text(const SyncStatus& s, const QDateTime& now, const QLocale& locale)
{
    if (!s.configured)
        return QString();
    if (s.busy)
        return Caption(StatusExchanging);
    QString text = Caption(s.connected ? StatusConnected : StatusNotConnected);
    const QString problem = Short_Problem(s.problem);
    if (!s.connected && !problem.isEmpty())
        text += QStringLiteral(": ") + problem;
    if (s.lastExchange.isValid()) {
        const QDateTime last = s.lastExchange.toTimeZone(now.timeZone());
        const QString when = last.date() == now.date() ? locale.toString(last.time(), QLocale::ShortFormat)
                                                       : locale.toString(last.date(), QLocale::ShortFormat);
        text += StatusSeparator + Caption(StatusLastExchange).arg(when);
    }
    return text + StatusSeparator + Counted_Text(Caption(StatusWaiting), s.waiting, locale);
}
