#pragma once
#include "Service.h"

namespace service {

// A demo workspace: one account, a team that follows the naming rule, a plain group, a worker,
// a model chat and a few messages. Does nothing when the account exists.
void seedDemo(Service& s);

} // namespace service
