#pragma once
#include "core/async/Clock.h"

#include <QElapsedTimer>

namespace halvex {

class SystemClock final : public Clock {
public:
    SystemClock();
    QDateTime now() const override;
    qint64 monotonicMs() const override;
    std::unique_ptr<TimerHandle> schedule(qint64 ms, std::function<void()> callback) override;

private:
    QElapsedTimer m_elapsed;
};

} // namespace halvex
