#include "workers/model/WorkerReviewSnapshot.h"

namespace halvex {

namespace {

QString text(const JSONValue& v)
{
    if (v.isString())
        return v.toString().trimmed();
    if (v.isNumber())
        return QString::number(v.toNumber());
    return {};
}

QStringList texts(const JSONValue& v)
{
    QStringList out;
    if (v.isString() && !v.toString().trimmed().isEmpty())
        out << v.toString().trimmed();
    for (const JSONValue& item : v.toArray())
        if (const QString t = text(item); !t.isEmpty())
            out << t;
    return out;
}

// "quality_bar" -> "Quality bar"
QString humanised(QString key)
{
    key.replace(QLatin1Char('_'), QLatin1Char(' '));
    if (!key.isEmpty())
        key[0] = key[0].toUpper();
    return key;
}

void readRun(WorkerReviewSnapshot& s, const JSONValue& trigger)
{
    const QString type = trigger["type"] ? text(*trigger["type"]) : QString();
    if (type == u"schedule") {
        s.runMode = QStringLiteral("On a schedule");
        const auto minutes = trigger["intervalMinutes"] ? trigger["intervalMinutes"]->numberValue() : std::nullopt;
        if (minutes && *minutes > 0) {
            const qint64 m = qint64(*minutes);
            const auto every = [](qint64 n, const char* unit) {
                return n == 1 ? QStringLiteral("Every ") + QString::fromLatin1(unit)
                              : QStringLiteral("Every %1 %2s").arg(n).arg(QString::fromLatin1(unit));
            };
            s.runDetail = m % 10080 == 0 ? every(m / 10080, "week")
                : m % 1440 == 0          ? every(m / 1440, "day")
                : m % 60 == 0            ? every(m / 60, "hour")
                                         : every(m, "minute");
        }
    } else if (type == u"event" || type == u"webhook") {
        s.runMode = type == u"event" ? QStringLiteral("When an event arrives") : QStringLiteral("When a webhook calls");
    } else {
        s.runMode = QStringLiteral("When you run it");
    }
}

} // namespace

WorkerReviewSnapshot WorkerReviewSnapshot::of(const JSONObject& raw, int stepCount)
{
    auto at = [&](const char* key) { return raw.value(QString::fromUtf8(key)); };
    WorkerReviewSnapshot s;
    s.role = text(at("role"));
    s.description = text(at("description"));
    s.systemPrompt = text(at("system_prompt"));
    s.responseLanguage = text(at("response_language"));
    s.knowledgeBase = text(at("knowledge_base"));
    s.knowledgeSources = texts(at("knowledge_urls"));
    s.constraints = texts(at("constraints"));
    s.tools = texts(at("tools"));
    s.stepCount = stepCount;
    readRun(s, at("trigger"));
    const JSONValue profile = at("work_profile");
    for (auto it = profile.toObject().cbegin(); it != profile.toObject().cend(); ++it) {
        const QStringList items = it.value().isObject() ? QStringList() : texts(it.value());
        if (it.key() == u"outputs")
            s.outcome = items.join(QStringLiteral(", "));
        else if (it.key() == u"audience")
            s.audience = items.join(QStringLiteral(", "));
        if (!items.isEmpty())
            s.profileSections.append({it.key(), humanised(it.key()), items});
    }
    int n = 0;
    for (const JSONValue& skill : at("skills").toArray()) {
        Skill k{QString::number(++n), skill["name"] ? text(*skill["name"]) : QString(),
                skill["description"] ? text(*skill["description"]) : QString(),
                skill["content"] ? text(*skill["content"]) : QString()};
        if (!k.name.isEmpty())
            s.skills.append(k);
    }
    for (const JSONValue& step : at("playbook").toArray()) {
        const QString tool = step["tool_id"] ? text(*step["tool_id"]) : QString();
        if (!tool.isEmpty())
            s.services.append({tool, humanised(tool), step["name"] ? text(*step["name"]) : QString()});
    }
    return s;
}

QList<WorkerReviewSection> reviewSections(const WorkerReviewSnapshot& s)
{
    QStringList rules;
    for (const QString& c : s.constraints)
        rules << QStringLiteral("Rule: ") + c;
    for (const QString& t : s.tools)
        rules << QStringLiteral("Tool: ") + t;
    for (const WorkerReviewSnapshot::Service& service : s.services)
        rules << QStringLiteral("Connection: ") + service.name
                + (service.detail.isEmpty() ? QString() : QStringLiteral(" — ") + service.detail);
    QStringList knowledge;
    if (!s.knowledgeBase.isEmpty())
        knowledge << s.knowledgeBase;
    knowledge << s.knowledgeSources;
    QStringList skills;
    for (const WorkerReviewSnapshot::Skill& k : s.skills)
        skills << k.name + (k.description.isEmpty() ? QString() : QStringLiteral(" — ") + k.description);
    QStringList contract;
    for (const WorkerReviewSnapshot::Section& section : s.profileSections)
        contract << section.title + QStringLiteral(": ") + section.items.join(QStringLiteral(", "));
    return {
        {QStringLiteral("Core instructions"), QStringLiteral("The system-level behavior saved with this worker"),
         s.systemPrompt.isEmpty() ? QStringList() : QStringList{s.systemPrompt},
         QStringLiteral("No system instructions were generated.")},
        {QStringLiteral("Rules, tools and connections"),
         QStringLiteral("Safety boundaries and the capabilities used by the pipeline"), rules,
         QStringLiteral("No additional hard rules were generated.")},
        {QStringLiteral("Knowledge and sources"),
         QStringLiteral("The exact context and references available to the worker"), knowledge,
         QStringLiteral("No knowledge base or reference sources were generated.")},
        {QStringLiteral("Procedural skills"), QStringLiteral("Named procedures the worker will load and follow"),
         skills, QStringLiteral("No procedural skills were generated.")},
        {QStringLiteral("Operating contract"), QStringLiteral("Outcome, scope, quality, approvals and handoffs"),
         contract, QStringLiteral("No operating contract was generated.")},
    };
}

} // namespace halvex
