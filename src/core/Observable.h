#pragma once

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

// Ends a subscription when destroyed (or reset). Move-only.
class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel)
        : cancel_(std::move(cancel)) {}
    Subscription(Subscription&& o) noexcept
        : cancel_(std::exchange(o.cancel_, {})) {}
    Subscription& operator=(Subscription&& o) noexcept {
        if (this != &o) {
            reset();
            cancel_ = std::exchange(o.cancel_, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { reset(); }

    void reset() {
        if (auto c = std::exchange(cancel_, {}))
            c();
    }

private:
    std::function<void()> cancel_;
};

// One published value. A subscriber gets the current value at once, then every
// written value synchronously, in order. During delivery value() still returns
// the previous value; it is stored once every subscriber has seen the new one.
template <class T> class Observable {
public:
    using Callback = std::function<void(const T&)>;

    explicit Observable(T initial = T())
        : value_(std::move(initial))
        , subscribers_(std::make_shared<Map>()) {}
    Observable(const Observable&) = delete;
    Observable& operator=(const Observable&) = delete;

    const T& value() const {
        settle();
        return value_;
    }
    // The value as stored, without the held-back work (for that work's own
    // owner, which reads it while holding work back).
    const T& peek() const { return value_; }

    // Work the value's owner holds back (typing not yet in the value) that
    // has to be in it before anyone reads or writes it: every read, write
    // and subscription runs it first. It may write the value itself, and
    // has to do nothing when it has nothing held back.
    void setHeldBack(std::function<void()> work) { heldBack_ = std::move(work); }

    void set(T next) {
        settle();
        deliver(next);
        value_ = std::move(next);
    }

    // An in-place change of a nested part: one write, published once.
    template <class F> void modify(F&& change) {
        settle();
        T copy = value_;
        change(copy);
        set(std::move(copy));
    }

    // A change made where the value stands, for a part too large to copy (a
    // keystroke in a book): published like a write, except that value()
    // already returns the changed value during its delivery.
    template <class F> void modifyInPlace(F&& change) {
        settle();
        change(value_);
        deliver(value_);
    }

    [[nodiscard]] Subscription subscribe(Callback cb) {
        settle();
        const long id = nextId_++;
        (*subscribers_)[id] = cb;
        cb(value_);
        std::weak_ptr<Map> weak = subscribers_;
        return Subscription([weak, id] {
            if (auto m = weak.lock())
                m->erase(id);
        });
    }

    std::size_t subscriberCount() const { return subscribers_->size(); }

private:
    void settle() const {
        if (heldBack_)
            heldBack_();
    }

    // Hands next to the subscribers present when the write started; one that
    // unsubscribes during delivery is not called afterwards.
    void deliver(const T& next) {
        auto subs = subscribers_;
        std::vector<long> ids;
        ids.reserve(subs->size());
        for (const auto& [id, cb] : *subs)
            ids.push_back(id);
        for (long id : ids) {
            auto it = subs->find(id);
            if (it != subs->end()) {
                auto cb = it->second; // the callback may unsubscribe itself
                cb(next);
            }
        }
    }

    using Map = std::map<long, Callback>;
    T value_;
    std::function<void()> heldBack_;
    std::shared_ptr<Map> subscribers_;
    long nextId_ = 0;
};
