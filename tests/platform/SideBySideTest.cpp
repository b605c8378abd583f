// Pieces shared out among threads: each runs once, the call returns only when all have run, a piece may
// share out pieces of its own, and a thread that comes too late to take a piece touches nothing of a call
// that has returned (the sanitizer build would tell).
#include "platform/SideBySide.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using platform::ShareOutPieces;

TEST(SideBySide, EveryPieceRunsOnceBeforeTheCallReturns) {
    for (int count : {0, 1, 2, 7, 64, 500}) {
        SCOPED_TRACE(count);
        std::vector<std::atomic<int>> runs(static_cast<std::size_t>(count));
        ShareOutPieces(count, [&](int i) {
            if (i % 16 == 0) // pieces of very different lengths
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            ++runs[std::size_t(i)];
        });
        int wrong = 0;
        for (const auto& r : runs)
            wrong += r.load() != 1;
        EXPECT_EQ(wrong, 0);
    }

    std::atomic<int> inner{0};
    ShareOutPieces(16, [&](int) { ShareOutPieces(16, [&](int) { ++inner; }); });
    EXPECT_EQ(inner.load(), 256);

    // Many short calls, each with its pieces' results on its own stack frame.
    int wrong = 0;
    for (int k = 0; k < 2000; ++k) {
        int local[4] = {};
        ShareOutPieces(4, [&](int i) { local[i] = i + 1; });
        wrong += local[0] + local[1] + local[2] + local[3] != 10;
    }
    EXPECT_EQ(wrong, 0);
}
