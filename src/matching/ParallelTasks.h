#pragma once

#include <functional>

namespace velmora {

// The threads a run uses when asked for `threads` (0: one per core).
int workerCountFor(int threads);

// Runs tasks 0 to taskCount - 1 on workerCountFor(threads) threads, the calling thread
// among them as worker 0; each task learns which worker runs it, so workers can keep
// buffers of their own. After each task the calling thread runs, and every few
// milliseconds while it waits for the other workers to finish theirs, it calls `between`
// with the number of tasks done so far; that is the place to report progress, and
// returning false stops the run: tasks not yet started are skipped. Returns false when
// stopped.
bool runTasksInParallel(int taskCount, int threads,
                        const std::function<void(int task, int worker)>& task,
                        const std::function<bool(int tasksDone)>& between);

} // namespace velmora
