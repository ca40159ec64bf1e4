#pragma once

#include "Benchmarks.h"
#include "Ratios.h"

// The progress history: the window and the save with 1,000 days of it.
void registerHistoryBenchmarks(Fixture& fixture);
// Their ratios; returns the number of targets missed.
int printHistoryRatios(const CollectingReporter& times);
