#pragma once

#include <functional>

// Ends the program at once. Tests put a handler in its place to see that the program would end.
[[noreturn]] void End_Program(int code = 0);
void Set_End_Program_Handler(std::function<void(int)> handler);
