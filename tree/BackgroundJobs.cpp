#include "tree/BackgroundJobs.h"

#include <chrono>

namespace {
// A job stuck in a message box of the library would otherwise hold the program's exit.
constexpr int kExitWaitMs = 3000;
} // namespace

BackgroundJobs::BackgroundJobs(QObject* owner)
    : m_post(std::make_shared<PostTarget>(owner))
    , m_running(std::make_shared<Running>())
{
}

BackgroundJobs::~BackgroundJobs()
{
    m_post->Detach();
    WaitIdle(kExitWaitMs);
}

bool BackgroundJobs::WaitIdle(int ms)
{
    std::unique_lock<std::mutex> lock(m_running->lock);
    return m_running->idle.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_running->count == 0; });
}

void BackgroundJobs::Running::Started()
{
    std::lock_guard<std::mutex> guard(lock);
    ++count;
}

void BackgroundJobs::Running::Finished()
{
    std::lock_guard<std::mutex> guard(lock);
    --count;
    idle.notify_all();
}
