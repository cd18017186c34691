#pragma once

#include <functional>

#include <QString>

// What a window shows of a phrase it knows only by its identity in the results ("zoo.ale#3"). The windows that
// list results cannot read subjects; whoever opens them hands this in.
using PhraseText = std::function<QString(const QString& identity)>;
