#include "Executor.h"

#include <condition_variable>
#include <deque>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

struct Executor::State {
    struct Worker {
        std::thread thread;
        bool finished = false;
    };

    std::mutex lock;
    std::condition_variable ended;
    std::list<Worker> workers;
    std::deque<std::function<void()>> waitingTransfers;
    int transferLimit = 0;
    int runningTransfers = 0;
    std::size_t pending = 0;

    // Takes the threads that have ended, so they are joined without the lock.
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

    bool TransferPlaceFree() const { return transferLimit <= 0 || runningTransfers < transferLimit; }

    // Lock held. The thread runs `work`, then, for a transfer, the transfers that waited for its
    // place, so a bound never leaves a waiting transfer without a thread.
    void StartThread(std::function<void()> work, bool transfer)
    {
        workers.emplace_back();
        Worker* worker = &workers.back();
        try {
            worker->thread = std::thread([this, worker, transfer, work = std::move(work)]() mutable {
                for (;;) {
                    work();
                    work = nullptr;
                    std::lock_guard<std::mutex> guard(lock);
                    --pending;
                    // This transfer's place is free now; a lowered bound may want it back.
                    if (transfer && !waitingTransfers.empty()
                        && (transferLimit <= 0 || runningTransfers <= transferLimit)) {
                        work = std::move(waitingTransfers.front());
                        waitingTransfers.pop_front();
                        continue;
                    }
                    if (transfer)
                        --runningTransfers;
                    worker->finished = true;
                    ended.notify_all();
                    return;
                }
            });
        } catch (...) {
            workers.pop_back();
            throw;
        }
    }
};

Executor::Executor()
    : m_state(new State)
{
}

Executor::~Executor()
{
    std::vector<std::thread> finished;
    bool stillRunning;
    {
        std::lock_guard<std::mutex> guard(m_state->lock);
        finished = m_state->TakeFinished();
        stillRunning = !m_state->workers.empty();
        // A thread still running keeps using the state, which is then left to the process's end.
        for (State::Worker& worker : m_state->workers)
            worker.thread.detach();
    }
    for (std::thread& thread : finished)
        thread.join();
    if (!stillRunning)
        delete m_state;
}

void Executor::Run(std::function<void()> work, Kind kind)
{
    std::vector<std::thread> finished;
    {
        std::lock_guard<std::mutex> guard(m_state->lock);
        finished = m_state->TakeFinished();
        const bool transfer = kind == Kind::Transfer;
        if (transfer && !m_state->TransferPlaceFree()) {
            m_state->waitingTransfers.push_back(std::move(work));
            ++m_state->pending;
        } else {
            m_state->StartThread(std::move(work), transfer);
            ++m_state->pending;
            if (transfer)
                ++m_state->runningTransfers;
        }
    }
    for (std::thread& thread : finished)
        thread.join();
}

void Executor::SetTransferLimit(int limit)
{
    std::lock_guard<std::mutex> guard(m_state->lock);
    m_state->transferLimit = limit < 0 ? 0 : limit;
    // A raised bound frees places at once.
    while (!m_state->waitingTransfers.empty() && m_state->TransferPlaceFree()) {
        m_state->StartThread(std::move(m_state->waitingTransfers.front()), true);
        m_state->waitingTransfers.pop_front();
        ++m_state->runningTransfers;
    }
}

bool Executor::WaitIdle(std::chrono::milliseconds timeout)
{
    std::vector<std::thread> finished;
    bool idle;
    {
        std::unique_lock<std::mutex> guard(m_state->lock);
        idle = m_state->ended.wait_for(guard, timeout, [this] { return m_state->pending == 0; });
        finished = m_state->TakeFinished();
    }
    for (std::thread& thread : finished)
        thread.join();
    return idle;
}

Executor& ProgramExecutor()
{
    static Executor executor;
    return executor;
}
