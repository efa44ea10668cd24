#pragma once
// Creating and hiring from the terminal: `create`, `market` and `hire`.
#include "cli/CliCommands.h"

namespace halvex::cli {

QCoro::Task<int> createEmployee(CliContext& c, QString brief);
QCoro::Task<int> listMarket(CliContext& c, QString filter);
QCoro::Task<int> hireFromMarket(CliContext& c, QString id);

} // namespace halvex::cli
