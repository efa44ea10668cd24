#pragma once
// Work of which only the newest run counts: a history load, a poll, a suggestion fetch.
//
// `next()` cancels the run before and returns the new run's token. After every await the run
// asks `token.isCancelled()`: it turns true once a newer run started, `cancel()` ran, or the
// owner was destroyed (the destructor cancels), so one check replaces a generation counter, a
// cancel source and a guarded `this`. The token shares only the cancellation state, never the
// owner, so asking it after the owner is gone is safe.
#include "core/async/CancelToken.h"

#include <optional>

namespace halvex {

class LatestOnly {
public:
    LatestOnly() = default;
    LatestOnly(const LatestOnly&) = delete;
    LatestOnly& operator=(const LatestOnly&) = delete;
    ~LatestOnly() { cancel(); }

    [[nodiscard]] CancelToken next();
    void cancel();
    // A run was started and neither superseded nor cancelled since.
    bool isRunning() const { return m_current && !m_current->isCancelled(); }

private:
    std::optional<CancelSource> m_current;
};

} // namespace halvex
