// Included first in every Windows test program and in GoogleTest itself.
// The win32 threads model of the C++ runtime, which the shipped module is
// built with so that it loads on Windows XP, has no std::mutex; GoogleTest
// wants one only for the class it uses to start its own test threads. This
// is that class on an atomic flag (our tests start no GoogleTest threads).
#pragma once
#ifdef __cplusplus
#include <atomic>

namespace testing {
namespace internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { notified_.store(true, std::memory_order_release); }
    void WaitForNotification() {
        while (!notified_.load(std::memory_order_acquire)) {
        }
    }

private:
    std::atomic<bool> notified_{false};
};

}  // namespace internal
}  // namespace testing
#endif
