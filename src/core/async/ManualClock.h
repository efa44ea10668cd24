#pragma once
// A clock that only moves when told to: `advance` fires every callback that falls due, in
// time order, with `now()` set to each callback's due time.
#include "core/async/Clock.h"

#include <map>

namespace halvex {

class ManualClock final : public Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC));
    QDateTime now() const override;
    qint64 monotonicMs() const override { return m_nowMs; }
    std::unique_ptr<TimerHandle> schedule(qint64 ms, std::function<void()> callback) override;

    void advance(qint64 ms);
    // Runs callbacks that are due now (a timer of 0 ms) without moving time.
    void runDue() { advance(0); }
    int pendingCount() const { return static_cast<int>(m_pending.size()); }
    // Milliseconds until the next callback, or -1 when none is pending.
    qint64 nextDueIn() const;

private:
    friend class ManualTimerHandle;
    QDateTime m_start;
    qint64 m_nowMs = 0;
    unsigned long long m_sequence = 0;
    // (due time, insertion order) keeps callbacks of equal due time in the order they were set.
    std::map<std::pair<qint64, unsigned long long>, std::function<void()>> m_pending;
};

} // namespace halvex
