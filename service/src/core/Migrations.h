#pragma once
// The schema's history: one numbered list of steps, recorded in PRAGMA user_version. A database
// at version N runs only the steps after N, each once, each in its own transaction.
#include "core/Database.h"

#include <vector>

namespace service {

using MigrationStep = void (*)(Database&);

// Every step of the service, in order; step i (1-based) brings the schema to version i.
const std::vector<MigrationStep>& migrationSteps();
// Runs the steps the database has not seen yet; answers how many ran.
int migrate(Database& db, const std::vector<MigrationStep>& steps = migrationSteps());
long long schemaVersion(Database& db);

// Steps, each defined beside the feature whose tables it makes.
void createAccounts(Database& db);         // auth
void createAgents(Database& db);           // agents
void createMessages(Database& db);         // chat
void createChatFiles(Database& db);        // chat
void createTeamSettings(Database& db);     // teams
void createProjects(Database& db);         // projects
void createProjectBoard(Database& db);     // projects
void createGoals(Database& db);            // goals
void createArtifacts(Database& db);        // artifacts
void addTableUpdatedAt(Database& db);      // artifacts
void createGenerationJobs(Database& db);   // generation
void createMarketplaceHires(Database& db); // marketplace
void createApiKeys(Database& db);          // apikeys
void createWorkflowRuns(Database& db);     // workers
void createWorkerSchedules(Database& db);  // workers
void createWorkflowInstalls(Database& db); // workers
void createMandatesAndCalls(Database& db); // governance
void createConnections(Database& db);      // governance
void createWallet(Database& db);           // billing
void createIntakeEvidence(Database& db);   // intake
void createMemory(Database& db);           // memory
void createComputers(Database& db);        // computer
void createComputerHandoffs(Database& db); // computer

} // namespace service
