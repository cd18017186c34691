#pragma once

#include <QString>

namespace games {

// The games speak the learner's interface language, which the exchange file names.
enum class Language { English, Spanish };

// One text of a game in both interface languages; the sources are UTF-8.
struct Text
{
    const char* english;
    const char* spanish;
};

QString say(Language language, const Text& text);

// "English" or "Spanish" (any case, blanks around allowed); false for anything else.
bool parseLanguage(const QString& line, Language* language);

// The language to speak when no exchange file tells: the interface language of the product this build is for.
Language productLanguage();

}
