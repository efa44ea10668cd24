#include "chat/TurnRunner.h"

#include "billing/Charges.h"
#include "chat/ChatFiles.h"
#include "chat/ChatRuntime.h"
#include "chat/TurnScript.h"
#include "computer/TurnBrowsing.h"
#include "core/Crypto.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <thread>

namespace service {

namespace {

// A step that opens a page shows it in the computer of who works the turn: the employee, or in a
// team chat the teammate it hands work to.
void showBrowsing(Service& s, const ChatTarget& target, const json& step)
{
    if (step.value("tool", std::string()) != "browser_navigate" || !step.contains("args") || !step["args"].is_object())
        return;
    const std::string agentId = !target.team ? target.id
        : target.memberIds.empty()           ? std::string()
                                             : target.memberIds.front();
    browseForTurn(s, target.userId, agentId, step["args"].value("url", std::string()));
}

void play(Service& s, const ChatTarget& target, const TurnContext& turn, const std::vector<TurnAction>& actions)
{
    std::map<std::string, long long> ids;
    try {
        for (const auto& action : actions) {
            if (s.opt.paceMs > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(s.opt.paceMs));
            if (action.kind == TurnAction::Kind::insert) {
                if (action.completesGoalRun && turn.goalRun)
                    awaitReview(*s.db, *turn.goalRun);
                const json stored = insertMessage(*s.db, target.chatKey, action.message);
                ids[action.ref] = stored["id"].get<long long>();
                // Charged before it is published: whoever sees the usage line sees the wallet charged.
                if (action.message.metadata.value("kind", std::string()) == "turn_spend")
                    billing::chargeTurn(s, target.userId, target.speaker, action.message.metadata);
                publishMessage(s, target.chatKey, stored, true);
                showBrowsing(s, target, action.message.metadata);
            } else if (const auto it = ids.find(action.ref); it != ids.end()) {
                if (const auto stored
                    = updateMessage(*s.db, it->second, action.message.content, action.message.metadata))
                    publishMessage(s, target.chatKey, *stored, false);
            }
        }
    } catch (const std::exception& e) {
        // A turn that cannot be stored ends here; what was stored stays and the client heals from it.
        std::fprintf(stderr, "turn %s stopped: %s\n", turn.turnId.c_str(), e.what());
    }
}

void playDetached(Service& s, ChatTarget target, TurnContext turn, std::vector<TurnAction> actions)
{
    std::thread([&s, target = std::move(target), turn = std::move(turn), actions = std::move(actions)] {
        play(s, target, turn, actions);
    }).detach();
}

TurnContext contextFor(const ChatTarget& target, const std::string& text, const std::string& turnId)
{
    TurnContext turn;
    turn.text = text;
    turn.team = target.team;
    turn.speaker = target.speaker;
    turn.members = target.memberHandles;
    turn.turnId = turnId;
    return turn;
}

} // namespace

void publishMessage(Service& s, const std::string& chatKey, const json& message, bool inserted)
{
    chatRuntime(s).hub.publish(chatKey,
                               {inserted ? "message-insert" : "message", message.value("id", 0LL), message.dump()});
}

void startTurn(Service& s, const ChatTarget& target, const std::string& text)
{
    TurnContext turn = contextFor(target, text, "turn-" + randomHex(6));
    const TurnKind kind = classifyTurn(text);
    if (kind == TurnKind::goal)
        turn.goalRun = startGoalRun(*s.db, target.userId, target.scope(), trim(text));
    if (kind == TurnKind::artifact) {
        const std::string type = *requestedArtifact(text);
        // In a team chat the teammate the work is handed to writes it.
        turn.artifactOwner
            = target.team ? (target.memberIds.empty() ? std::string() : target.memberIds.front()) : target.id;
        turn.artifactId = type + "-" + randomHex(6);
        const std::string topic = turnTopic(text);
        if (type == "table" && !turn.artifactOwner.empty())
            turn.artifactId = createTable(*s.db, target.userId, turn.artifactOwner, leadsTable());
        else if (type == "note" && !turn.artifactOwner.empty())
            turn.artifactId = createNote(*s.db, target.userId, turn.artifactOwner, noteTitle(topic), noteText(topic));
        else if (type == "document" || type == "image") {
            const json file = type == "document"
                ? storeChatFile(s, target.userId, target.chatKey, "Brief.md", "text/markdown", documentText(trim(text)))
                : storeChatFile(s, target.userId, target.chatKey, "Concept.svg", "image/svg+xml", imageSvg(trim(text)));
            turn.artifactUrl = file.value("url", std::string());
        }
    }
    auto actions = planTurn(turn);
    playDetached(s, target, std::move(turn), std::move(actions));
}

void continueAfterApproval(Service& s, const ChatTarget& target, const json& approval, bool approved)
{
    const json& meta = approval.contains("metadata") ? approval["metadata"] : json::object();
    TurnContext turn
        = contextFor(target, meta.value("turn_text", std::string()), meta.value("work_id", std::string("turn")));
    auto actions = planAfterApproval(turn, approved);
    playDetached(s, target, std::move(turn), std::move(actions));
}

} // namespace service
