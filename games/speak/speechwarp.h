#pragma once

// Lines up a learner's frames with the reference's in time (dynamic time warping), so that a slower or faster
// saying of the same sounds matches frame for frame.

#include <vector>

#include "speechfeatures.h"

namespace games {

struct WarpStep
{
    int reference = 0;
    int learner = 0;
    float cost = 0; // the distance of the two frames
};

// The cheapest path from both first frames to both last ones, each step advancing one side or both. Only pairs
// near the diagonal are tried (a band of 30 % of the longer side, widened to the difference of the lengths), so
// the work stays linear in each side's length. Empty when either side is.
std::vector<WarpStep> warpPath(const std::vector<SpeechFrame>& reference, const std::vector<SpeechFrame>& learner);

}
