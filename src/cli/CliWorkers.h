#pragma once
// Workers from the terminal: `worker build`, `worker run` and `runs`.
#include "cli/CliCommands.h"

namespace halvex::cli {

QCoro::Task<int> buildWorker(CliContext& c, QString description);
QCoro::Task<int> runWorker(CliContext& c, QString workerId);
QCoro::Task<int> listRuns(CliContext& c, QString workerId);

} // namespace halvex::cli
