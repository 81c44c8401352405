// Work for worker threads whose results come back to an object on the user-interface thread,
// which may go away first: results that find it gone are dropped, never delivered to a
// destroyed object.
#pragma once

#include "operations/Executor.h"

#include <QMetaObject>
#include <QObject>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

// How a worker thread reaches one object on that object's thread.
class PostTarget {
public:
    explicit PostTarget(QObject* target)
        : m_target(target)
    {
    }

    // Any thread. Runs `call` on the target's thread later, unless Detach came first.
    void Post(std::function<void()> call)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        // Posting under the lock: the target cannot be destroyed in between, and Qt drops a
        // queued call whose context object is destroyed before it runs.
        if (m_target)
            QMetaObject::invokeMethod(m_target, std::move(call), Qt::QueuedConnection);
    }

    // The target's thread, before the target goes.
    void Detach()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_target = nullptr;
    }

private:
    std::mutex m_lock;
    QObject* m_target;
};

class BackgroundJobs {
public:
    explicit BackgroundJobs(QObject* owner);
    // Detaches, then gives running jobs a short while to end; later results are dropped.
    ~BackgroundJobs();
    BackgroundJobs(const BackgroundJobs&) = delete;
    BackgroundJobs& operator=(const BackgroundJobs&) = delete;

    // `work` on a thread of its own, then `done` with its result on the owner's thread.
    template <typename Result> void Run(std::function<Result()> work, std::function<void(Result&)> done)
    {
        m_running->Started();
        try {
            ProgramExecutor().Run(
                [work = std::move(work), done = std::move(done), post = m_post, running = m_running]() mutable {
                    auto result = std::make_shared<Result>(work());
                    post->Post([done = std::move(done), result] { done(*result); });
                    running->Finished();
                });
        } catch (...) {
            m_running->Finished();
            throw;
        }
    }

    std::shared_ptr<PostTarget> Target() const { return m_post; }
    // True when no job runs any more within `ms`.
    bool WaitIdle(int ms);

private:
    struct Running {
        std::mutex lock;
        std::condition_variable idle;
        int count = 0;
        void Started();
        void Finished();
    };

    std::shared_ptr<PostTarget> m_post;
    std::shared_ptr<Running> m_running;
};
