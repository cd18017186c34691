#include "choosequiz.h"

#include <algorithm>

#include <QRandomGenerator>
#include <QSet>

namespace games {

QString ChooseQuiz::optionKey(const QString& translation) { return translation.simplified().toCaseFolded(); }

int ChooseQuiz::distinctTranslations(const QStringList& translations)
{
    QSet<QString> keys;
    for (const QString& t : translations)
        keys.insert(optionKey(t));
    return static_cast<int>(keys.size());
}

ChoiceQuestion ChooseQuiz::makeQuestion(
    int phrase, const QStringList& translations, QRandomGenerator* random, int maxOptions)
{
    ChoiceQuestion q;
    q.phrase = phrase;
    const QString answer = translations.at(phrase);
    QSet<QString> taken { optionKey(answer) };
    QStringList candidates;
    for (int i = 0; i < translations.size(); ++i) {
        const QString key = optionKey(translations.at(i));
        if (i == phrase || taken.contains(key))
            continue;
        taken.insert(key);
        candidates << translations.at(i);
    }
    if (random)
        std::shuffle(candidates.begin(), candidates.end(), *random);
    while (candidates.size() > maxOptions - 1)
        candidates.removeLast();
    q.answer = random ? static_cast<int>(random->bounded(static_cast<quint32>(candidates.size() + 1))) : 0;
    q.options = candidates;
    q.options.insert(q.answer, answer);
    return q;
}

ChooseQuiz::ChooseQuiz(QStringList translations, QRandomGenerator* random)
    : m_translations(std::move(translations))
    , m_random(random)
    , m_wrongPicksOf(static_cast<size_t>(m_translations.size()), 0)
{
    for (int i = 0; i < m_translations.size(); ++i)
        m_order.push_back(i);
    if (m_random)
        std::shuffle(m_order.begin(), m_order.end(), *m_random);
    prepare();
}

void ChooseQuiz::prepare()
{
    m_answered = false;
    m_wrongPicks.clear();
    m_question = finished() ? ChoiceQuestion {}
                            : makeQuestion(m_order[static_cast<size_t>(m_index)], m_translations, m_random);
}

bool ChooseQuiz::missed(int option) const
{
    return std::find(m_wrongPicks.begin(), m_wrongPicks.end(), option) != m_wrongPicks.end();
}

ChooseQuiz::Pick ChooseQuiz::pick(int option)
{
    if (finished() || m_answered || option < 0 || option >= m_question.options.size() || missed(option))
        return Pick::Ignored;
    if (option != m_question.answer) {
        m_wrongPicks.push_back(option);
        ++m_wrongPicksOf[static_cast<size_t>(m_question.phrase)];
        return Pick::Wrong;
    }
    m_answered = true;
    if (m_wrongPicks.empty())
        ++m_rightFirst;
    return Pick::Right;
}

bool ChooseQuiz::next()
{
    if (finished() || !m_answered)
        return false;
    ++m_index;
    prepare();
    return true;
}

}
