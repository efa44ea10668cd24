#include "governance/model/PermissionGroups.h"

namespace halvex {

const QList<PermissionGroup>& PermissionGroup::catalog()
{
    static const QList<PermissionGroup> groups{
        {QStringLiteral("email"),
         QStringLiteral("envelope"),
         QStringLiteral("Send email"),
         QStringLiteral("outreach, replies and follow-ups it sends itself"),
         {QStringLiteral("send-email")}},
        {QStringLiteral("calls"),
         QStringLiteral("phone"),
         QStringLiteral("Make phone calls"),
         QStringLiteral("outbound calls it places over Twilio"),
         {QStringLiteral("call-phone")}},
        {QStringLiteral("media"),
         QStringLiteral("paintbrush"),
         QStringLiteral("Generate images & video"),
         QStringLiteral("visual deliverables it produces"),
         {QStringLiteral("generate-image"), QStringLiteral("edit-image"), QStringLiteral("generate-video")}},
        {QStringLiteral("research"),
         QStringLiteral("books.vertical"),
         QStringLiteral("Run deep research"),
         QStringLiteral("long multi-source research runs"),
         {QStringLiteral("deep-research")}},
        {QStringLiteral("code"),
         QStringLiteral("gearshape.2"),
         QStringLiteral("Execute code"),
         QStringLiteral("sandboxed scripts it writes and runs"),
         {QStringLiteral("code-exec")}},
    };
    return groups;
}

PermissionGroup::Meta PermissionGroup::meta(const QString& toolId)
{
    static const QMap<QString, Meta> table{
        {QStringLiteral("send-email"), {QStringLiteral("Email"), QStringLiteral("communication")}},
        {QStringLiteral("call-phone"), {QStringLiteral("Phone"), QStringLiteral("communication")}},
        {QStringLiteral("generate-image"), {QStringLiteral("Generate Image"), QStringLiteral("media")}},
        {QStringLiteral("edit-image"), {QStringLiteral("Edit Image"), QStringLiteral("media")}},
        {QStringLiteral("generate-video"), {QStringLiteral("Generate Video"), QStringLiteral("media")}},
        {QStringLiteral("deep-research"), {QStringLiteral("Deep Research"), QStringLiteral("browse")}},
        {QStringLiteral("code-exec"), {QStringLiteral("Code Exec"), QStringLiteral("data")}},
    };
    return table.value(toolId, Meta{toolId, QStringLiteral("general")});
}

bool PermissionGroup::isOn(const QStringList& toolIds) const
{
    return std::any_of(tools.cbegin(), tools.cend(), [&](const QString& t) { return toolIds.contains(t); });
}

JSONArray PermissionGroup::toggled(const JSONArray& current, bool wasOn) const
{
    JSONArray out;
    for (const JSONValue& item : current)
        if (!tools.contains(toolIdOf(item)))
            out.append(item);
    if (!wasOn)
        for (const QString& id : tools) {
            const Meta m = meta(id);
            out.append(JSONObject{{QStringLiteral("id"), id},
                                  {QStringLiteral("name"), m.name},
                                  {QStringLiteral("category"), m.category}});
        }
    return out;
}

QString toolIdOf(const JSONValue& item)
{
    if (item.isString())
        return item.toString();
    const auto id = item["id"];
    return id && id->isString() ? id->toString() : QString();
}

QStringList toolIdsOf(const JSONObject& detail)
{
    const JSONValue runtime = detail.value(QStringLiteral("runtime_tool_ids"));
    const JSONValue list = runtime.isArray() ? runtime : detail.value(QStringLiteral("tools"));
    QStringList out;
    for (const JSONValue& item : list.toArray())
        if (const QString id = toolIdOf(item); !id.isEmpty())
            out << id;
    return out;
}

} // namespace halvex
