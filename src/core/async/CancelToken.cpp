#include "core/async/CancelToken.h"

#include "core/APIError.h"

#include <vector>

namespace halvex {

struct CancelState {
    bool cancelled = false;
    unsigned long long nextId = 1;
    std::vector<std::pair<unsigned long long, std::function<void()>>> callbacks;
};

CancelSubscription::CancelSubscription(std::weak_ptr<CancelState> state, unsigned long long id)
    : m_state(std::move(state)),
      m_id(id)
{}

CancelSubscription::CancelSubscription(CancelSubscription&& other) noexcept
    : m_state(std::move(other.m_state)),
      m_id(other.m_id)
{
    other.m_id = 0;
}

CancelSubscription& CancelSubscription::operator=(CancelSubscription&& other) noexcept
{
    if (this != &other) {
        reset();
        m_state = std::move(other.m_state);
        m_id = other.m_id;
        other.m_id = 0;
    }
    return *this;
}

CancelSubscription::~CancelSubscription() { reset(); }

void CancelSubscription::reset()
{
    if (auto state = m_state.lock(); state && m_id != 0) {
        auto& cbs = state->callbacks;
        for (auto it = cbs.begin(); it != cbs.end(); ++it) {
            if (it->first == m_id) {
                cbs.erase(it);
                break;
            }
        }
    }
    m_state.reset();
    m_id = 0;
}

bool CancelToken::isCancelled() const { return m_state && m_state->cancelled; }

CancelSubscription CancelToken::onCancel(std::function<void()> callback) const
{
    if (!m_state)
        return {};
    if (m_state->cancelled) {
        callback();
        return {};
    }
    const auto id = m_state->nextId++;
    m_state->callbacks.emplace_back(id, std::move(callback));
    return CancelSubscription(m_state, id);
}

void CancelToken::throwIfCancelled() const
{
    if (isCancelled())
        throw APIError::cancelled();
}

CancelSource::CancelSource() : m_state(std::make_shared<CancelState>()) {}

CancelToken CancelSource::token() const { return CancelToken(m_state); }

bool CancelSource::isCancelled() const { return m_state->cancelled; }

void CancelSource::cancel()
{
    auto state = m_state; // callbacks may drop the last other reference
    if (state->cancelled)
        return;
    state->cancelled = true;
    // Callbacks resume coroutines that may register or remove callbacks: take them one by one.
    while (!state->callbacks.empty()) {
        auto callback = std::move(state->callbacks.front().second);
        state->callbacks.erase(state->callbacks.begin());
        callback();
    }
}

void TaskScope::cancelAll()
{
    m_source.cancel();
    m_source = CancelSource();
}

} // namespace halvex
