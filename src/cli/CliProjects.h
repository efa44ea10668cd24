#pragma once
// Projects from the terminal: `projects` and `project <slug>`.
#include "cli/CliCommands.h"

namespace halvex::cli {

QCoro::Task<int> listProjects(CliContext& c);
// The overview, members, files and tasks of one project.
QCoro::Task<int> showProject(CliContext& c, QString slug);

} // namespace halvex::cli
