#pragma once

#include <chrono>
#include <thread>

namespace brindle::test {

// Checks the condition every 100 ms until it holds or the time is up.
template <typename Condition> bool pollUntil(Condition condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

} // namespace brindle::test
