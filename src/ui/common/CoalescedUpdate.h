#pragma once

#include <QObject>

#include <functional>

// A view's update after publications of the state: however many times an
// operation publishes, the update runs once, on the next turn of the event
// loop, and reads the state as it then stands.
class CoalescedUpdate {
public:
    CoalescedUpdate(QObject* owner, std::function<void()> update)
        : owner_(owner)
        , update_(std::move(update)) {}

    void schedule();
    // Runs a scheduled update now (tests and benchmarks).
    void flush();
    bool pending() const { return pending_; }

private:
    void run();

    QObject* owner_;
    std::function<void()> update_;
    bool pending_ = false;
};
