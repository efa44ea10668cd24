#pragma once
// Projects from the terminal: `projects`, `project <slug>` and `project new`.
#include "cli/CliCommands.h"

namespace halvex::cli {

QCoro::Task<int> listProjects(CliContext& c);
// The overview, members, files and tasks of one project.
QCoro::Task<int> showProject(CliContext& c, QString slug);
// A new project through intake: the questions from --answer or asked at the prompt, the profile
// printed, and with --yes the project created.
QCoro::Task<int> newProject(CliContext& c);

} // namespace halvex::cli
