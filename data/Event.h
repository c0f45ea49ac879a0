#pragma once
#include <functional>
#include <vector>

namespace cad {

/// A list of handlers called in order; a handler's exception reaches whoever fired the event.
template <typename... Args> class Event
{
public:
    using Handler = std::function<void(Args...)>;
    void add(Handler h) { m_handlers.push_back(std::move(h)); }
    void clear() { m_handlers.clear(); }
    void operator()(Args... args) const
    {
        // Copy: a handler may add handlers while the event runs.
        const auto handlers = m_handlers;
        for (const auto& h : handlers)
            h(args...);
    }

private:
    std::vector<Handler> m_handlers;
};

} // namespace cad
