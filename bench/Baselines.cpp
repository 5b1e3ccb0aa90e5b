#include "Baselines.h"

#include <cstring>
#include <vector>

void memcpyBaseline(benchmark::State &state, std::size_t bytes)
{
    std::vector<char> from(bytes, 1), to(bytes, 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
