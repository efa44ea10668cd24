#pragma once
// What the builder proposes for one employee, as the generation service answers it: a draft
// that is still pending, asks clarify questions, or is ready to hire. Every field may be absent.
#include "agents/model/AgentsListResponse.h"
#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace halvex {

struct GeneratedSkill {
    std::optional<QString> name;
    std::optional<QString> description;
    std::optional<QString> content;
    static GeneratedSkill decode(const JsonReader& json);
    // Sent only when name, description and content all have text.
    bool isComplete() const;
};

struct ClarifyOption {
    std::optional<QString> label;
    std::optional<QString> value;
    std::optional<QString> hint;
    static ClarifyOption decode(const JsonReader& json);
};

struct ClarifyQuestion {
    std::optional<QString> key;
    std::optional<QString> question;
    std::optional<QList<ClarifyOption>> options;
    std::optional<bool> multiSelect;
    static ClarifyQuestion decode(const JsonReader& json);
    // The key, else the question's text, else empty: how answers are filed.
    QString id() const;
};

struct ClarificationAnswer {
    QString key;
    QString question;
    QString answer;
    JSONObject toJSON() const;
    bool operator==(const ClarificationAnswer&) const = default;
};

// One row of a worker draft's pipeline, for the review.
struct DraftStep {
    int index = 0;
    QString type;
    std::optional<QString> name;
    std::optional<QString> detail;
    // "LLM", "Tool", "Browse", or the type capitalised.
    QString typeLabel() const;
};

struct AgentDraft {
    std::optional<QString> mode; // "pending", "clarify", "ready"
    std::optional<QString> name;
    std::optional<QString> role;
    std::optional<QString> description;
    std::optional<QString> systemPrompt;
    std::optional<QString> responseLanguage;
    std::optional<QString> knowledgeBase;
    std::optional<QStringList> knowledgeUrls;
    std::optional<QList<GeneratedSkill>> skills;
    std::optional<QStringList> tools;
    std::optional<QStringList> constraints;
    std::optional<JSONValue> workProfile;
    std::optional<AgentTrigger> trigger;
    std::optional<QList<JSONValue>> playbook;
    std::optional<QList<ClarifyQuestion>> questions;
    std::optional<QString> error;

    static AgentDraft decode(const JsonReader& json);
    QList<DraftStep> displaySteps() const;
};

// A generation job as polled: "completed", "failed" and "aborted" end it.
template <typename Draft>
struct GenerationJob {
    QString status;
    std::optional<Draft> result;
    std::optional<QString> error;

    static GenerationJob decode(const JsonReader& json)
    {
        GenerationJob job;
        job.status = json.required<QString>("status");
        job.result = json.optional<Draft>("result");
        job.error = json.optional<QString>("error");
        return job;
    }
    bool isFinished() const { return status == u"completed" || status == u"failed" || status == u"aborted"; }
};

using GenerateJob = GenerationJob<AgentDraft>;

} // namespace halvex
