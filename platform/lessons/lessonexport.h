#pragma once

#include <QList>
#include <QStringList>

#include "platform/lessons/deck.h"
#include "platform/lessons/outcome.h"
#include "platform/lessons/products.h"

namespace lessons {

// Subject files as lessons for another program's writer, in the order given, each titled as the subject tree shows
// it ("animals_at_the_zoo.ale" is "Animals At The Zoo"). A file that cannot be read is an error in *outcome naming
// it, and is left out.
QList<Lesson> readLessons(const QStringList& subjectPaths, Outcome* outcome);

// The languages of a product's texts: the one taught, the learner's, and the second translation's (the other of
// English and Spanish, none when that is the language taught, whose second translation is then a pronunciation).
LessonLanguages languagesOf(const ProductInfo& product);

}
