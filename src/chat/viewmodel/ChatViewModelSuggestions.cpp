// Suggested next prompts: asked of the service a moment after a turn finishes, cleaned up, and
// replaced by built-in prompts when it offers nothing usable.
#include "chat/viewmodel/ChatViewModel.h"

#include "chat/viewmodel/ChatSuggestions.h"
#include "core/net/APIClient.h"

namespace halvex {

QString ChatViewModel::suggestionBasePath() const { return goalScope().base(); }

QString ChatViewModel::suggestionLanguage() const
{
    const Agent* agent = m_detail ? &*m_detail : m_backend.agentValue();
    if (agent && agent->responseLanguage) {
        const QString code = agent->responseLanguage->trimmed().left(2).toLower();
        if (code.size() == 2 && code[0].isLetter() && code[1].isLetter())
            return code;
    }
    return QStringLiteral("mixed");
}

void ChatViewModel::scheduleChatSuggestionRefresh(qint64 afterMilliseconds)
{
    m_suggestionLoad.cancel();
    // The timer handle is a member: it dies with this view model and never fires after.
    m_suggestionTimer = m_clock.schedule(qMax<qint64>(0, afterMilliseconds), [this] { loadChatSuggestions(); });
}

QCoro::Task<void> ChatViewModel::loadChatSuggestions()
{
    m_chatSuggestionsRequested = true;
    const CancelToken token = m_suggestionLoad.next();
    JSONObject body;
    body.insert(QStringLiteral("mode"), QStringLiteral("chat"));
    body.insert(QStringLiteral("language"), suggestionLanguage());
    if (m_chatSuggestionHash)
        body.insert(QStringLiteral("known_context_hash"), *m_chatSuggestionHash);
    const QString path = suggestionBasePath() + QStringLiteral("/goals/suggestions");
    QStringList next;
    try {
        const JSONObject answer = co_await m_api.postJSON<JSONObject>(path, body, std::nullopt, token);
        if (token.isCancelled())
            co_return;
        const JSONValue unchanged = answer.value(QStringLiteral("unchanged"));
        if (unchanged.isBool() && unchanged.toBool() && !m_chatSuggestions.isEmpty())
            co_return;
        QStringList offered;
        const JSONValue list = answer.value(QStringLiteral("chat_suggestions"));
        if (list.isArray())
            for (const JSONValue& v : list.toArray())
                if (v.isString())
                    offered.append(v.toString());
        next = ChatSuggestions::normalize(offered);
        const JSONValue hash = answer.value(QStringLiteral("context_hash"));
        if (hash.isString())
            m_chatSuggestionHash = hash.toString();
    } catch (...) {
        if (token.isCancelled() || isCancellation(std::current_exception()))
            co_return;
        if (!m_chatSuggestions.isEmpty())
            co_return;
    }
    if (next.isEmpty())
        next = ChatSuggestions::fallback(suggestionLanguage(), m_backend.isTeam());
    if (next != m_chatSuggestions) {
        m_chatSuggestions = next;
        Q_EMIT changed();
    }
}

} // namespace halvex
