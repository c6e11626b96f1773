#include "sheet/render/Workers.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace sheet::render {

void runSideBySide(std::size_t count, unsigned mostThreads, const std::function<void(std::size_t)>& work)
{
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto take = [&] {
        for (std::size_t i = next++; i < count && !failed; i = next++) {
            try {
                work(i);
            } catch (...) {
                const std::lock_guard<std::mutex> hold(failureLock);
                if (!failed.exchange(true))
                    failure = std::current_exception();
            }
        }
    };
    const std::size_t threads =
        std::min<std::size_t>({count, std::max(1u, mostThreads), std::max(1u, std::thread::hardware_concurrency())});
    std::vector<std::thread> helpers;
    try {
        for (std::size_t t = 1; t < threads; ++t)
            helpers.emplace_back(take);
    } catch (const std::system_error&) {
        // No more threads to be had: those started and this one do the rest.
    }
    take();
    for (std::thread& helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace sheet::render
