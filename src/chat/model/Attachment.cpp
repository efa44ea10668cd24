#include "chat/model/Attachment.h"

#include "core/json/JsonWrite.h"

namespace halvex {

Attachment Attachment::decode(const JsonReader& json)
{
    Attachment a;
    a.name = json.required<QString>("name");
    a.size = json.required<qint64>("size");
    a.mime = json.required<QString>("mime");
    a.text = json.optional<QString>("text");
    a.url = json.optional<QString>("url");
    a.key = json.optional<QString>("key");
    a.kind = json.optional<QString>("kind");
    a.ok = json.optional<bool>("ok");
    a.error = json.optional<QString>("error");
    return a;
}

JSONObject Attachment::encode() const
{
    JSONObject o = chatPayload();
    insertIfPresent(o, "key", key);
    insertIfPresent(o, "ok", ok);
    insertIfPresent(o, "error", error);
    return o;
}

JSONObject Attachment::chatPayload() const
{
    JSONObject o;
    o.insert(QStringLiteral("name"), name);
    o.insert(QStringLiteral("size"), JSONValue(size));
    o.insert(QStringLiteral("mime"), mime);
    insertIfPresent(o, "text", text);
    insertIfPresent(o, "url", url);
    insertIfPresent(o, "kind", kind);
    return o;
}

FilesUploadResponse FilesUploadResponse::decode(const JsonReader& json)
{
    return FilesUploadResponse{json.required<QList<Attachment>>("files")};
}

} // namespace halvex
