#pragma once
// The terminal client's commands. Each runs to completion and answers its exit status:
// 0 done, 1 failed, 2 bad usage, 3 not signed in.
#include "cli/CliOutput.h"
#include "core/async/Clock.h"
#include "core/net/APIClient.h"

#include <QStringList>

#include <qcorotask.h>

namespace halvex::cli {

enum ExitCode { ok = 0, failed = 1, usage = 2, signedOut = 3 };

// Flags of the create and marketplace commands.
struct CliOptions {
    bool team = false;    // create a team
    bool worker = false;  // create a worker
    bool skip = false;    // let the builder decide every clarify question
    bool yes = false;     // hire the ready draft, create the drafted worker
    QStringList answers;  // "question-key=answer", one per clarify question
    bool wait = false;    // worker run: follow the run to its end
    QStringList settings; // mandate: "key=value" edits
    bool clear = false;   // mandate: remove it
    QString name;         // project new: the project's name
    QString website;      // project new: its public website
    QString description;  // project new: a short description
    bool manual = false;  // project new: skip the questions, the profile is the description
};

struct CliContext {
    APIClient& api;
    Clock& clock;
    CliOutput out;
    qint64 turnTimeoutMs = 300'000;
    CliOptions options = {};
};

QCoro::Task<int> runCommand(CliContext& context, QString command, QStringList args);
// Prints the failure and answers its exit status (signedOut for a lost session).
int failWith(const CliContext& c, const std::exception_ptr& error);

QString usageText();

} // namespace halvex::cli
