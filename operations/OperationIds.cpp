#include "OperationIds.h"

#include <chrono>
#include <mutex>
#include <random>
#include <unordered_set>

std::uint32_t NewOperationId()
{
    static std::mutex lock;
    static std::mt19937 generator(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()
                                                             ^ std::random_device{}()));
    static std::unordered_set<std::uint32_t> issued;

    std::lock_guard<std::mutex> guard(lock);
    for (;;) {
        const std::uint32_t id = generator();
        if (id != 0 && issued.insert(id).second)
            return id;
    }
}
