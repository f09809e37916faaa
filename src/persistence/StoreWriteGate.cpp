#include "persistence/StoreWriteGate.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace StoreWriteGate {

namespace {

struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool held = false;
    std::atomic<int> foregroundWaiting = 0;
};

Gate& gate() {
    static Gate* instance = new Gate; // used by the worker until the very end
    return *instance;
}

thread_local bool background = false;

} // namespace

void enter() {
    Gate& g = gate();
    std::unique_lock lock(g.mutex);
    if (background) {
        g.changed.wait(lock, [&] { return !g.held && g.foregroundWaiting == 0; });
    } else {
        ++g.foregroundWaiting;
        g.changed.wait(lock, [&] { return !g.held; });
        --g.foregroundWaiting;
    }
    g.held = true;
}

void leave() {
    Gate& g = gate();
    {
        std::lock_guard lock(g.mutex);
        g.held = false;
    }
    g.changed.notify_all();
}

bool foregroundWaiting() {
    return gate().foregroundWaiting.load(std::memory_order_relaxed) > 0;
}

void markBackgroundThread() {
    background = true;
}

bool isBackgroundThread() {
    return background;
}

} // namespace StoreWriteGate
