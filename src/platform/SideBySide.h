// Pieces of one piece of work run side by side on Qt's global thread pool.
#pragma once

#include <QSemaphore>
#include <QThreadPool>

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

} // namespace platform
