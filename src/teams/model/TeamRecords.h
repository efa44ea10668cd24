#pragma once
// The records of the team endpoints: roster, orchestrator model, loop settings, member changes,
// settings changes, usage and the task board.
#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"

#include <QList>
#include <QString>

#include <optional>

namespace halvex {

struct TeamRosterMember {
    QString id; // the agent id
    std::optional<QString> slug;
    std::optional<QString> handle;
    QString name;
    std::optional<QString> role;
    std::optional<QString> status;
    std::optional<QString> avatarUrl;
    std::optional<QString> llmProvider;
    std::optional<QString> llmModel;
    std::optional<bool> isReviewer;

    static TeamRosterMember decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const TeamRosterMember&) const = default;
};

struct TeamOrchLlm {
    std::optional<QString> provider;
    std::optional<QString> model;

    static TeamOrchLlm decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const TeamOrchLlm&) const = default;
};

struct TeamLoopConfig {
    std::optional<bool> enabled;
    std::optional<int> maxIterations;
    std::optional<int> maxTokens;
    std::optional<double> maxCostUsd;
    std::optional<int> qualityThreshold;
    std::optional<bool> stopOnNoImprovement;

    static TeamLoopConfig decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const TeamLoopConfig&) const = default;
};

struct AddMemberResponse {
    struct Member {
        std::optional<QString> id;
        std::optional<QString> handle;
        std::optional<QString> name;
        std::optional<QString> role;
        std::optional<QString> status;
        static Member decode(const JsonReader& json);
        bool operator==(const Member&) const = default;
    };
    std::optional<bool> ok;
    std::optional<Member> member;

    static AddMemberResponse decode(const JsonReader& json);
};

struct TeamPatchResponse {
    std::optional<QString> label;
    std::optional<QString> groupSlug;
    static TeamPatchResponse decode(const JsonReader& json);
};

struct TeamUsageResponse {
    struct Total {
        std::optional<qint64> tokens;
        std::optional<qint64> calls;
        std::optional<JSONValue> costUsd; // number or text; shown by billing
        static Total decode(const JsonReader& json);
        bool operator==(const Total&) const = default;
    };
    struct Member {
        std::optional<QString> agentId;
        std::optional<QString> handle;
        std::optional<QString> role;
        std::optional<QString> status;
        std::optional<qint64> tokens;
        std::optional<qint64> calls;
        std::optional<JSONValue> costUsd;
        static Member decode(const JsonReader& json);
        bool operator==(const Member&) const = default;
    };
    std::optional<Total> total;
    std::optional<QList<Member>> members;

    static TeamUsageResponse decode(const JsonReader& json);
    bool operator==(const TeamUsageResponse&) const = default;

    // A row's cost in US dollars: a number as it is, a text only when all of it is a decimal
    // number ("12.5", never " 3"); anything else has none.
    static std::optional<double> costUsd(const std::optional<JSONValue>& raw);
};

struct TeamTask {
    qint64 id = 0;
    std::optional<QString> taskText;
    QString status;
    std::optional<QString> assigneeHandle;
    std::optional<QString> assigneeName;
    std::optional<QString> assigneeAvatar;
    std::optional<QString> createdAt;

    static TeamTask decode(const JsonReader& json);
    bool operator==(const TeamTask&) const = default;
};

enum class TaskColumn { backlog, todo, inProgress, done };

inline constexpr TaskColumn allTaskColumns[]
    = {TaskColumn::backlog, TaskColumn::todo, TaskColumn::inProgress, TaskColumn::done};
QString taskColumnTitle(TaskColumn column);

} // namespace halvex
