#include "workers/model/WorkerPayload.h"

namespace halvex {

namespace WorkerPayload {

namespace {

JSONValue field(const JSONObject& o, const char* key) { return o.value(QString::fromUtf8(key)); }

QString text(const JSONValue& v, const char* key)
{
    const auto member = v[key];
    return member ? member->stringValue().value_or(QString()) : QString();
}

// A connector request is named after what it reaches: "nango:gmail.send".
QString connectorToolName(const JSONValue& args)
{
    const QString connector = text(args, "connector").trimmed();
    if (connector.isEmpty())
        return QStringLiteral("nango_request");
    const QString operation = text(args, "operation").trimmed();
    return QStringLiteral("nango:") + connector + (operation.isEmpty() ? QString() : QStringLiteral(".") + operation);
}

const JSONObject& objectOr(const JSONValue& v)
{
    static const JSONObject empty;
    return v.isObject() ? v.toObject() : empty;
}

} // namespace

JSONArray playbook(const QList<WorkerStepDraft>& steps)
{
    JSONArray out;
    for (const WorkerStepDraft& s : steps)
        out.append(s.toJSON());
    return out;
}

JSONArray agentTools(const JSONArray& playbook)
{
    JSONArray out;
    QStringList seen;
    for (const JSONValue& step : playbook) {
        if (text(step, "type") != u"tool")
            continue;
        const QString id = text(step, "tool_id").trimmed();
        if (id.isEmpty())
            continue;
        const auto args = step["args"];
        const QString name = id == u"nango_request" ? connectorToolName(args.value_or(JSONValue())) : id;
        if (seen.contains(name))
            continue;
        seen << name;
        out.append(name);
    }
    return out;
}

QString triggerType(const JSONObject& rawDraft)
{
    const JSONValue trigger = field(rawDraft, "trigger");
    QString type = text(trigger, "type");
    if (type.isEmpty())
        type = field(rawDraft, "trigger_type").stringValue().value_or(QString());
    return type.isEmpty() ? QStringLiteral("manual") : type;
}

JSONObject build(const JSONObject& raw, const QString& name, const JSONArray& playbook, const QString& status)
{
    JSONObject out{{QStringLiteral("name"), name.trimmed()},
                   {QStringLiteral("agent_type"), QStringLiteral("worker")},
                   {QStringLiteral("status"), status},
                   {QStringLiteral("playbook"), playbook},
                   {QStringLiteral("tools"), agentTools(playbook)},
                   {QStringLiteral("behavior_style"), QStringLiteral("professional")},
                   {QStringLiteral("autonomy_level"), QStringLiteral("supervised")}};
    for (const char* key : {"role", "description", "system_prompt", "knowledge_base"})
        out.insert(QString::fromUtf8(key), field(raw, key).stringValue().value_or(QString()));
    for (const char* key : {"knowledge_urls", "constraints", "skills"})
        out.insert(QString::fromUtf8(key), field(raw, key).isArray() ? field(raw, key) : JSONValue(JSONArray()));
    out.insert(QStringLiteral("work_profile"), objectOr(field(raw, "work_profile")));
    const QString type = triggerType(raw);
    JSONObject trigger{{QStringLiteral("type"), type}};
    if (type == u"schedule") {
        const JSONValue t = field(raw, "trigger");
        const auto minutes = t["intervalMinutes"] ? t["intervalMinutes"]->numberValue() : std::nullopt;
        trigger.insert(QStringLiteral("intervalMinutes"), minutes.value_or(1440));
    }
    out.insert(QStringLiteral("trigger_type"), type);
    out.insert(QStringLiteral("trigger"), trigger);
    return out;
}

QString scopedInstruction(const QString& instruction, std::optional<int> stepIndex)
{
    if (!stepIndex)
        return instruction;
    const QString number = QString::number(*stepIndex + 1);
    return QStringLiteral("Change only pipeline step ") + number + QStringLiteral(" as follows.\n") + instruction
        + QStringLiteral("\nKeep every other pipeline step, their order, the trigger, and the worker's creation "
                         "contract unchanged.");
}

JSONObject draftToRevise(const JSONObject& rawDraft, const QString& name, const JSONArray& playbook)
{
    JSONObject draft = rawDraft;
    draft.insert(QStringLiteral("name"), name);
    draft.insert(QStringLiteral("playbook"), playbook);
    draft.insert(QStringLiteral("system_prompt"), field(rawDraft, "system_prompt").stringValue().value_or(QString()));
    draft.insert(QStringLiteral("trigger"),
                 field(rawDraft, "trigger").isObject()
                     ? field(rawDraft, "trigger")
                     : JSONValue(JSONObject{{QStringLiteral("type"), triggerType(rawDraft)}}));
    draft.insert(QStringLiteral("knowledge_base"), field(rawDraft, "knowledge_base").stringValue().value_or(QString()));
    draft.insert(QStringLiteral("knowledge_urls"),
                 field(rawDraft, "knowledge_urls").isArray() ? field(rawDraft, "knowledge_urls")
                                                             : JSONValue(JSONArray()));
    return draft;
}

JSONObject withNormalizedTrigger(JSONObject draft)
{
    const JSONValue t = field(draft, "trigger");
    auto pick = [&](const char* a, const char* b) -> JSONValue {
        if (const auto v = t[a]; v && !v->isNull())
            return *v;
        if (const auto v = t[b]; v && !v->isNull())
            return *v;
        return JSONValue();
    };
    const QString type = pick("type", "trigger_type").stringValue().value_or(QString());
    static const QStringList known{QStringLiteral("schedule"), QStringLiteral("manual"), QStringLiteral("event"),
                                   QStringLiteral("webhook")};
    if (!known.contains(type)) {
        draft.remove(QStringLiteral("trigger"));
        return draft;
    }
    JSONObject trigger{{QStringLiteral("type"), type}};
    if (const JSONValue v = pick("intervalMinutes", "interval_minutes"); v.isNumber())
        trigger.insert(QStringLiteral("intervalMinutes"), v);
    if (const JSONValue v = pick("eventKey", "event_key"); v.isString())
        trigger.insert(QStringLiteral("eventKey"), v);
    if (const JSONValue v = pick("eventFilter", "event_filter"); !v.isNull())
        trigger.insert(QStringLiteral("eventFilter"), v);
    draft.insert(QStringLiteral("trigger"), trigger);
    return draft;
}

} // namespace WorkerPayload

} // namespace halvex
