#pragma once

#include <functional>

// Splits work on the rows of a large picture across Qt's global thread pool, the pool that Qt's
// own smooth scaling uses, and returns once every part is done. The calling thread takes the
// first part; small pictures stay on it entirely. The parts must touch disjoint rows.
class ParallelRows {
public:
    // Calls `work(first, end)` for consecutive ranges that cover [0, rows); `bytesPerRow` tells
    // how much each row moves, which decides whether splitting pays.
    static void run(int rows, long long bytesPerRow, const std::function<void(int, int)> &work);
};
