#pragma once

#include <functional>

// The random numbers of the tree's draws: seeded from the clock before each draw, like the original
// runtime's generator. Tests script the numbers so that a draw is known in advance.
void Randomize();
// A number in [0, 1).
double Rnd();
// Replaces the generator by the given numbers (an empty function restores it).
void Set_Rnd_Script(std::function<double()> script);
