#pragma once

// Save steps on disk counted, killed or failed on demand: see
// savesteps.cpp, linked into the suites that use them.

// Counts the steps from one again, for the next save of this process.
void restartSaveSteps();
// The steps counted since.
int saveStepsTaken();
