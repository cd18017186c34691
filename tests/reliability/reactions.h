#pragma once

#include <QStringList>

#include "tests/support/fakes.h"

// What the user was shown, one entry per box, for the table of reactions and for the checks.
namespace broken {

inline QString iconName(platform::Icon icon)
{
    switch (icon) {
    case platform::Icon::Critical:
        return QStringLiteral("critical");
    case platform::Icon::Warning:
        return QStringLiteral("warning");
    case platform::Icon::Information:
        return QStringLiteral("information");
    case platform::Icon::Question:
        return QStringLiteral("question");
    case platform::Icon::None:
        break;
    }
    return QStringLiteral("plain");
}

// "title [icon, question]: text" of every box shown, in order; the text cut at 160 characters.
inline QStringList shown(const fakes::Dialogs& dialogs)
{
    QStringList boxes;
    for (const fakes::Message& m : dialogs.shown) {
        QString text = m.text;
        if (text.size() > 160)
            text = text.left(160) + QStringLiteral("...");
        boxes << QStringLiteral("%1 [%2%3]: %4")
                     .arg(m.title, iconName(m.icon), m.question ? QStringLiteral(", question") : QString(), text);
    }
    return boxes;
}

}
