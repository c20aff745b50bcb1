#pragma once

#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <deque>
#include <functional>
#include <future>
#include <memory>

/// The number of threads to work on: Threads, or one per core when it is 0 or less.
inline int WorkThreads(int Threads)
{
    return Threads > 0 ? Threads : std::max(1, QThread::idealThreadCount());
}

/// Runs Produce(0) ... Produce(Count - 1) on WorkThreads(Threads) threads and hands the results
/// to Consume in that order, on the calling thread, as they come in. Only a few results wait at
/// any time, so memory stays bounded whatever Count is, and what Consume sees never depends on
/// the number of threads. An exception from either ends the run once the work under way has
/// stopped, and is raised here.
template <typename TResult>
void RunInOrder(int Count, int Threads, const std::function<TResult(int Index)> &Produce,
                const std::function<void(int Index, TResult &Result)> &Consume)
{
    const int threads = WorkThreads(Threads);
    const int window = 2 * threads + 1;
    std::deque<std::future<TResult>> waiting;
    QThreadPool pool;
    pool.setMaxThreadCount(threads);
    // Work not begun is dropped and work under way finished before what it uses goes.
    struct TStop {
        QThreadPool &Pool;
        ~TStop()
        {
            Pool.clear();
            Pool.waitForDone();
        }
    } stop{pool};

    int next = 0;
    for (int done = 0; done < Count; ++done) {
        for (; next < Count && next - done < window; ++next) {
            auto task = std::make_shared<std::packaged_task<TResult()>>(
                [&Produce, next] { return Produce(next); });
            waiting.push_back(task->get_future());
            pool.start([task] { (*task)(); });
        }
        TResult result = waiting.front().get();
        waiting.pop_front();
        Consume(done, result);
    }
}
