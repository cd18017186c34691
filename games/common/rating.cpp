#include "rating.h"

namespace games {

Rating rateAnswer(int mistakes, std::optional<qint64> answerMs)
{
    if (mistakes >= 2)
        return Rating::Again;
    if (mistakes == 1)
        return Rating::Hard;
    return answerMs && *answerMs <= QuickAnswerMs ? Rating::Easy : Rating::Good;
}

}
