#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

// The baseline most ratios are taken against: memcpy of `bytes` between two warm buffers.
void memcpyBaseline(benchmark::State &state, std::size_t bytes);
