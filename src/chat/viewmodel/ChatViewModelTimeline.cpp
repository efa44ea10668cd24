// The chat's timeline: the first history load and merges, older pages, live events from the
// stream, the heal poll and step expansion.
#include "chat/viewmodel/ChatViewModel.h"

#include "chat/viewmodel/MessageOrdering.h"
#include "core/async/Failure.h"

#include <algorithm>

namespace halvex {

namespace {

// What the cache gets: confirmed messages only, and of a long chat just one more than it keeps
// (so that it still sees the list was cut), not a copy of the whole list on every event.
QList<ChatMessage> confirmedOnly(const QList<ChatMessage>& messages)
{
    // Runs on every event: find where the newest confirmed ones begin, then copy them once.
    constexpr qsizetype keep = ChatHistoryCache::messageLimit + 1;
    qsizetype from = messages.size();
    for (qsizetype kept = 0; from > 0 && kept < keep; --from)
        kept += messages[from - 1].id >= 0 ? 1 : 0;
    QList<ChatMessage> out;
    out.reserve(std::min(keep, messages.size() - from));
    for (qsizetype i = from; i < messages.size(); ++i)
        if (messages[i].id >= 0)
            out.append(messages[i]);
    return out;
}

} // namespace

// --- history ---------------------------------------------------------------------------------

QCoro::Task<void> ChatViewModel::loadHistory(bool merge)
{
    const CancelToken token = m_historyLoad.next();
    const auto current = [&token] { return !token.isCancelled(); };
    bool cancelled = false;
    try {
        if (const Agent* agent = m_backend.agentValue()) {
            const ChatHistoryResponse response
                = co_await m_chat.history(agent->id, agentPageSize, std::nullopt, std::nullopt, token);
            if (!current())
                co_return;
            applyHistory(response.messages, merge,
                         response.page ? std::optional<bool>(response.page->hasMore) : std::nullopt);
        } else {
            const TeamChatResponse response
                = co_await m_team.load(m_backend.teamValue()->slug, teamPageSize, std::nullopt, token);
            if (!current())
                co_return;
            applyTeamRoster(response.agents);
            applyHistory(response.messages, merge,
                         response.page ? std::optional<bool>(response.page->hasMore) : std::nullopt);
        }
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        cancelled = isCancellation(error);
        if (!current())
            co_return;
        fail(error);
    }
    if (cancelled || !current())
        co_return;
    if (!m_historyLoaded || !m_historyReconciled) {
        m_historyLoaded = true;
        m_historyReconciled = true;
        Q_EMIT changed();
    }
}

void ChatViewModel::applyTeamRoster(const QList<TeamRosterMember>& members)
{
    QMap<QString, QString> roster;
    QMap<QString, QString> aliases;
    QMap<QString, QString> ids;
    for (const TeamRosterMember& member : members) {
        const QString key = member.slug.value_or(member.name);
        roster.insert(key, member.name);
        ids.insert(QStringLiteral("name:") + member.name, member.id);
        if (member.handle && !member.handle->isEmpty()) {
            aliases.insert(*member.handle, member.name);
            ids.insert(QStringLiteral("handle:") + *member.handle, member.id);
        }
    }
    m_roster = roster;
    m_rosterAliases = aliases;
    m_rosterAgentIDs = ids;
    m_cache.setRoster(m_backend.id(), roster);
    Q_EMIT changed();
}

void ChatViewModel::applyHistory(QList<ChatMessage> incoming, bool merge, std::optional<bool> hasMore)
{
    MessageOrdering::sort(incoming);
    QList<ChatMessage> result;
    if (!merge && (incoming.isEmpty() || hasMore == false)) {
        result = std::move(incoming);
        m_hasMoreHistory = false;
    } else {
        QList<ChatMessage> local;
        local.reserve(m_messages.size());
        for (const ChatMessage& m : std::as_const(m_messages))
            if (!m_settledTempIds.contains(m.id))
                local.append(m);
        result = MessageOrdering::merge(local, std::move(incoming));
    }
    if (hasMore)
        m_hasMoreHistory = *hasMore;
    m_settledTempIds.clear();
    m_messages = std::move(result);
    m_cache.setMessages(m_backend.id(), confirmedOnly(m_messages));
    m_cache.setHasMore(m_backend.id(), m_hasMoreHistory);
    m_seenIds.clear();
    for (const ChatMessage& m : std::as_const(m_messages))
        m_seenIds.insert(m.id);
    messagesReplaced();
}

void ChatViewModel::messagesReplaced()
{
    m_indexById.reset();
    bumpVersion();
    recomputeThinking();
    if (warmRenderCaches)
        warmRenderCaches(m_messages.mid(qMax<qsizetype>(0, m_messages.size() - renderWarmLimit)));
    Q_EMIT changed();
}

bool ChatViewModel::loadOlderHistory()
{
    if (!m_hasMoreHistory || m_isLoadingOlder)
        return false;
    const auto bound = m_olderPageGate.begin(m_messages);
    if (!bound)
        return false;
    m_isLoadingOlder = true;
    Q_EMIT changed();
    loadOlder(*bound, m_olderHistory.next());
    return true;
}

QCoro::Task<void> ChatViewModel::loadOlder(qint64 bound, CancelToken token)
{
    const auto current = [&token] { return !token.isCancelled(); };
    bool succeeded = false;
    try {
        QList<ChatMessage> page;
        std::optional<bool> hasMore;
        if (const Agent* agent = m_backend.agentValue()) {
            const ChatHistoryResponse response
                = co_await m_chat.history(agent->id, agentPageSize, std::nullopt, bound, token);
            page = response.messages;
            if (response.page)
                hasMore = response.page->hasMore;
        } else {
            const TeamChatResponse response
                = co_await m_team.load(m_backend.teamValue()->slug, teamPageSize, bound, token);
            page = response.messages;
            if (response.page)
                hasMore = response.page->hasMore;
        }
        if (!current())
            co_return;
        prependHistory(page, hasMore);
        succeeded = true;
    } catch (...) {
        if (!current())
            co_return;
        fail(std::current_exception());
    }
    m_olderPageGate.finish(bound, succeeded);
    m_isLoadingOlder = false;
    Q_EMIT changed();
}

void ChatViewModel::prependHistory(const QList<ChatMessage>& incoming, std::optional<bool> hasMore)
{
    QList<ChatMessage> fresh;
    for (const ChatMessage& m : incoming)
        if (indexOf(m.id) < 0)
            fresh.append(m);
    MessageOrdering::sort(fresh);
    m_messages = fresh + m_messages;
    MessageOrdering::sort(m_messages);
    m_hasMoreHistory = hasMore.value_or(false);
    m_cache.setMessages(m_backend.id(), confirmedOnly(m_messages));
    m_cache.setHasMore(m_backend.id(), m_hasMoreHistory);
    for (const ChatMessage& m : std::as_const(fresh))
        m_seenIds.insert(m.id);
    messagesReplaced();
}

// --- live events and healing -------------------------------------------------------------------

qsizetype ChatViewModel::indexOf(qint64 id)
{
    if (!m_indexById) {
        m_indexById.emplace();
        m_indexById->reserve(m_messages.size());
        for (qsizetype i = 0; i < m_messages.size(); ++i)
            m_indexById->insert(m_messages[i].id, i);
    }
    return m_indexById->value(id, -1);
}

void ChatViewModel::bumpVersion(qsizetype changedFrom)
{
    ++m_messagesVersion;
    m_changedFrom[size_t(m_messagesVersion % changesKept)] = changedFrom;
    Q_EMIT messagesChanged();
}

qsizetype ChatViewModel::unchangedSince(int version) const
{
    if (version < 0 || version > m_messagesVersion || m_messagesVersion - version >= changesKept)
        return 0;
    qsizetype same = m_messages.size();
    for (int v = version + 1; v <= m_messagesVersion; ++v)
        same = std::min(same, m_changedFrom[size_t(v % changesKept)]);
    return same;
}

ChatViewModel::Placement ChatViewModel::place(const ChatMessage& message)
{
    Placement placed = Placement::appended;
    const qsizetype at = indexOf(message.id);
    if (at >= 0) {
        ChatMessage& local = m_messages[at];
        if (local == message || !MessageOrdering::mayReplace(local, message))
            return Placement::unchanged;
        local = message;
        bumpVersion(at);
        placed = Placement::replaced;
    } else {
        m_messages.append(message);
        m_indexById->insert(message.id, m_messages.size() - 1);
        bumpVersion(m_messages.size() - 1);
        const qsizetype n = m_messages.size();
        if (n >= 2 && MessageOrdering::precedes(message.id, m_messages[n - 2].id)) {
            MessageOrdering::sort(m_messages);
            m_indexById.reset();
            bumpVersion();
            placed = Placement::changed;
        }
    }
    m_seenIds.insert(message.id);
    return placed;
}

void ChatViewModel::requestExpansion(const ChatMessage& message)
{
    // Team chats have no step endpoint; each step is fetched once however often it arrives.
    if (!m_backend.isAgent() || !MessageOrdering::isTruncatedStep(message)
        || m_expansionsRequested.contains(message.id))
        return;
    m_expansionsRequested.insert(message.id);
    expandStep(message.id);
}

void ChatViewModel::ingest(const ChatMessage& message)
{
    const Placement placed = place(message);
    if (placed == Placement::unchanged)
        return;
    if (!message.isUser())
        scheduleMarkRead();
    recomputeThinking();
    storeInCache(placed, &message);
    Q_EMIT changed();
    if (message.metadata.signalsBrowserActivity() && onBrowserActivity)
        onBrowserActivity();
    requestExpansion(message);
    if (message.metadata.goalRunId())
        refreshGoalReviews();
}

void ChatViewModel::applyDelta(const QList<ChatMessage>& incoming)
{
    bool anyNonUser = false;
    bool changedAny = false;
    for (const ChatMessage& message : incoming) {
        if (place(message) == Placement::unchanged)
            continue;
        changedAny = true;
        anyNonUser = anyNonUser || !message.isUser();
        requestExpansion(message);
    }
    if (!changedAny)
        return;
    if (anyNonUser)
        scheduleMarkRead();
    recomputeThinking();
    storeInCache();
    Q_EMIT changed();
}

QCoro::Task<void> ChatViewModel::healLoop(CancelToken token)
{
    try {
        while (!token.isCancelled()) {
            co_await m_clock.sleep(healIntervalMs, token);
            if (token.isCancelled())
                co_return;
            co_await healOnce();
        }
    } catch (...) {
        // Cancelled: the chat was stopped.
    }
}

QCoro::Task<void> ChatViewModel::healOnce()
{
    if (m_backend.isTeam()) {
        co_await loadHistory(true);
        co_return;
    }
    qint64 newest = 0;
    for (const ChatMessage& m : std::as_const(m_messages))
        newest = qMax(newest, m.id);
    if (newest < 1)
        co_return;
    const CancelToken token = m_scope.token();
    const QString agentId = m_backend.agentValue()->id;
    try {
        const ChatHistoryResponse delta = co_await m_chat.history(agentId, std::nullopt, newest, std::nullopt, token);
        if (token.isCancelled())
            co_return;
        applyDelta(delta.messages);
    } catch (...) {
        // A missed heal round is caught up by the next one; only a lost session matters.
        if (!token.isCancelled() && Failure::of(std::current_exception()).route == Failure::Route::lostSession)
            Q_EMIT unauthorized();
    }
}

QCoro::Task<void> ChatViewModel::expandStep(qint64 stepId)
{
    const Agent* agent = m_backend.agentValue();
    if (!agent)
        co_return;
    const QString agentId = agent->id;
    const CancelToken token = m_scope.token();
    try {
        const ChatMessage full = co_await m_chat.expandStep(agentId, stepId, token);
        if (token.isCancelled())
            co_return;
        ingest(full);
    } catch (...) {
        // The shortened step stays readable.
    }
}

void ChatViewModel::storeInCache(Placement placed, const ChatMessage* message)
{
    const QString key = m_backend.id();
    // The message is the only change since this chat's last store, and the cache still holds that
    // store: one write instead of a copy of the newest 51 messages on every event.
    const bool onlyThisOne = message && message->id >= 0 && m_cacheStamp != 0 && m_messagesVersion == m_cacheVersion + 1
        && m_cache.messagesStamp(key) == m_cacheStamp;
    bool written = false;
    if (onlyThisOne && placed == Placement::appended) {
        m_cache.appendMessage(key, *message);
        written = true;
    } else if (onlyThisOne && placed == Placement::replaced) {
        written = m_cache.replaceMessage(key, *message); // false when it has left the cached newest
    }
    if (!written)
        m_cache.setMessages(key, confirmedOnly(m_messages));
    m_cacheStamp = m_cache.messagesStamp(key);
    m_cacheVersion = m_messagesVersion;
}

} // namespace halvex
