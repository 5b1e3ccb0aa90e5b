#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

// The baseline most ratios are taken against: memcpy of `bytes` between two warm buffers.
void memcpyBaseline(benchmark::State &state, std::size_t bytes);

// Starts the application as the program does with no file named, inside the benchmark's own
// Qt application; false when start-up failed.
bool startApplication();
