#include "WorkerThreads.h"

#include <condition_variable>
#include <exception>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct Worker {
    std::thread thread;
    bool finished = false;
};

std::mutex registryLock;
std::condition_variable workerEnded;
std::list<Worker> workers;

// Takes the threads that have finished out of the registry, so they can be joined without the lock.
std::vector<std::thread> TakeFinished()
{
    std::vector<std::thread> finished;
    for (auto it = workers.begin(); it != workers.end();) {
        if (it->finished && it->thread.get_id() != std::this_thread::get_id()) {
            finished.push_back(std::move(it->thread));
            it = workers.erase(it);
        } else {
            ++it;
        }
    }
    return finished;
}

void JoinAll(std::vector<std::thread>& threads)
{
    for (std::thread& thread : threads)
        thread.join();
}

} // namespace

void LaunchWorker(std::function<void()> work)
{
    std::vector<std::thread> finished;
    std::exception_ptr failure;
    {
        std::lock_guard<std::mutex> guard(registryLock);
        finished = TakeFinished();
        bool added = false;
        try {
            workers.emplace_back();
            added = true;
            Worker* worker = &workers.back();
            // The registry's lock is held until the thread is stored, and the thread takes it
            // before it marks itself finished, so it never reaches an empty slot.
            worker->thread = std::thread([worker, work = std::move(work)]() mutable {
                work();
                work = nullptr;
                std::lock_guard<std::mutex> guard(registryLock);
                worker->finished = true;
                workerEnded.notify_all();
            });
        } catch (...) {
            // The threads taken above must still be joined, so the failure waits until then.
            if (added)
                workers.pop_back();
            failure = std::current_exception();
        }
    }
    JoinAll(finished);
    if (failure)
        std::rethrow_exception(failure);
}

bool WaitForWorkers(std::chrono::milliseconds timeout)
{
    std::vector<std::thread> finished;
    bool allEnded;
    {
        std::unique_lock<std::mutex> guard(registryLock);
        allEnded = workerEnded.wait_for(guard, timeout, [] {
            for (const Worker& worker : workers)
                if (!worker.finished)
                    return false;
            return true;
        });
        finished = TakeFinished();
    }
    JoinAll(finished);
    return allEnded;
}

std::size_t RunningWorkerCount()
{
    std::lock_guard<std::mutex> guard(registryLock);
    std::size_t running = 0;
    for (const Worker& worker : workers)
        running += worker.finished ? 0 : 1;
    return running;
}
