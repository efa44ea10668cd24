#include "workers/model/WorkerStepDraft.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace halvex {

namespace {

QString text(const JSONValue& json, const char* key)
{
    const auto v = json[key];
    return v ? v->stringValue().value_or(QString()) : QString();
}

} // namespace

WorkerBuilderError WorkerBuilderError::badArgs(const QString& stepName)
{
    return WorkerBuilderError(QStringLiteral("“") + stepName + QStringLiteral("”: args must be a JSON object."));
}

QString WorkerStepDraft::defaultName(const QString& type)
{
    if (type == u"browse")
        return QStringLiteral("Collect source");
    if (type == u"tool")
        return QStringLiteral("Deliver result");
    return QStringLiteral("Reason over results");
}

WorkerStepDraft WorkerStepDraft::from(const JSONValue& json)
{
    WorkerStepDraft s;
    const QString type = text(json, "type");
    s.type = type.isEmpty() ? QStringLiteral("llm") : type == u"source" ? QStringLiteral("browse") : type;
    s.name = text(json, "name");
    s.prompt = text(json, "prompt");
    s.url = text(json, "url");
    s.instructions = text(json, "instructions");
    s.toolId = text(json, "tool_id");
    const auto args = json["args"];
    s.argsJSON = args && !args->isNull() ? QString::fromUtf8(args->toJson()) : QStringLiteral("{}");
    return s;
}

JSONObject WorkerStepDraft::toJSON() const
{
    const QString trimmedName = name.trimmed();
    JSONObject out{{QStringLiteral("type"), type},
                   {QStringLiteral("name"), trimmedName.isEmpty() ? defaultName(type) : trimmedName}};
    if (type == u"llm") {
        out.insert(QStringLiteral("prompt"), prompt);
    } else if (type == u"browse") {
        out.insert(QStringLiteral("url"), url.trimmed());
        out.insert(QStringLiteral("instructions"), instructions);
    } else if (type == u"tool") {
        const QString argsText = argsJSON.trimmed().isEmpty() ? QStringLiteral("{}") : argsJSON;
        const QJsonDocument doc = QJsonDocument::fromJson(argsText.toUtf8());
        if (!doc.isObject())
            throw WorkerBuilderError::badArgs(out.value(QStringLiteral("name")).toString());
        out.insert(QStringLiteral("tool_id"), toolId.trimmed());
        out.insert(QStringLiteral("args"), JSONValue::fromQJsonValue(doc.object()));
    }
    return out;
}

bool WorkerStepDraft::sameContent(const WorkerStepDraft& o) const
{
    return type == o.type && name == o.name && prompt == o.prompt && url == o.url && instructions == o.instructions
        && toolId == o.toolId && argsJSON == o.argsJSON;
}

QList<WorkerStepDraft> stepsOf(const JSONObject& draft)
{
    QList<WorkerStepDraft> out;
    const JSONValue playbook = draft.value(QStringLiteral("playbook"));
    for (const JSONValue& step : playbook.toArray())
        if (step.isObject())
            out.append(WorkerStepDraft::from(step));
    return out;
}

} // namespace halvex
