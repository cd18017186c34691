#pragma once

#include <vector>

#include <QList>
#include <QString>
#include <QStringList>

class QRandomGenerator;

namespace games {

struct ChoiceQuestion
{
    int phrase = -1; // the phrase heard
    QStringList options; // translations shown, the answer among them
    int answer = -1; // position of the answer in options
};

// The rules of "listen and choose": every phrase is heard once per round; its translation is shown among up to
// three others taken from the other phrases, no two options alike and none like the answer. Only a right first
// pick scores; after a wrong one the learner keeps choosing until right.
class ChooseQuiz
{
public:
    static constexpr int MaxOptions = 4;
    enum class Pick { Right, Wrong, Ignored };

    // The key by which two translations count as the same option.
    static QString optionKey(const QString& translation);
    // How many different translations the phrases have: the most options a question can show.
    static int distinctTranslations(const QStringList& translations);
    static ChoiceQuestion makeQuestion(
        int phrase, const QStringList& translations, QRandomGenerator* random, int maxOptions = MaxOptions);

    ChooseQuiz(QStringList translations, QRandomGenerator* random);

    int total() const { return static_cast<int>(m_order.size()); }
    int number() const { return m_index + 1; } // 1-based number of the current question
    bool finished() const { return m_index >= total(); }
    const ChoiceQuestion& question() const { return m_question; }

    Pick pick(int option);
    bool answered() const { return m_answered; } // the current question has had its right pick
    bool missed(int option) const; // a wrong pick already made on the current question
    bool firstTryWasRight() const { return m_answered && m_wrongPicks.empty(); }
    // Moves to the next question once the current one is answered; false before that.
    bool next();

    int rightFirst() const { return m_rightFirst; }
    // The wrong picks made on the phrase's question: the mistakes its rating counts.
    int wrongPicks(int phrase) const { return m_wrongPicksOf.at(static_cast<size_t>(phrase)); }

private:
    void prepare();
    QStringList m_translations;
    QRandomGenerator* m_random;
    std::vector<int> m_order;
    int m_index = 0;
    ChoiceQuestion m_question;
    bool m_answered = false;
    std::vector<int> m_wrongPicks;
    std::vector<int> m_wrongPicksOf; // by phrase
    int m_rightFirst = 0;
};

}
