#include "projects/model/ProjectIntakeRecords.h"

#include "core/json/JsonWrite.h"

namespace halvex {

ProjectIntakeSource ProjectIntakeSource::decode(const JsonReader& json)
{
    ProjectIntakeSource s;
    s.status = json.required<QString>("status");
    s.canonicalURL = json.required<QString>("canonical_url");
    s.title = json.required<QString>("title");
    s.pages = json.required<QStringList>("pages");
    s.facts = json.required<QStringList>("facts");
    s.digest = json.required<QString>("digest");
    s.warning = json.required<QString>("warning");
    s.token = json.optional<QString>("token");
    return s;
}

JSONObject ProjectIntakeSource::payload() const
{
    JSONObject o{{QStringLiteral("status"), status},       {QStringLiteral("canonical_url"), canonicalURL},
                 {QStringLiteral("title"), title},         {QStringLiteral("pages"), toJSON(pages)},
                 {QStringLiteral("facts"), toJSON(facts)}, {QStringLiteral("digest"), digest},
                 {QStringLiteral("warning"), warning}};
    insertIfPresent(o, "token", token);
    return o;
}

ProjectIntakeQuestion ProjectIntakeQuestion::decode(const JsonReader& json)
{
    return {json.required<QString>("key"), json.required<QString>("question"), json.required<QStringList>("options"),
            json.optional<QString>("hint")};
}

JSONObject ProjectIntakeQuestion::encode() const
{
    JSONObject o{{QStringLiteral("key"), key},
                 {QStringLiteral("question"), question},
                 {QStringLiteral("options"), toJSON(options)}};
    insertIfPresent(o, "hint", hint);
    return o;
}

JSONObject ProjectIntakeAnswer::encode() const
{
    return {{QStringLiteral("key"), key}, {QStringLiteral("answer"), answer}};
}

ProjectIntakeQuestionsResponse ProjectIntakeQuestionsResponse::decode(const JsonReader& json)
{
    return {json.required<bool>("ok"), json.required<QString>("language"), json.required<ProjectIntakeSource>("source"),
            json.required<QList<ProjectIntakeQuestion>>("questions")};
}

ProjectIntakeOverviewDTO ProjectIntakeOverviewDTO::decode(const JsonReader& json)
{
    return {json.required<QString>("description"), json.required<QString>("product_audience"),
            json.required<QString>("desired_result"), json.required<QString>("competitors"),
            json.required<QString>("constraints")};
}

ProjectIntakeOverviewResponse ProjectIntakeOverviewResponse::decode(const JsonReader& json)
{
    return {json.required<bool>("ok"), json.required<QString>("language"),
            json.required<ProjectIntakeOverviewDTO>("overview"), json.required<QStringList>("needs_input"),
            json.optional<ProjectIntakeSource>("source")};
}

const QStringList& ProjectOverview::fieldKeys()
{
    static const QStringList keys{QStringLiteral("description"), QStringLiteral("product_audience"),
                                  QStringLiteral("desired_result"), QStringLiteral("competitors"),
                                  QStringLiteral("constraints")};
    return keys;
}

ProjectOverview ProjectOverview::from(const ProjectIntakeOverviewDTO& dto)
{
    return {dto.description, dto.productAudience, dto.desiredResult, dto.competitors, dto.constraints};
}

QString ProjectOverview::field(const QString& key) const
{
    if (key == u"description")
        return description;
    if (key == u"product_audience")
        return productAudience;
    if (key == u"desired_result")
        return desiredResult;
    if (key == u"competitors")
        return competitors;
    if (key == u"constraints")
        return constraints;
    return {};
}

void ProjectOverview::setField(const QString& key, const QString& value)
{
    if (key == u"description")
        description = value;
    else if (key == u"product_audience")
        productAudience = value;
    else if (key == u"desired_result")
        desiredResult = value;
    else if (key == u"competitors")
        competitors = value;
    else if (key == u"constraints")
        constraints = value;
}

JSONObject ProjectOverview::wire() const
{
    JSONObject o;
    for (const QString& key : fieldKeys())
        o.insert(key, field(key));
    return o;
}

JSONObject ProjectOverview::encode() const
{
    return {{QStringLiteral("description"), description},
            {QStringLiteral("productAudience"), productAudience},
            {QStringLiteral("desiredResult"), desiredResult},
            {QStringLiteral("competitors"), competitors},
            {QStringLiteral("constraints"), constraints}};
}

ProjectOverview ProjectOverview::decode(const JsonReader& json)
{
    return {json.required<QString>("description"), json.required<QString>("productAudience"),
            json.required<QString>("desiredResult"), json.required<QString>("competitors"),
            json.required<QString>("constraints")};
}

} // namespace halvex
