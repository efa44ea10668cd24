#include "core/async/LatestOnly.h"

namespace halvex {

CancelToken LatestOnly::next()
{
    cancel();
    m_current.emplace();
    return m_current->token();
}

void LatestOnly::cancel()
{
    if (!m_current)
        return;
    // Cancelling may resume the old run at once; it must already see itself superseded.
    CancelSource old = std::move(*m_current);
    m_current.reset();
    old.cancel();
}

} // namespace halvex
