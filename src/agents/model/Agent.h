#pragma once
// The employee record: every employee, worker, orchestrator and model chat is one Agent.
#include "agents/model/PlaybookStep.h"
#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"

#include <QList>
#include <QString>

#include <optional>

namespace halvex {

struct Agent {
    QString id;
    QString name;
    std::optional<QString> description;
    std::optional<QString> avatarUrl;
    std::optional<QString> agentType;
    std::optional<bool> isEmployer;
    std::optional<bool> isOrchestrator;
    std::optional<QString> presetKind;
    std::optional<QString> status;
    std::optional<bool> pinned;
    std::optional<QString> agentGroup;
    std::optional<QString> responseLanguage;
    std::optional<QString> behaviorStyle;
    std::optional<QString> voiceId;
    std::optional<QString> openaiVoice;
    std::optional<QString> llmModel;
    std::optional<QString> resolvedLlmModel;
    std::optional<QList<PlaybookStep>> playbook;
    std::optional<QList<JSONValue>> tools;

    // A missing or non-string "id" or "name" fails the record.
    static Agent decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const Agent&) const = default;
};

} // namespace halvex
