#include "core/Migrations.h"

#include <string>

namespace service {

const std::vector<MigrationStep>& migrationSteps()
{
    // Append only: a step that shipped is never edited, renumbered or removed. Steps 2 to 9
    // tolerate their tables already existing, because databases made before this list held
    // them at version 1.
    static const std::vector<MigrationStep> steps = {
        createAccounts,         // 1
        createAgents,           // 2
        createMessages,         // 3
        createChatFiles,        // 4
        createTeamSettings,     // 5
        createProjects,         // 6
        createProjectBoard,     // 7
        createGoals,            // 8
        createArtifacts,        // 9
        addTableUpdatedAt,      // 10
        createGenerationJobs,   // 11
        createMarketplaceHires, // 12
        createApiKeys,          // 13
        createWorkflowRuns,     // 14
        createWorkerSchedules,  // 15
        createWorkflowInstalls, // 16
        createMandatesAndCalls, // 17
        createConnections,      // 18
        createWallet,           // 19
        createIntakeEvidence,   // 20
        createMemory,           // 21
        createComputers,        // 22
        createComputerHandoffs, // 23
    };
    return steps;
}

long long schemaVersion(Database& db) { return integer(db.query("PRAGMA user_version").at(0).at(0)); }

int migrate(Database& db, const std::vector<MigrationStep>& steps)
{
    int ran = 0;
    for (long long v = schemaVersion(db); v < static_cast<long long>(steps.size()); ++v) {
        db.transaction([&] {
            steps[size_t(v)](db);
            db.query("PRAGMA user_version=" + std::to_string(v + 1));
        });
        ++ran;
    }
    return ran;
}

} // namespace service
