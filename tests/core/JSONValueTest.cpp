#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"

#include <gtest/gtest.h>

using namespace halvex;

TEST(JSONValueTest, DecodesEachCaseAndComparesObjectsUnordered)
{
    EXPECT_EQ(JSONValue::parse("true"), JSONValue(true));
    EXPECT_EQ(JSONValue::parse("1").kind(), JSONValue::Kind::number);
    EXPECT_EQ(JSONValue::parse("\"1\"").kind(), JSONValue::Kind::string);
    EXPECT_NE(JSONValue::parse("1"), JSONValue::parse("\"1\""));
    EXPECT_NE(JSONValue::parse("1"), JSONValue::parse("true"));
    EXPECT_TRUE(JSONValue::parse("null").isNull());
    EXPECT_EQ(JSONValue::parse(R"({"a":1,"b":[1,"x",null]})"), JSONValue::parse(R"({"b":[1,"x",null],"a":1})"));
    EXPECT_NE(JSONValue::parse("[1,2]"), JSONValue::parse("[2,1]"));
    EXPECT_THROW(JSONValue::parse("{nope"), APIError);
}

TEST(JSONValueTest, SubscriptOnlyFindsMembersOfObjects)
{
    const JSONValue v = JSONValue::parse(R"({"a":{"b":null}})");
    ASSERT_TRUE(v["a"].has_value());
    ASSERT_TRUE((*v["a"])["b"].has_value());
    EXPECT_TRUE((*v["a"])["b"]->isNull()); // present, and null
    EXPECT_FALSE(v["missing"].has_value());
    EXPECT_FALSE(JSONValue(QStringLiteral("a"))["a"].has_value());
    EXPECT_FALSE(JSONValue::parse("[1]")["0"].has_value());
}

TEST(JSONValueTest, EncodesWholeNumbersWithoutFractionAndRoundTrips)
{
    EXPECT_EQ(JSONValue(5).toJson(), "5");
    EXPECT_EQ(JSONValue(5.0).toJson(), "5");
    EXPECT_EQ(JSONValue(-0.25).toJson(), "-0.25");
    EXPECT_EQ(JSONValue(1e15).toJson(), "1000000000000000");
    const JSONValue nested = JSONValue::parse(R"({"k":[1,2.5,"s",false,null,{"x":{}}]})");
    EXPECT_EQ(JSONValue::parse(nested.toJson()), nested);
}

namespace {
struct Person {
    QString name;
    std::optional<int> age;
    static Person decode(const JsonReader& json) { return {json.required<QString>("name"), json.optional<int>("age")}; }
};
} // namespace

TEST(JsonReaderTest, MissingAndMistypedKeysNameTheirPath)
{
    try {
        decodeJSON<QList<Person>>(R"([{"name":"a"},{"age":3}])");
        FAIL();
    } catch (const APIError& e) {
        EXPECT_EQ(e.kind(), APIError::Kind::decoding);
        EXPECT_TRUE(e.message().value_or(QString()).contains(QStringLiteral("[1]")))
            << e.message().value_or(QString()).toStdString();
        EXPECT_TRUE(e.message().value_or(QString()).contains(QStringLiteral("name")));
    }
    EXPECT_THROW(decodeJSON<Person>(R"({"name":"a","age":2.5})"), APIError); // not a whole number
    const Person p = decodeJSON<Person>(R"({"name":"a","age":null,"unknown":true})");
    EXPECT_FALSE(p.age.has_value());
}
