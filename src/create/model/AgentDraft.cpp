#include "create/model/AgentDraft.h"

namespace halvex {

namespace {

bool hasText(const std::optional<QString>& s) { return s && !s->isEmpty(); }

std::optional<QString> stringIn(const JSONObject& object, const char* key)
{
    const JSONValue value = object.value(QString::fromLatin1(key));
    return value.isString() ? std::optional<QString>(value.toString()) : std::nullopt;
}

} // namespace

GeneratedSkill GeneratedSkill::decode(const JsonReader& json)
{
    return {json.optional<QString>("name"), json.optional<QString>("description"), json.optional<QString>("content")};
}

bool GeneratedSkill::isComplete() const { return hasText(name) && hasText(description) && hasText(content); }

ClarifyOption ClarifyOption::decode(const JsonReader& json)
{
    return {json.optional<QString>("label"), json.optional<QString>("value"), json.optional<QString>("hint")};
}

ClarifyQuestion ClarifyQuestion::decode(const JsonReader& json)
{
    return {json.optional<QString>("key"), json.optional<QString>("question"),
            json.optional<QList<ClarifyOption>>("options"), json.optional<bool>("multiSelect")};
}

QString ClarifyQuestion::id() const { return key.value_or(question.value_or(QString())); }

JSONObject ClarificationAnswer::toJSON() const
{
    return {{QStringLiteral("key"), key}, {QStringLiteral("question"), question}, {QStringLiteral("answer"), answer}};
}

QString DraftStep::typeLabel() const
{
    if (type == u"llm")
        return QStringLiteral("LLM");
    if (type == u"tool")
        return QStringLiteral("Tool");
    if (type == u"browse")
        return QStringLiteral("Browse");
    return type.isEmpty() ? type : type.left(1).toUpper() + type.mid(1);
}

AgentDraft AgentDraft::decode(const JsonReader& json)
{
    AgentDraft d;
    d.mode = json.optional<QString>("mode");
    d.name = json.optional<QString>("name");
    d.role = json.optional<QString>("role");
    d.description = json.optional<QString>("description");
    d.systemPrompt = json.optional<QString>("system_prompt");
    d.responseLanguage = json.optional<QString>("response_language");
    d.knowledgeBase = json.optional<QString>("knowledge_base");
    d.knowledgeUrls = json.optional<QStringList>("knowledge_urls");
    d.skills = json.optional<QList<GeneratedSkill>>("skills");
    d.tools = json.optional<QStringList>("tools");
    d.constraints = json.optional<QStringList>("constraints");
    d.workProfile = json.optional<JSONValue>("work_profile");
    d.trigger = json.optional<AgentTrigger>("trigger");
    d.playbook = json.optional<QList<JSONValue>>("playbook");
    d.questions = json.optional<QList<ClarifyQuestion>>("questions");
    d.error = json.optional<QString>("error");
    return d;
}

QList<DraftStep> AgentDraft::displaySteps() const
{
    QList<DraftStep> steps;
    if (!playbook)
        return steps;
    for (qsizetype i = 0; i < playbook->size(); ++i) {
        const JSONValue& entry = playbook->at(i);
        if (!entry.isObject())
            continue;
        const JSONObject& object = entry.toObject();
        DraftStep step;
        step.index = int(i);
        step.type = stringIn(object, "type").value_or(QStringLiteral("step"));
        step.name = stringIn(object, "name");
        if (step.type == u"browse")
            step.detail = stringIn(object, "url");
        else if (step.type == u"tool")
            step.detail
                = stringIn(object, "service_slug") ? stringIn(object, "service_slug") : stringIn(object, "tool_id");
        else
            step.detail = stringIn(object, "prompt");
        steps.append(step);
    }
    return steps;
}

} // namespace halvex
