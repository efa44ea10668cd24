#include "core/json/JSONValue.h"

#include "core/APIError.h"
#include "core/json/JsonParse.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace halvex {

JSONValue::JSONValue(JSONObject object) : m_value(std::make_shared<const JSONObject>(std::move(object))) {}
JSONValue::JSONValue(JSONArray array) : m_value(std::make_shared<const JSONArray>(std::move(array))) {}

JSONValue::Kind JSONValue::kind() const
{
    switch (m_value.index()) {
    case 1:
        return Kind::string;
    case 2:
        return Kind::number;
    case 3:
        return Kind::boolean;
    case 4:
        return Kind::object;
    case 5:
        return Kind::array;
    default:
        return Kind::null;
    }
}

QString JSONValue::toString() const { return stringValue().value_or(QString()); }
double JSONValue::toNumber() const { return numberValue().value_or(0.0); }
bool JSONValue::toBool() const { return boolValue().value_or(false); }

const JSONObject& JSONValue::toObject() const
{
    static const JSONObject empty;
    if (auto p = std::get_if<std::shared_ptr<const JSONObject>>(&m_value))
        return **p;
    return empty;
}

const JSONArray& JSONValue::toArray() const
{
    static const JSONArray empty;
    if (auto p = std::get_if<std::shared_ptr<const JSONArray>>(&m_value))
        return **p;
    return empty;
}

std::optional<QString> JSONValue::stringValue() const
{
    if (auto p = std::get_if<QString>(&m_value))
        return *p;
    return std::nullopt;
}

std::optional<double> JSONValue::numberValue() const
{
    if (auto p = std::get_if<double>(&m_value))
        return *p;
    return std::nullopt;
}

std::optional<bool> JSONValue::boolValue() const
{
    if (auto p = std::get_if<bool>(&m_value))
        return *p;
    return std::nullopt;
}

std::optional<JSONValue> JSONValue::operator[](const QString& key) const
{
    if (!isObject())
        return std::nullopt;
    const auto& object = toObject();
    const auto it = object.constFind(key);
    if (it == object.cend())
        return std::nullopt;
    return *it;
}

bool JSONValue::operator==(const JSONValue& other) const
{
    if (kind() != other.kind())
        return false;
    switch (kind()) {
    case Kind::null:
        return true;
    case Kind::string:
        return toString() == other.toString();
    case Kind::number:
        return toNumber() == other.toNumber();
    case Kind::boolean:
        return toBool() == other.toBool();
    case Kind::object:
        return toObject() == other.toObject();
    case Kind::array:
        return toArray() == other.toArray();
    }
    return false;
}

QJsonValue JSONValue::toQJsonValue() const
{
    switch (kind()) {
    case Kind::null:
        return QJsonValue(QJsonValue::Null);
    case Kind::string:
        return toString();
    case Kind::number:
        return toNumber();
    case Kind::boolean:
        return toBool();
    case Kind::object: {
        QJsonObject o;
        for (auto it = toObject().cbegin(); it != toObject().cend(); ++it)
            o.insert(it.key(), it.value().toQJsonValue());
        return o;
    }
    case Kind::array: {
        QJsonArray a;
        for (const auto& v : toArray())
            a.append(v.toQJsonValue());
        return a;
    }
    }
    return {};
}

JSONValue JSONValue::fromQJsonValue(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return JSONValue(value.toBool());
    case QJsonValue::Double:
        return JSONValue(value.toDouble());
    case QJsonValue::String:
        return JSONValue(value.toString());
    case QJsonValue::Object: {
        JSONObject o;
        const auto obj = value.toObject();
        for (auto it = obj.begin(); it != obj.end(); ++it)
            o.insert(it.key(), fromQJsonValue(it.value()));
        return JSONValue(std::move(o));
    }
    case QJsonValue::Array: {
        JSONArray a;
        const auto arr = value.toArray();
        a.reserve(arr.size());
        for (const auto& v : arr)
            a.append(fromQJsonValue(v));
        return JSONValue(std::move(a));
    }
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return JSONValue();
}

JSONValue JSONValue::parse(const QByteArray& json) { return fromQJsonValue(parseJsonDocument(json)); }

QByteArray JSONValue::toJson() const
{
    const auto v = toQJsonValue();
    if (v.isObject())
        return QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact);
    if (v.isArray())
        return QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact);
    // A scalar: wrap it in an array and strip the brackets, so Qt's number writing is reused.
    QByteArray text = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return text.mid(1, text.size() - 2);
}

QByteArray encodeJSONObject(const JSONObject& object) { return JSONValue(object).toJson(); }

} // namespace halvex
