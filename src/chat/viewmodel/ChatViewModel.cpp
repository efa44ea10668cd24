#include "chat/viewmodel/ChatViewModel.h"

#include "chat/viewmodel/MessageOrdering.h"
#include "core/async/Failure.h"
#include "core/net/APIClient.h"

#include <QNetworkAccessManager>

namespace halvex {

ChatViewModel::ChatViewModel(ChatBackend backend, APIClient& api, Clock& clock, std::optional<QString> initialMessage,
                             ChatHistoryCache& cache, QObject* parent)
    : QObject(parent),
      m_backend(std::move(backend)),
      m_api(api),
      m_clock(clock),
      m_cache(cache),
      m_chat(api),
      m_agents(api),
      m_team(api),
      m_approvals(api),
      m_goals(api),
      m_sse(api.origin(), api.network().cookieJar(), &clock),
      m_initialMessage(std::move(initialMessage))
{
    m_pendingInitialTurn = m_initialMessage.has_value();
    restoreFromCache();
    wireStream();
}

ChatViewModel::~ChatViewModel() { stop(); }

void ChatViewModel::restoreFromCache()
{
    if (const auto entry = m_cache.touched(m_backend.id())) {
        if (entry->messages)
            m_messages = *entry->messages;
        if (entry->roster)
            m_roster = *entry->roster;
        if (entry->detail)
            m_detail = *entry->detail;
        m_hasMoreHistory = entry->hasMore.value_or(false);
    }
    for (const ChatMessage& m : std::as_const(m_messages))
        m_seenIds.insert(m.id);
    recomputeThinking();
}

void ChatViewModel::wireStream()
{
    // The stream is a member and calls back on this thread only while it lives, so `this` is safe.
    m_sse.onReady = [this] {
        // Whatever happened between the history load (or the drop) and this connection is
        // fetched once with the newest page: the heal poll only asks for newer ids and would
        // miss a step that finished meanwhile.
        const bool catchUp = m_isReconnecting || !m_streamWasReady;
        m_streamWasReady = true;
        m_streamReady = true;
        m_isReconnecting = false;
        Q_EMIT changed();
        if (catchUp && m_started)
            loadHistory(true);
    };
    m_sse.onReconnect = [this] {
        m_streamReady = false;
        if (!m_isReconnecting) {
            m_isReconnecting = true;
            Q_EMIT changed();
        }
    };
    m_sse.onMessage = [this](const ChatMessage& message) { ingest(message); };
    m_sse.onUnauthorized = [this] { Q_EMIT unauthorized(); };
}

QString ChatViewModel::streamPath() const
{
    if (const Agent* agent = m_backend.agentValue())
        return SSEClient::agentStreamPath(agent->id);
    return SSEClient::teamStreamPath(m_backend.teamValue()->slug);
}

void ChatViewModel::setInput(const QString& text)
{
    if (m_input == text)
        return;
    m_input = text;
    Q_EMIT changed();
}

void ChatViewModel::setError(std::optional<QString> text)
{
    if (!text)
        m_needsPayment = false;
    if (m_error == text)
        return;
    m_error = std::move(text);
    Q_EMIT changed();
}

std::optional<QString> ChatViewModel::fail(const std::exception_ptr& error)
{
    const Failure failure = Failure::of(error);
    switch (failure.route) {
    case Failure::Route::silent:
        return std::nullopt;
    case Failure::Route::lostSession:
        Q_EMIT unauthorized();
        return std::nullopt;
    case Failure::Route::show:
        try {
            std::rethrow_exception(error);
        } catch (const APIError& e) {
            m_needsPayment = e.kind() == APIError::Kind::paymentRequired;
        } catch (...) {
            m_needsPayment = false;
        }
        setError(failure.text);
        return failure.text;
    }
    return std::nullopt;
}

// --- lifecycle -------------------------------------------------------------------------------

QCoro::Task<void> ChatViewModel::start()
{
    // Stopping or destroying the chat cancels the history load, and with it this start.
    m_started = true;
    const CancelToken token = m_scope.token();
    co_await loadHistory(false);
    if (token.isCancelled() || !m_started)
        co_return;
    m_sse.start(streamPath());
    healLoop(m_healPoll.next()); // a second start keeps one poll, as it keeps one stream
    if (m_initialMessage) {
        const QString text = *m_initialMessage;
        m_initialMessage.reset();
        send(text);
    } else {
        markRead();
    }
    if (m_backend.isAgent() && !m_detail)
        loadDetail();
    refreshGoalReviews();
}

void ChatViewModel::stop()
{
    m_started = false;
    m_streamReady = false;
    m_sse.stop();
    m_readDebounce.reset();
    m_suggestionTimer.reset();
    m_healPoll.cancel();
    m_suggestionLoad.cancel();
    m_historyLoad.cancel();
    m_olderHistory.cancel();
    if (m_isLoadingOlder) {
        m_isLoadingOlder = false;
        Q_EMIT changed();
    }
}

// --- working indicator ----------------------------------------------------------------------------

void ChatViewModel::recomputeThinking()
{
    const bool thinking = m_pendingInitialTurn || !MessageOrdering::isTurnComplete(m_messages);
    if (thinking == m_isThinking)
        return;
    const bool finished = m_isThinking && !thinking;
    m_isThinking = thinking;
    Q_EMIT changed();
    if (finished)
        scheduleChatSuggestionRefresh(suggestionDelayMs);
}

// --- read marking ---------------------------------------------------------------------------------

void ChatViewModel::scheduleMarkRead()
{
    // The timer handle is a member: it dies with this view model and never fires after.
    m_readDebounce = m_clock.schedule(readDebounceMs, [this] { markRead(); });
}

void ChatViewModel::markRead()
{
    auto run = [](ChatViewModel* vm, CancelToken token) -> QCoro::Task<void> {
        const ChatBackend backend = vm->m_backend;
        try {
            if (const Agent* agent = backend.agentValue())
                co_await vm->m_chat.markRead(agent->id, token);
            else
                co_await vm->m_team.markRead(backend.teamValue()->slug, token);
        } catch (...) {
            co_return; // a missed read mark is harmless
        }
        if (!token.isCancelled() && vm->onRead)
            vm->onRead();
    };
    run(this, m_scope.token());
}

} // namespace halvex
