#pragma once
// A dynamic JSON value: request bodies are written in it and free-form answer fields kept in it.
// Every number is a double. Copies are cheap (containers are shared and immutable).
#include <QList>
#include <QMap>
#include <QString>

#include <memory>
#include <optional>
#include <variant>

class QJsonValue;

namespace halvex {

class JSONValue;
using JSONObject = QMap<QString, JSONValue>;
using JSONArray = QList<JSONValue>;

class JSONValue {
public:
    // The cases, in their declared order.
    enum class Kind { string, number, boolean, object, array, null };

    JSONValue() = default; // null
    JSONValue(std::nullptr_t) {}
    JSONValue(const QString& s) : m_value(s) {}
    JSONValue(const char* utf8) : m_value(QString::fromUtf8(utf8)) {}
    JSONValue(double n) : m_value(n) {}
    JSONValue(int n) : m_value(double(n)) {}
    JSONValue(qint64 n) : m_value(double(n)) {}
    JSONValue(bool b) : m_value(b) {}
    JSONValue(JSONObject object);
    JSONValue(JSONArray array);

    Kind kind() const;
    bool isNull() const { return kind() == Kind::null; }
    bool isString() const { return kind() == Kind::string; }
    bool isNumber() const { return kind() == Kind::number; }
    bool isBool() const { return kind() == Kind::boolean; }
    bool isObject() const { return kind() == Kind::object; }
    bool isArray() const { return kind() == Kind::array; }

    // Payloads; a wrong case gives the empty value of the asked type.
    QString toString() const;
    double toNumber() const;
    bool toBool() const;
    const JSONObject& toObject() const;
    const JSONArray& toArray() const;

    std::optional<QString> stringValue() const;
    std::optional<double> numberValue() const;
    std::optional<bool> boolValue() const;

    // The member named `key` of an object; absent for every other case.
    std::optional<JSONValue> operator[](const QString& key) const;
    std::optional<JSONValue> operator[](const char* key) const { return (*this)[QString::fromUtf8(key)]; }

    bool operator==(const JSONValue& other) const;

    // Whole numbers are written without a fraction (5, not 5.0).
    QByteArray toJson() const;
    QJsonValue toQJsonValue() const;
    static JSONValue fromQJsonValue(const QJsonValue& value);
    // Throws APIError::decoding for text that is not JSON.
    static JSONValue parse(const QByteArray& json);

private:
    std::variant<std::monostate, QString, double, bool, std::shared_ptr<const JSONObject>,
                 std::shared_ptr<const JSONArray>>
        m_value;
};

QByteArray encodeJSONObject(const JSONObject& object);

} // namespace halvex
