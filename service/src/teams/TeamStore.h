#pragma once
// Teams are the employees that share a group label; the label's slug names the team. Their
// settings (reviewer, hand-off depth, loop, budget) live in team_settings, one row per team.
#include "core/Http.h"
#include "core/Service.h"

#include <optional>
#include <string>
#include <vector>

namespace service {

struct Team {
    std::string slug;
    std::string label;
    std::vector<json> members; // employees of the group, not archived, without the orchestrator
    std::optional<json> orchestrator;
};

std::optional<Team> findTeam(Service& s, long long uid, const std::string& slug);

struct TeamSettings {
    std::string reviewerHandle;
    long long handoffDepth = 0;
    std::optional<json> loop; // the "loop" object as the team answer carries it
    std::optional<double> budgetUsdMonth;
    std::optional<std::string> teamAvatar;
    bool teamPinned = false;
    std::optional<std::string> teamDirective;
    std::optional<std::string> replyLanguage;
    bool approvalGate = false;
};

TeamSettings loadTeamSettings(Service& s, long long uid, const std::string& slug);
void saveTeamSettings(Service& s, long long uid, const std::string& slug, const TeamSettings& settings);

json rosterMemberJson(const json& agent, const std::string& slug, const std::string& reviewerHandle);
// Spend of the team's agents this month, in US dollars.
double teamMonthSpendUsd(Service& s, const Team& team);
// Every key of the team conversation's answer except "messages" and "page": roster, label,
// slug, settings and spend. The chat history route merges its page of messages into it.
json teamConversationSettings(Service& s, long long uid, const Team& team);

} // namespace service
