#pragma once
// What an employee remembers, from the terminal: `memory <employee>`.
#include "cli/CliCommands.h"

namespace halvex::cli {

QCoro::Task<int> showMemory(CliContext& c, QString agentId);

} // namespace halvex::cli
