#include "figures.h"

#include <algorithm>
#include <vector>

namespace bench {

namespace {
    std::vector<std::pair<int, void (*)(const Context&)>>& groups()
    {
        static std::vector<std::pair<int, void (*)(const Context&)>> all;
        return all;
    }
}

Group::Group(int order, void (*run)(const Context&)) { groups().emplace_back(order, run); }

void Group::runAll(const Context& context)
{
    std::stable_sort(groups().begin(), groups().end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& group : groups())
        group.second(context);
}

}
