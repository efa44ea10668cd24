#pragma once
// What an employee does with a turn, decided from the turn's words alone so that tests can
// rely on it: the steps it shows (each inserted running, then updated to done), its answer
// and the usage line that closes the turn.
#include "artifacts/ArtifactStore.h"
#include "chat/MessageStore.h"
#include "goals/GoalStore.h"

#include <optional>
#include <string>
#include <vector>

namespace service {

enum class TurnKind { approval, goal, longStep, failure, artifact, options, research, plain };

TurnKind classifyTurn(const std::string& text);
// "table", "note", "document" or "image" when the turn asks for one.
std::optional<std::string> requestedArtifact(const std::string& text);

struct TurnAction {
    enum class Kind { insert, update };
    Kind kind = Kind::insert;
    std::string ref; // names an inserted message so later actions can update it
    NewMessage message;
    bool completesGoalRun = false; // the goal's result waits for review once this is stored
};

struct TurnContext {
    std::string text;
    bool team = false;
    std::string speaker;
    std::vector<std::string> members;
    std::string turnId;
    std::optional<GoalRun> goalRun;
    std::string artifactId;
    std::string artifactOwner; // the agent that wrote it: the employee, or the teammate in a team chat
    std::string artifactUrl;   // the stored file of a document or image
};

std::vector<TurnAction> planTurn(const TurnContext& turn);
// The rest of a turn that stopped at an approval request.
std::vector<TurnAction> planAfterApproval(const TurnContext& turn, bool approved);

// What a turn is about, short enough for a title.
std::string turnTopic(const std::string& text);
// What a requested table or note holds. The table has more rows than one preview page.
inline constexpr int kLeadsTableRows = 60;
NewTable leadsTable();
std::string noteTitle(const std::string& topic);
std::string noteText(const std::string& topic);
// The files behind a requested document or image.
std::string documentText(const std::string& topic);
std::string imageSvg(const std::string& topic);

} // namespace service
