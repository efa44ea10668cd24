#pragma once
// Cooperative cancellation shared by every request, sleep and poll.
//
// A CancelSource hands out tokens; cancelling it runs every registered callback once (this is how
// an in-flight reply gets aborted or a sleeping coroutine woken) and makes every later check see
// the cancellation. A default-constructed token is never cancelled.
#include <functional>
#include <memory>

namespace halvex {

class CancelToken;
struct CancelState;

// Unregisters its callback when destroyed; movable, not copyable.
class CancelSubscription {
public:
    CancelSubscription() = default;
    CancelSubscription(CancelSubscription&&) noexcept;
    CancelSubscription& operator=(CancelSubscription&&) noexcept;
    CancelSubscription(const CancelSubscription&) = delete;
    CancelSubscription& operator=(const CancelSubscription&) = delete;
    ~CancelSubscription();
    void reset();

private:
    friend class CancelToken;
    CancelSubscription(std::weak_ptr<CancelState> state, unsigned long long id);
    std::weak_ptr<CancelState> m_state;
    unsigned long long m_id = 0;
};

class CancelToken {
public:
    CancelToken() = default;
    bool isCancelled() const;
    // Runs `callback` once on cancellation, at once if already cancelled (then the returned
    // subscription is empty). A callback may start or finish other work on the same token.
    [[nodiscard]] CancelSubscription onCancel(std::function<void()> callback) const;
    // Throws APIError::cancelled() when cancelled.
    void throwIfCancelled() const;

private:
    friend class CancelSource;
    explicit CancelToken(std::shared_ptr<CancelState> state) : m_state(std::move(state)) {}
    std::shared_ptr<CancelState> m_state;
};

class CancelSource {
public:
    CancelSource();
    CancelToken token() const;
    void cancel();
    bool isCancelled() const;

private:
    std::shared_ptr<CancelState> m_state;
};

// The work a view model or screen has started. `cancelAll()` (also run on destruction) cancels
// everything started so far; work started afterwards gets a fresh token.
class TaskScope {
public:
    TaskScope() = default;
    TaskScope(const TaskScope&) = delete;
    TaskScope& operator=(const TaskScope&) = delete;
    ~TaskScope() { cancelAll(); }
    CancelToken token() const { return m_source.token(); }
    void cancelAll();

private:
    CancelSource m_source;
};

} // namespace halvex
