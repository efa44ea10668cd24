#pragma once
// What the service answers about an employee's memory: the notes the user taught it, its
// tables, files and skills, and the runs of its goals (whose results show as files).
#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"

#include <QList>
#include <QString>

#include <optional>

namespace halvex {

struct MemoryNoteItem {
    QString id;
    std::optional<QString> title;
    QString content; // "body", or the older "content"
    std::optional<QString> createdAt;
    static MemoryNoteItem decode(const JsonReader& json);
    bool operator==(const MemoryNoteItem&) const = default;
};

struct AgentFileItem {
    QString url;
    std::optional<QString> name;
    std::optional<QString> kind;
    std::optional<QString> createdAt;
    static AgentFileItem decode(const JsonReader& json);
    bool operator==(const AgentFileItem&) const = default;
};

struct AgentSkillItem {
    std::optional<QString> skillId;
    std::optional<QString> name;
    std::optional<QString> description;
    std::optional<QString> content;
    std::optional<QString> source; // "attached" or "generated"
    static AgentSkillItem decode(const JsonReader& json);
    bool operator==(const AgentSkillItem&) const = default;
};

struct AgentTableItem {
    QString id;
    std::optional<QString> name;
    std::optional<QString> description;
    std::optional<JSONArray> columns;
    std::optional<QString> updatedAt;
    std::optional<QString> createdAt;
    static AgentTableItem decode(const JsonReader& json);
    bool operator==(const AgentTableItem&) const = default;
};

// One run of a goal; a delivered run may name its result and where it lies.
struct GoalRunItem {
    QString id;
    std::optional<QString> goalId;
    std::optional<QString> status;
    std::optional<QString> result;
    std::optional<QString> resultUrl;
    std::optional<QString> createdAt;
    static GoalRunItem decode(const JsonReader& json);
    bool operator==(const GoalRunItem&) const = default;
};

// The list under `key`; an absent or null one is empty.
template <typename T>
QList<T> listAt(const JsonReader& json, const char* key)
{
    return json.optional<QList<T>>(key).value_or(QList<T>());
}

struct MemoryNoteResponse {
    MemoryNoteItem note;
    static MemoryNoteResponse decode(const JsonReader& json) { return {json.required<MemoryNoteItem>("note")}; }
};
struct MemoryNotesResponse {
    QList<MemoryNoteItem> notes;
    static MemoryNotesResponse decode(const JsonReader& json) { return {listAt<MemoryNoteItem>(json, "notes")}; }
};
struct AgentFilesResponse {
    QList<AgentFileItem> files;
    static AgentFilesResponse decode(const JsonReader& json) { return {listAt<AgentFileItem>(json, "files")}; }
};
struct AgentSkillsResponse {
    QList<AgentSkillItem> skills;
    static AgentSkillsResponse decode(const JsonReader& json) { return {listAt<AgentSkillItem>(json, "skills")}; }
};
struct AgentTablesResponse {
    QList<AgentTableItem> tables;
    static AgentTablesResponse decode(const JsonReader& json) { return {listAt<AgentTableItem>(json, "tables")}; }
};
struct GoalRunsResponse {
    QList<GoalRunItem> runs;
    static GoalRunsResponse decode(const JsonReader& json) { return {listAt<GoalRunItem>(json, "runs")}; }
};

} // namespace halvex
