// Schema steps of workers: their runs, the schedules of deployed workers, and which marketplace
// workflow became which user's worker.
#include "core/Migrations.h"

namespace service {

void createWorkflowRuns(Database& db)
{
    // `steps` holds the run's step records as JSON; `open_message_id` is the chat step shown
    // running right now, so a restart can close it.
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS workflow_runs (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL, agent_id TEXT NOT NULL,
        status TEXT NOT NULL, trigger_type TEXT NOT NULL, input TEXT, delivery_agent_id TEXT, conversation_id TEXT,
        steps TEXT NOT NULL DEFAULT '[]', result TEXT, error_message TEXT, open_message_id INTEGER,
        created_at TEXT NOT NULL, started_at TEXT, finished_at TEXT);
    CREATE INDEX IF NOT EXISTS workflow_runs_by_agent ON workflow_runs (agent_id);
    CREATE INDEX IF NOT EXISTS workflow_runs_by_status ON workflow_runs (status);
    )sql");
}

void createWorkerSchedules(Database& db)
{
    // Times are seconds on the service clock.
    db.script("CREATE TABLE IF NOT EXISTS worker_schedules (agent_id TEXT PRIMARY KEY, user_id INTEGER NOT NULL, "
              "interval_minutes INTEGER NOT NULL, next_run_at INTEGER NOT NULL)");
}

void createWorkflowInstalls(Database& db)
{
    db.script("CREATE TABLE IF NOT EXISTS workflow_installs (user_id INTEGER NOT NULL, item_id TEXT NOT NULL, "
              "agent_id TEXT NOT NULL, created_at TEXT NOT NULL, PRIMARY KEY (user_id, item_id))");
}

} // namespace service
