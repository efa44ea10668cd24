#include "agents/model/PlaybookStep.h"
#include "core/format/Characters.h"

#include "core/json/JsonWrite.h"

namespace halvex {

namespace {

// Cuts at user-visible characters so that an emoji or accented letter is never split.
QString shortenedPrompt(const QString& prompt)
{
    if (characterCount(prompt) <= PlaybookStep::promptDisplayLimit)
        return prompt;
    return leftCharacters(prompt, PlaybookStep::promptDisplayLimit) + QChar(0x2026);
}

std::optional<QString> nonEmpty(const JsonReader& json, const char* key)
{
    auto value = json.lenient<QString>(key);
    if (value && value->isEmpty())
        return std::nullopt;
    return value;
}

} // namespace

PlaybookStep PlaybookStep::fromJSON(const QJsonValue& value, const QString& path)
{
    PlaybookStep step;
    if (value.isString()) {
        const QString text = value.toString();
        if (!text.isEmpty())
            step.name = text;
        return step;
    }
    if (!value.isObject())
        json_detail::typeMismatch(path, "a string or an object", value);
    const JsonReader json(value.toObject(), path);
    if (auto name = nonEmpty(json, "name"))
        step.name = name;
    else if (auto title = nonEmpty(json, "title"))
        step.name = title;
    else if (auto prompt = nonEmpty(json, "prompt"))
        step.name = shortenedPrompt(*prompt);
    else if (auto type = nonEmpty(json, "type"))
        step.name = type;
    return step;
}

JSONObject PlaybookStep::encode() const
{
    JSONObject o;
    insertIfPresent(o, "name", name);
    return o;
}

} // namespace halvex
