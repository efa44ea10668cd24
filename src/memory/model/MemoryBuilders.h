#pragma once
// The memory panel's lists, built from what the service answered: entries grouped by origin,
// the rows of the knowledge base, and the nodes of the memory graph.
#include "core/json/JSONValue.h"
#include "memory/model/MemoryItems.h"
#include "memory/model/MemoryRecords.h"

#include <QList>
#include <QMap>
#include <QPair>

namespace halvex::MemoryBuilders {

// "This agent" (the employee's "user_metadata_md"), "Team memory" or "Workspace memory" (the
// workspace's "worker_user_facts"), then "You taught" (the notes); a group only when it has entries.
QList<MemoryGroup> memoryGroups(const JSONObject& agentDetail, const JSONObject& workspaceMemory,
                                const QList<MemoryNoteItem>& notes);
// Knowledge links, the written knowledge, notes, tables, files and skills, in that order.
QList<KBRow> kbRows(const JSONObject& agentDetail, const QList<MemoryNoteItem>& notes,
                    const QList<AgentTableItem>& tables, const QList<AgentFileItem>& files,
                    const QList<AgentSkillItem>& skills);
// What the workspace shares, as one document row; none while it shares nothing.
QList<KBRow> workspaceDocs(const JSONObject& workspaceMemory);
// The delivered results of the employee's goals: (goal title, its runs) in goal order.
QList<KBRow> resultFiles(const QList<QPair<QString, QList<GoalRunItem>>>& perGoal);

// The rows whose name, meta or content contain `search` (case-insensitive) and, when a type
// is given, of that type.
QList<KBRow> filteredRows(const QList<KBRow>& rows, const QString& search, std::optional<KBRow::RowType> type);
// How many rows there are of each type; types without rows are left out.
QMap<KBRow::RowType, int> kbStats(const QList<KBRow>& rows);

// The employee in the centre, a ring of hubs (each memory group, then each knowledge type
// present), and each hub's entries or rows around it (at most `leavesPerHub`, the rest counted
// in one last leaf). Positions are 0 … 1 of the drawing's width and height.
QList<GraphNode> graphNodes(const QList<MemoryGroup>& groups, const QList<KBRow>& rows,
                            const QString& centreLabel = QStringLiteral("Employee"), int leavesPerHub = 8);

} // namespace halvex::MemoryBuilders
