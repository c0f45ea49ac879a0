#pragma once
#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace cad {

/// A handler's place on an event, kept by whoever the handler touches: destroying (or resetting)
/// it takes the handler off, so an event that outlives its listener never calls into freed memory.
/// Either side may go first.
class Subscription
{
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> end) : m_end(std::move(end)) {}
    Subscription(Subscription&& other) noexcept : m_end(std::exchange(other.m_end, {})) {}
    Subscription& operator=(Subscription&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_end = std::exchange(other.m_end, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { reset(); }

    void reset()
    {
        if (auto end = std::exchange(m_end, {})) end();
    }

private:
    std::function<void()> m_end;
};

/// A list of handlers called in order; a handler's exception reaches whoever fired the event.
template <typename... Args> class Event
{
public:
    using Handler = std::function<void(Args...)>;

    Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    /// A handler for the event's whole life: for handlers that touch only what outlives the event.
    void add(Handler h) { m_slots->push_back(std::make_shared<Slot>(std::move(h))); }

    /// A handler that stays until the returned subscription ends.
    [[nodiscard]] Subscription subscribe(Handler h)
    {
        auto slot = std::make_shared<Slot>(std::move(h));
        m_slots->push_back(slot);
        return Subscription([list = std::weak_ptr<Slots>(m_slots), weak = std::weak_ptr<Slot>(slot)] {
            const auto ended = weak.lock();
            if (!ended) return;
            ended->active = false; // also skipped by a firing already under way
            if (const auto slots = list.lock()) std::erase(*slots, ended);
        });
    }

    void clear()
    {
        for (const auto& slot : *m_slots)
            slot->active = false;
        m_slots->clear();
    }

    void operator()(Args... args) const
    {
        // Copy: a handler may add handlers while the event runs, or end its listener.
        const Slots slots = *m_slots;
        for (const auto& slot : slots)
            if (slot->active) slot->handler(args...);
    }

private:
    struct Slot
    {
        explicit Slot(Handler h) : handler(std::move(h)) {}
        Handler handler;
        bool active = true;
    };
    using Slots = std::vector<std::shared_ptr<Slot>>;
    std::shared_ptr<Slots> m_slots = std::make_shared<Slots>();
};

} // namespace cad
