#include "endprogram.h"

#include <cstdlib>
#include <stdexcept>

namespace {
std::function<void(int)>& handler()
{
    static std::function<void(int)> current;
    return current;
}
}

void Set_End_Program_Handler(std::function<void(int)> h) { handler() = std::move(h); }

void End_Program(int code)
{
    if (handler()) {
        handler()(code);
        // A handler that returns stands for the end: the caller must not go on.
        throw std::runtime_error("program ended");
    }
    std::exit(code);
}
