#include "chat/viewmodel/presentation/WebStepDetails.h"

#include "chat/viewmodel/presentation/MetadataLinks.h"

#include <QStringList>

#include <vector>

namespace halvex {

namespace {

// Where a web step keeps its details, most specific first.
std::vector<const JSONObject*> detailObjects(const JSONObject& raw)
{
    std::vector<const JSONObject*> out;
    static const QStringList keys{QStringLiteral("args"), QStringLiteral("input"), QStringLiteral("params"),
                                  QStringLiteral("result"), QStringLiteral("browser_view")};
    for (const QString& key : keys) {
        const auto it = raw.constFind(key);
        if (it != raw.cend() && it->isObject())
            out.push_back(&it->toObject());
    }
    if (const auto steps = raw.constFind(QStringLiteral("steps")); steps != raw.cend() && steps->isArray()) {
        for (const JSONValue& step : steps->toArray()) {
            if (step.isObject())
                out.push_back(&step.toObject());
        }
    }
    out.push_back(&raw);
    return out;
}

} // namespace

WebStepDetails WebStepDetails::of(const ChatMessage& message)
{
    static const QStringList queryKeys{QStringLiteral("query"), QStringLiteral("q"), QStringLiteral("search_query"),
                                       QStringLiteral("search_term")};
    static const QStringList titleKeys{QStringLiteral("page_title"), QStringLiteral("title")};
    WebStepDetails d;
    for (const JSONObject* object : detailObjects(message.metadata.raw)) {
        if (!d.query)
            d.query = MetadataLinks::firstString(*object, queryKeys);
        if (!d.url)
            d.url = MetadataLinks::firstSafeURL(*object);
        if (!d.page)
            d.page = MetadataLinks::firstString(*object, titleKeys);
        if (d.query && d.url && d.page)
            break;
    }
    if (d.query)
        d.query = d.query->simplified();
    if (d.page)
        d.page = d.page->simplified();
    if (d.url) {
        const QString host = MetadataLinks::prettyURLLabel(*d.url);
        if (!host.isEmpty())
            d.host = host;
    }
    if (!d.page)
        d.page = d.host;
    return d;
}

} // namespace halvex
