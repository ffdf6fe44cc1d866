#include "ParallelTasks.h"

#include <algorithm>
#include <atomic>
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
    {
        std::vector<std::jthread> helpers;
        for (int helper = 1; helper < std::min(workerCount, taskCount); ++helper)
            helpers.emplace_back(work, helper);
        work(0);
    }
    return !stopped;
}

} // namespace velmora
