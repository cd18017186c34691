#include "scorepercent.h"

#include <cmath>

#include <QRegularExpression>

#include "students/scores.h"

namespace {
// A whole or decimal number as an activity writes it in either interface language.
const QString Number = QStringLiteral(R"(([0-9]+(?:[.,][0-9]+)?))");

double numberIn(const QString& text) { return QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(); }

std::optional<double> withinScale(double percent)
{
    if (!std::isfinite(percent) || percent < 0 || percent > 100)
        return std::nullopt;
    return percent;
}
}

std::optional<double> Score_Percent(const QVariant& textScore, const QVariant& numberScore)
{
    // Blanks are Unicode's, so that the no-break space a Spanish "87 %" may be written with is one too.
    static const QRegularExpression fraction(
        QStringLiteral(R"(^\s*%1\s*/\s*%1\s*$)").arg(Number), QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression percent(
        QStringLiteral(R"(^\s*%1\s*%\s*$)").arg(Number), QRegularExpression::UseUnicodePropertiesOption);
    const QString text = Stored_Text(textScore);
    if (const auto match = fraction.match(text); match.hasMatch()) {
        const double maximum = numberIn(match.captured(2));
        return maximum > 0 ? withinScale(numberIn(match.captured(1)) / maximum * 100) : std::nullopt;
    }
    if (const auto match = percent.match(text); match.hasMatch())
        return withinScale(numberIn(match.captured(1)));
    bool isNumber = false;
    const double number = numberScore.toDouble(&isNumber);
    return !numberScore.isNull() && isNumber ? withinScale(number) : std::nullopt;
}
