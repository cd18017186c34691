#include "dictationtexts.h"

namespace games::dictation {

QString percentText(Language language, int percent)
{
    return QString::number(percent) + (language == Language::Spanish ? QStringLiteral(" %") : QStringLiteral("%"));
}

QString markedHtml(const QString& text, const std::vector<Mark>& marks, bool missingShown)
{
    // In the phrase a wrong character is one the learner missed: underlined in green shows what belongs there.
    // In the answer it is a mistake: red and struck through.
    const QString wrongStyle = missingShown
        ? QStringLiteral("color:#1b7a43; text-decoration:underline; font-weight:bold;")
        : QStringLiteral("color:#c0392b; text-decoration:line-through;");
    QString html;
    Mark open = Mark::Neutral;
    bool inSpan = false;
    for (int i = 0; i < text.size(); ++i) {
        const Mark mark = i < static_cast<int>(marks.size()) ? marks[static_cast<size_t>(i)] : Mark::Neutral;
        if (!inSpan || mark != open) {
            if (inSpan)
                html += QStringLiteral("</span>");
            html += mark == Mark::Wrong ? QStringLiteral("<span style=\"%1\">").arg(wrongStyle)
                : mark == Mark::Neutral ? QStringLiteral("<span style=\"color:#7a8394;\">")
                                        : QStringLiteral("<span>");
            open = mark;
            inSpan = true;
        }
        const QChar c = text.at(i);
        // A wrong blank must stay visible; the others may break the line.
        html += c == QLatin1Char(' ') && mark == Mark::Wrong ? QStringLiteral("&nbsp;") : QString(c).toHtmlEscaped();
    }
    if (inSpan)
        html += QStringLiteral("</span>");
    return html;
}

QStringList specialLetters(const QString& taughtLanguage)
{
    static const QList<std::pair<QString, QString>> letters {
        { QStringLiteral("German"), QStringLiteral("äöüßÄÖÜ") },
        { QStringLiteral("French"), QStringLiteral("éèêëàâçîïôùûœ") },
        { QStringLiteral("Spanish"), QStringLiteral("ñáéíóúü¿¡") },
        { QStringLiteral("Italian"), QStringLiteral("àèéìòù") },
    };
    for (const auto& [language, set] : letters) {
        if (language.compare(taughtLanguage.trimmed(), Qt::CaseInsensitive) == 0)
            return set.split(QString(), Qt::SkipEmptyParts);
    }
    return {};
}

ActivityInfo activity() { return { Name, Keys, QColor(0xe0, 0x76, 0x1c), 1, {} }; }

}
