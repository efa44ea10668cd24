#pragma once
// A project and its members: shared by the sidebar, the create flows and goals.
#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"

#include <QList>
#include <QString>

#include <optional>

namespace halvex {

struct ProjectSettings {
    std::optional<double> projectBudgetUsdMonth; // absent: unlimited
    static ProjectSettings decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const ProjectSettings&) const = default;
};

struct Project {
    QString id;
    QString slug;
    QString label;
    QString brief;
    QString status;
    std::optional<ProjectSettings> settings;
    std::optional<int> membersCount;

    static Project decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const Project&) const = default;
};

struct AgentRef {
    QString id;
    QString name;
    std::optional<QString> role;
    std::optional<QString> avatarUrl;
    std::optional<QString> status;
    static AgentRef decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const AgentRef&) const = default;
};

struct TeamRef {
    struct Member {
        QString id;
        QString name;
        std::optional<QString> role;
        std::optional<QString> avatarUrl;
        static Member decode(const JsonReader& json);
        JSONObject encode() const;
        bool operator==(const Member&) const = default;
    };
    QString slug;
    QString label;
    QList<Member> members;
    static TeamRef decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const TeamRef&) const = default;
};

struct ProjectMember {
    QString id;         // the membership id, used to remove it
    QString memberKind; // "agent" or "team"
    QString note;
    std::optional<AgentRef> agent;
    std::optional<TeamRef> team;
    std::optional<bool> stale; // gone, or no longer belongs; still listed and removable

    static ProjectMember decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const ProjectMember&) const = default;
};

} // namespace halvex
