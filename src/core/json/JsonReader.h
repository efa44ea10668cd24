#pragma once
// Decoding records from JSON with exactly the keys each record names.
//
// A record declares `static T decode(const JsonReader& json)` and reads like its table:
//
//     static Agent decode(const JsonReader& json) {
//         Agent a;
//         a.id = json.required<QString>("id");
//         a.role = json.optional<QString>("role");          // absent or null -> nullopt
//         a.tags = json.optional<QStringList>("tags").value_or(QStringList{});
//         a.owner = json.required<User>("owner");           // nested record
//         return a;
//     }
//
// A missing required key, or any key of the wrong type, throws APIError::decoding whose text
// names the key path ("agents[3].name"). `lenient` reads a key that falls back to nullopt
// instead of failing when its type is wrong. Unknown keys are ignored.
#include "core/APIError.h"
#include "core/json/JSONValue.h"
#include "core/json/JsonParse.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QStringList> // QStringList is QList<QString>: the list codec covers it

#include <cmath>
#include <limits>
#include <optional>
#include <type_traits>
#include <vector>

namespace halvex {

class JsonReader;

namespace json_detail {
[[noreturn]] void typeMismatch(const QString& path, const char* expected, const QJsonValue& found);
[[noreturn]] void keyNotFound(const QString& path, const QString& key);
QString childPath(const QString& path, const QString& key);
QString indexPath(const QString& path, qsizetype index);
} // namespace json_detail

// How a value of type T is read from one JSON value; specialised below and for every record.
template <typename T, typename = void>
struct JsonCodec {
    static T decode(const QJsonValue& value, const QString& path);
};

class JsonReader {
public:
    JsonReader(QJsonObject object, QString path) : m_object(std::move(object)), m_path(std::move(path)) {}

    const QJsonObject& object() const { return m_object; }
    const QString& path() const { return m_path; }
    bool has(const char* key) const { return contains(key); }
    // True when the key is present and not null.
    bool hasValue(const char* key) const
    {
        const auto v = m_object.value(QLatin1String(key));
        return !v.isUndefined() && !v.isNull();
    }

    template <typename T>
    T required(const char* key) const
    {
        const QString k = QLatin1String(key);
        const auto v = m_object.value(k);
        if (v.isUndefined())
            json_detail::keyNotFound(m_path, k);
        return JsonCodec<T>::decode(v, json_detail::childPath(m_path, k));
    }

    template <typename T>
    std::optional<T> optional(const char* key) const
    {
        const QString k = QLatin1String(key);
        const auto v = m_object.value(k);
        if (v.isUndefined() || v.isNull())
            return std::nullopt;
        return JsonCodec<T>::decode(v, json_detail::childPath(m_path, k));
    }

    // Absent, null or of the wrong type: nullopt. Never throws.
    template <typename T>
    std::optional<T> lenient(const char* key) const
    {
        try {
            return optional<T>(key);
        } catch (const APIError&) {
            return std::nullopt;
        }
    }

    // The raw value of a key as JSONValue (absent keys give nullopt; null gives JSONValue()).
    std::optional<JSONValue> raw(const char* key) const;

private:
    bool contains(const char* key) const { return m_object.contains(QLatin1String(key)); }
    QJsonObject m_object;
    QString m_path;
};

// Records: anything with a static `decode(const JsonReader&)`.
template <typename T>
struct JsonCodec<T, std::void_t<decltype(T::decode(std::declval<const JsonReader&>()))>> {
    static T decode(const QJsonValue& value, const QString& path)
    {
        if (!value.isObject())
            json_detail::typeMismatch(path, "an object", value);
        return T::decode(JsonReader(value.toObject(), path));
    }
};

template <>
struct JsonCodec<QString> {
    static QString decode(const QJsonValue& value, const QString& path)
    {
        if (!value.isString())
            json_detail::typeMismatch(path, "a string", value);
        return value.toString();
    }
};

template <>
struct JsonCodec<bool> {
    static bool decode(const QJsonValue& value, const QString& path)
    {
        if (!value.isBool())
            json_detail::typeMismatch(path, "a boolean", value);
        return value.toBool();
    }
};

template <>
struct JsonCodec<double> {
    static double decode(const QJsonValue& value, const QString& path)
    {
        if (!value.isDouble())
            json_detail::typeMismatch(path, "a number", value);
        return value.toDouble();
    }
};

// Whole numbers: a JSON number with no fraction that fits the type.
template <typename T>
struct JsonCodec<T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>> {
    static T decode(const QJsonValue& value, const QString& path)
    {
        const double d = value.toDouble();
        if (!value.isDouble() || std::trunc(d) != d || d < double(std::numeric_limits<T>::min())
            || d > double(std::numeric_limits<T>::max()))
            json_detail::typeMismatch(path, "a whole number", value);
        return static_cast<T>(d);
    }
};

template <>
struct JsonCodec<JSONValue> {
    static JSONValue decode(const QJsonValue& value, const QString&) { return JSONValue::fromQJsonValue(value); }
};

template <>
struct JsonCodec<JSONObject> {
    static JSONObject decode(const QJsonValue& value, const QString& path)
    {
        if (!value.isObject())
            json_detail::typeMismatch(path, "an object", value);
        return JSONValue::fromQJsonValue(value).toObject();
    }
};

template <typename E>
struct JsonCodec<QList<E>> {
    static QList<E> decode(const QJsonValue& value, const QString& path)
    {
        if (!value.isArray())
            json_detail::typeMismatch(path, "an array", value);
        const QJsonArray array = value.toArray();
        QList<E> out;
        out.reserve(array.size());
        for (qsizetype i = 0; i < array.size(); ++i)
            out.append(JsonCodec<E>::decode(array.at(i), json_detail::indexPath(path, i)));
        return out;
    }
};

// Objects read as maps keyed by member name (JSONObject has its own codec above).
template <typename E>
struct JsonCodec<QMap<QString, E>> {
    static QMap<QString, E> decode(const QJsonValue& value, const QString& path)
    {
        if (!value.isObject())
            json_detail::typeMismatch(path, "an object", value);
        const QJsonObject object = value.toObject();
        QMap<QString, E> out;
        for (auto it = object.begin(); it != object.end(); ++it)
            out.insert(it.key(), JsonCodec<E>::decode(it.value(), json_detail::childPath(path, it.key())));
        return out;
    }
};

template <typename E>
struct JsonCodec<std::vector<E>> {
    static std::vector<E> decode(const QJsonValue& value, const QString& path)
    {
        const auto list = JsonCodec<QList<E>>::decode(value, path);
        return std::vector<E>(list.begin(), list.end());
    }
};

// Decodes a whole body into T; every failure is APIError::decoding.
template <typename T>
T decodeJSON(const QByteArray& body)
{
    return JsonCodec<T>::decode(parseJsonDocument(body), QString());
}

} // namespace halvex
