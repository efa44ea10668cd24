#pragma once
// The account and an employee's governance from the terminal: `wallet`, `mandate`, `freeze`
// and `resume`.
#include "cli/CliCommands.h"

namespace halvex::cli {

QCoro::Task<int> showWallet(CliContext& c);
// Shows the mandate; `--set key=value` edits it, `--clear` removes it.
QCoro::Task<int> editMandate(CliContext& c, QString agentId);
QCoro::Task<int> setFrozen(CliContext& c, QString agentId, bool frozen);

} // namespace halvex::cli
