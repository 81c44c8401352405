// The threads of background operations. A worker owns everything it uses and ends on its own;
// the registry only lets the program (at exit) and tests wait until every worker has ended.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

// Runs `work` on a new thread.
void LaunchWorker(std::function<void()> work);

// Waits until no worker runs any more and joins them; false when `timeout` passed first.
bool WaitForWorkers(std::chrono::milliseconds timeout);

// The number of workers that have not ended yet.
std::size_t RunningWorkerCount();
