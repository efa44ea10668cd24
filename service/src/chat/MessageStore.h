#pragma once
// Chat messages of one conversation ("chat key": an agent id, or the team's orchestrator id),
// stored in the "messages" table and answered in the shape the client decodes.
#include "core/Http.h"
#include "core/Service.h"

#include <optional>
#include <string>
#include <variant>

namespace service {

struct NewMessage {
    std::string role;
    std::string content;
    json metadata = json::object();
    bool read = false;
    // Set for a step shown shortened: the stored content is the short form.
    std::optional<std::string> fullContent;
};

// Inserts and answers the stored message.
json insertMessage(Database& db, const std::string& chatKey, const NewMessage& message);
// Replaces content and metadata of an existing message; answers it, or nothing when gone.
std::optional<json> updateMessage(Database& db, long long id, const std::string& content, const json& metadata);
// `full` answers a shortened step with its whole text.
std::optional<json> findMessage(Database& db, const std::string& chatKey, long long id, bool full = false);
// The user turn sent earlier with this request id, so a retried send is not run twice.
std::optional<json> findByClientRequest(Database& db, const std::string& chatKey, const std::string& requestId);
void markChatRead(Database& db, const std::string& chatKey);
std::string conversationId(const std::string& chatKey);

struct HistoryQuery {
    std::optional<long long> since;  // everything newer; no limit
    std::optional<long long> before; // strictly older than this id
    int limit = 50;
};
inline constexpr int kMaxHistoryLimit = 200;
inline constexpr int kMaxDeltaMessages = 500;

// The paging parameters of a request, or why they are unusable.
std::variant<HistoryQuery, std::string> readHistoryQuery(const httplib::Request& req);
// {"messages": ascending ids, "page": {...}, "conversation_id": ...}
json historyAnswer(Database& db, const std::string& chatKey, const HistoryQuery& query);

} // namespace service
