#include "core/async/ManualClock.h"

namespace halvex {

class ManualTimerHandle final : public TimerHandle {
public:
    ManualTimerHandle(ManualClock& clock, std::pair<qint64, unsigned long long> key) : m_clock(clock), m_key(key) {}
    ~ManualTimerHandle() override { m_clock.m_pending.erase(m_key); }

private:
    ManualClock& m_clock;
    std::pair<qint64, unsigned long long> m_key;
};

ManualClock::ManualClock(QDateTime start) : m_start(std::move(start)) {}

QDateTime ManualClock::now() const { return m_start.addMSecs(m_nowMs); }

std::unique_ptr<TimerHandle> ManualClock::schedule(qint64 ms, std::function<void()> callback)
{
    const auto key = std::make_pair(m_nowMs + std::max<qint64>(0, ms), m_sequence++);
    m_pending.emplace(key, std::move(callback));
    return std::make_unique<ManualTimerHandle>(*this, key);
}

void ManualClock::advance(qint64 ms)
{
    const qint64 target = m_nowMs + std::max<qint64>(0, ms);
    // Callbacks may schedule more callbacks; those that fall due before `target` run too.
    while (!m_pending.empty() && m_pending.begin()->first.first <= target) {
        auto node = m_pending.extract(m_pending.begin());
        m_nowMs = node.key().first;
        node.mapped()();
    }
    m_nowMs = target;
}

qint64 ManualClock::nextDueIn() const { return m_pending.empty() ? -1 : m_pending.begin()->first.first - m_nowMs; }

} // namespace halvex
