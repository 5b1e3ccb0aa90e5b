#include "ParallelRows.h"

#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <latch>

namespace {
// Below this a part costs more to hand over than it saves.
constexpr long long kMinimumBytesPerPart = 1 << 20;
// Parts per thread: small enough parts even out threads that start late or run slower.
constexpr int kPartsPerThread = 8;
} // namespace

void ParallelRows::run(int rows, long long bytesPerRow, const std::function<void(int, int)> &work)
{
    QThreadPool *pool = QThreadPool::globalInstance();
    const long long total = rows * std::max(bytesPerRow, 1LL);
    const int threads = int(std::clamp<long long>(total / kMinimumBytesPerPart, 1,
                                                  std::min(pool->maxThreadCount(), rows)));
    if (threads <= 1 || pool->contains(QThread::currentThread())) {
        work(0, rows);
        return;
    }
    const int partRows = std::max(1, rows / (threads * kPartsPerThread));
    std::atomic<int> next{0};
    auto takeParts = [&] {
        for (int first; (first = next.fetch_add(partRows)) < rows;)
            work(first, std::min(rows, first + partRows));
    };
    std::latch done(threads - 1);
    for (int helper = 1; helper < threads; ++helper) {
        pool->start([&] {
            takeParts();
            done.count_down();
        });
    }
    takeParts();
    done.wait();
}
