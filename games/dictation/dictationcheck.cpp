#include "dictationcheck.h"

#include <algorithm>

namespace games {

namespace {

    struct Unit
    {
        QChar key;
        int position; // index in the shown text
    };

    bool ignored(QChar c) { return c.isPunct() || c.isSymbol(); }

    // The compared characters of a text, each with where it stands in the shown text.
    std::vector<Unit> units(const QString& shown)
    {
        std::vector<Unit> out;
        for (int i = 0; i < shown.size(); ++i) {
            const QChar c = shown.at(i);
            if (ignored(c))
                continue;
            if (c.isSpace()) {
                // A run of blanks is one blank; blanks before the first character never count.
                if (!out.empty() && out.back().key != QLatin1Char(' '))
                    out.push_back({ QLatin1Char(' '), i });
                continue;
            }
            out.push_back({ c.toCaseFolded(), i });
        }
        if (!out.empty() && out.back().key == QLatin1Char(' '))
            out.pop_back();
        return out;
    }

    // "ss" typed for "ß" is the spelling of a keyboard without the letter: one character wrong, like a missing
    // accent, not two.
    bool sharpSAsDoubleS(const std::vector<Unit>& a, const std::vector<Unit>& b, size_t i, size_t j)
    {
        return i > 0 && j > 1 && a[i - 1].key == QChar(0x00DF) && b[j - 2].key == QLatin1Char('s')
            && b[j - 1].key == QLatin1Char('s');
    }

    int percentOf(int right, int compared)
    {
        if (compared == 0)
            return 100;
        return (right * 100 + compared / 2) / compared;
    }

}

int DictationCheck::percent() const { return percentOf(right, compared); }

QString dictationKey(const QString& text)
{
    const QString shown = text.normalized(QString::NormalizationForm_C);
    QString key;
    for (const Unit& u : units(shown))
        key += u.key;
    return key;
}

DictationCheck checkDictation(const QString& expected, const QString& typed)
{
    DictationCheck check;
    check.expected = expected.normalized(QString::NormalizationForm_C);
    check.typed = typed.normalized(QString::NormalizationForm_C);
    check.expectedMarks.assign(static_cast<size_t>(check.expected.size()), Mark::Neutral);
    check.typedMarks.assign(static_cast<size_t>(check.typed.size()), Mark::Neutral);
    const std::vector<Unit> a = units(check.expected);
    const std::vector<Unit> b = units(check.typed);
    const size_t n = a.size();
    const size_t m = b.size();

    // Edit distance table; cost[i][j] lines up the first i characters of a with the first j of b.
    std::vector<std::vector<int>> cost(n + 1, std::vector<int>(m + 1, 0));
    for (size_t i = 0; i <= n; ++i)
        cost[i][0] = static_cast<int>(i);
    for (size_t j = 0; j <= m; ++j)
        cost[0][j] = static_cast<int>(j);
    for (size_t i = 1; i <= n; ++i) {
        for (size_t j = 1; j <= m; ++j) {
            const int change = a[i - 1].key == b[j - 1].key ? 0 : 1;
            cost[i][j] = std::min({ cost[i - 1][j - 1] + change, cost[i - 1][j] + 1, cost[i][j - 1] + 1 });
            if (sharpSAsDoubleS(a, b, i, j))
                cost[i][j] = std::min(cost[i][j], cost[i - 1][j - 2] + 1);
        }
    }

    size_t i = n;
    size_t j = m;
    while (i > 0 || j > 0) {
        ++check.compared;
        if (sharpSAsDoubleS(a, b, i, j) && cost[i][j] == cost[i - 1][j - 2] + 1) {
            check.expectedMarks[static_cast<size_t>(a[i - 1].position)] = Mark::Wrong;
            check.typedMarks[static_cast<size_t>(b[j - 2].position)] = Mark::Wrong;
            check.typedMarks[static_cast<size_t>(b[j - 1].position)] = Mark::Wrong;
            --i;
            j -= 2;
        } else if (i > 0 && j > 0 && cost[i][j] == cost[i - 1][j - 1] + (a[i - 1].key == b[j - 1].key ? 0 : 1)) {
            const bool same = a[i - 1].key == b[j - 1].key;
            check.expectedMarks[static_cast<size_t>(a[i - 1].position)] = same ? Mark::Right : Mark::Wrong;
            check.typedMarks[static_cast<size_t>(b[j - 1].position)] = same ? Mark::Right : Mark::Wrong;
            check.right += same ? 1 : 0;
            --i;
            --j;
        } else if (i > 0 && cost[i][j] == cost[i - 1][j] + 1) {
            check.expectedMarks[static_cast<size_t>(a[i - 1].position)] = Mark::Wrong; // left out
            --i;
        } else {
            check.typedMarks[static_cast<size_t>(b[j - 1].position)] = Mark::Wrong; // typed too many
            --j;
        }
    }
    return check;
}

int dictationMistakes(const DictationCheck& check)
{
    if (check.perfect())
        return 0;
    const auto withoutMarks = [](const QString& text) {
        QString bare = text.normalized(QString::NormalizationForm_D);
        bare.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
        return bare;
    };
    return checkDictation(withoutMarks(check.expected), withoutMarks(check.typed)).perfect() ? 1 : 2;
}

int DictationRound::mistakes(int phrase) const
{
    for (size_t i = 0; i < m_checks.size(); ++i) {
        if (m_order[i] == phrase)
            return dictationMistakes(m_checks[i]);
    }
    return -1;
}

int DictationRound::current() const
{
    if (m_checked)
        return m_order[m_checks.size() - 1];
    if (m_checks.size() >= m_order.size())
        return -1;
    return m_order[m_checks.size()];
}

bool DictationRound::answer(const QString& expected, const QString& typed)
{
    if (m_checked || current() < 0 || dictationKey(typed).isEmpty())
        return false;
    m_checks.push_back(checkDictation(expected, typed));
    m_checked = true;
    return true;
}

bool DictationRound::next()
{
    if (!m_checked)
        return false;
    m_checked = false;
    return true;
}

int DictationRound::right() const
{
    int sum = 0;
    for (const DictationCheck& c : m_checks)
        sum += c.right;
    return sum;
}

int DictationRound::compared() const
{
    int sum = 0;
    for (const DictationCheck& c : m_checks)
        sum += c.compared;
    return sum;
}

int DictationRound::percent() const { return percentOf(right(), compared()); }

}
