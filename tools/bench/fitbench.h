#pragma once

// The tuner's parts learnt from searches, on NEC antennas behind a simulated tuner whose parts
// are off nominal: the searches before and after the fit, and the computed tunes. Prints its
// own block.
void benchPartsFit();
