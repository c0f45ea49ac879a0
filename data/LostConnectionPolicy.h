#pragma once

namespace cad {

/// Decides whether a lost connection is re-established and the interrupted operation repeated:
/// five losses are retried, the sixth fails and starts the count again.
class LostConnectionPolicy
{
public:
    enum class Decision
    {
        Fail,
        Retry
    };

    Decision onLost()
    {
        if (m_counter > 4) {
            m_counter = 0;
            return Decision::Fail;
        }
        ++m_counter;
        return Decision::Retry;
    }
    [[nodiscard]] int counter() const { return m_counter; }

private:
    int m_counter = 0;
};

} // namespace cad
