// Pieces of one piece of work run side by side on Qt's global thread pool.
#pragma once

#include <QSemaphore>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <memory>

namespace platform {

// Runs work(i) for every i from 0 to count - 1 and returns when all have run: those after the first on
// Qt's thread pool while it has a thread free, the first and any no thread takes on this thread. The
// pieces must not depend on one another.
template <class Work> void RunSideBySide(int count, const Work& work) {
    QSemaphore done;
    int started = 0;
    for (int i = 1; i < count; ++i) {
        if (QThreadPool::globalInstance()->tryStart([&work, &done, i] {
                work(i);
                done.release();
            }))
            ++started;
        else
            work(i);
    }
    if (count > 0)
        work(0);
    done.acquire(started);
}

// As RunSideBySide, for pieces of very different sizes or more of them than threads: this thread and as
// many threads of Qt's pool as are free (one fewer than the pieces at most) each take the next piece not
// yet taken until none is left. A pool thread that wakes late (on a busy machine that can take
// milliseconds) finds the pieces taken and leaves: nobody waits for it, and it touches nothing of the
// caller's once every piece is done.
template <class Work> void ShareOutPieces(int count, const Work& work) {
    struct Progress {
        std::atomic<int> next{0};
        QSemaphore finished; // a release for each piece done
    };
    const auto progress = std::make_shared<Progress>();
    const Work* const pieces = &work;
    auto drain = [progress, pieces, count] {
        for (int i; (i = progress->next.fetch_add(1)) < count;) {
            (*pieces)(i);
            progress->finished.release();
        }
    };
    QThreadPool* const pool = QThreadPool::globalInstance();
    for (int k = std::min(count, pool->maxThreadCount()) - 1; k > 0; --k)
        if (!pool->tryStart(drain))
            break;
    drain();
    progress->finished.acquire(count);
}

} // namespace platform
