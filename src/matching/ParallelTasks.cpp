#include "ParallelTasks.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace velmora {

int workerCountFor(int threads) {
    return threads > 0 ? threads
                       : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

bool runTasksInParallel(int taskCount, int threads,
                        const std::function<void(int task, int worker)>& task,
                        const std::function<bool(int tasksDone)>& between) {
    std::atomic<int> nextTask{0};
    std::atomic<int> tasksDone{0};
    std::atomic<bool> stopped{false};
    auto work = [&](int worker) {
        while (!stopped.load(std::memory_order_relaxed)) {
            const int taken = nextTask.fetch_add(1);
            if (taken >= taskCount)
                break;
            task(taken, worker);
            const int done = tasksDone.fetch_add(1) + 1;
            if (worker == 0 && !between(done))
                stopped = true;
        }
    };
    const int workerCount = workerCountFor(threads);
    const int helperCount = std::max(0, std::min(workerCount, taskCount) - 1);
    std::mutex finishing;
    std::condition_variable helperFinished;
    int helpersRunning = helperCount;
    {
        std::vector<std::jthread> helpers;
        for (int helper = 1; helper <= helperCount; ++helper)
            helpers.emplace_back([&, helper] {
                work(helper);
                const std::lock_guard lock(finishing);
                --helpersRunning;
                helperFinished.notify_one();
            });
        work(0);
        // The last tasks may be long ones on other workers: keep the caller informed.
        std::unique_lock lock(finishing);
        while (!helperFinished.wait_for(lock, std::chrono::milliseconds(20),
                                        [&] { return helpersRunning == 0; })) {
            lock.unlock();
            if (!stopped && !between(tasksDone.load()))
                stopped = true;
            lock.lock();
        }
    }
    return !stopped;
}

} // namespace velmora
