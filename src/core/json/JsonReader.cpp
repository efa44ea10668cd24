#include "core/json/JsonReader.h"

namespace halvex {

namespace json_detail {

namespace {
const char* typeName(const QJsonValue& v)
{
    switch (v.type()) {
    case QJsonValue::Null:
        return "null";
    case QJsonValue::Bool:
        return "a boolean";
    case QJsonValue::Double:
        return "a number";
    case QJsonValue::String:
        return "a string";
    case QJsonValue::Array:
        return "an array";
    case QJsonValue::Object:
        return "an object";
    case QJsonValue::Undefined:
        break;
    }
    return "nothing";
}

QString shown(const QString& path) { return path.isEmpty() ? QStringLiteral("the top level") : path; }
} // namespace

void typeMismatch(const QString& path, const char* expected, const QJsonValue& found)
{
    throw APIError::decoding(QStringLiteral("typeMismatch at %1: expected %2 but found %3")
                                 .arg(shown(path), QLatin1String(expected), QLatin1String(typeName(found))));
}

void keyNotFound(const QString& path, const QString& key)
{
    throw APIError::decoding(QStringLiteral("keyNotFound: no value for key \"%1\" at %2").arg(key, shown(path)));
}

QString childPath(const QString& path, const QString& key) { return path.isEmpty() ? key : path + u'.' + key; }

QString indexPath(const QString& path, qsizetype index) { return path + u'[' + QString::number(index) + u']'; }

} // namespace json_detail

std::optional<JSONValue> JsonReader::raw(const char* key) const
{
    const auto v = m_object.value(QLatin1String(key));
    if (v.isUndefined())
        return std::nullopt;
    return JSONValue::fromQJsonValue(v);
}

} // namespace halvex
