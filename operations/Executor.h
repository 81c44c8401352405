// The program's one executor: every piece of work off the user-interface thread runs here
// (background operations, scripts, logins, listings), so the program can bound the transfers that
// run at once and join everything that still runs when it quits.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>

class Executor {
public:
    enum class Kind {
        Job, // starts at once
        Transfer, // waits for a free place while SetTransferLimit's bound is reached
    };

    Executor();
    // Joins what has ended; work still running is left to the process's end (see Shutdown).
    ~Executor();
    Executor(const Executor&) = delete;
    Executor& operator=(const Executor&) = delete;

    // Runs `work` on a thread of the executor. Throws std::system_error when no thread can be had.
    void Run(std::function<void()> work, Kind kind = Kind::Job);

    // The most transfers that run at once; 0 for no bound.
    void SetTransferLimit(int limit);

    // Waits until no work runs or waits, joining its threads; false when `timeout` passed first.
    // Never call it from work of this executor.
    bool WaitIdle(std::chrono::milliseconds timeout);

private:
    struct State;
    State* m_state;
};

// The program's executor, made on first use.
Executor& ProgramExecutor();
