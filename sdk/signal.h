// Signals and slots: a signal calls every connected function in the order they
// were connected; the Slot returned by connect keeps the connection alive and
// cuts it when it is destroyed or reset. Handlers may connect or disconnect
// (even themselves) while the signal runs. Main thread only: window and input
// signals are raised by the message pump (message_pump.h).
#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace sdk {

class Slot {
public:
    Slot() = default;
    explicit Slot(std::shared_ptr<void> connection) : connection_(std::move(connection)) {}
    bool is_connected() const { return connection_ != nullptr; }
    void disconnect() { connection_.reset(); }

private:
    std::shared_ptr<void> connection_;
};

template <typename Signature>
class Signal;

template <typename... Args>
class Signal<void(Args...)> {
public:
    using Function = std::function<void(Args...)>;

    Slot connect(Function f) {
        auto entry = std::make_shared<Function>(std::move(f));
        entries_.push_back(entry);
        return Slot(entry);
    }

    void invoke(Args... args) {
        // A copy, so handlers may change the connections while they run.
        std::vector<std::weak_ptr<Function>> now = entries_;
        bool dead = false;
        for (const auto& w : now) {
            if (auto f = w.lock())
                (*f)(args...);
            else
                dead = true;
        }
        if (dead)
            std::erase_if(entries_, [](const std::weak_ptr<Function>& w) { return w.expired(); });
    }

    void operator()(Args... args) { invoke(args...); }

    size_t connection_count() const {
        size_t n = 0;
        for (const auto& w : entries_) n += !w.expired();
        return n;
    }

private:
    std::vector<std::weak_ptr<Function>> entries_;
};

}  // namespace sdk
