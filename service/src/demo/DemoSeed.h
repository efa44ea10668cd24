#pragma once
#include "core/Service.h"

namespace service {

// A demo workspace: one account, a team that follows the naming rule, a plain group, a worker,
// a model chat and a few messages. Does nothing when the account exists.
void seedDemo(Service& s);

// Parts of the seed kept beside the routes they feed; each runs inside seedDemo's transaction.
void seedChats(Service& s, long long userId);
void seedTeamsAndProjects(Service& s, long long userId);
// Called by seedTeamsAndProjects once the project and the employees exist.
void seedProjectProfile(Service& s, long long userId);
void seedMemory(Service& s, long long userId);
void seedWorkers(Service& s, long long userId);
void seedGovernance(Service& s, long long userId);
void seedWallet(Service& s, long long userId);

} // namespace service
