#include <gtest/gtest.h>

#include "platform/db/connection_string.h"
#include "platform/db/value.h"

namespace ferolin::db {
namespace {

struct TextCase {
  Value value;
  std::string text;
};

TEST(ValueTest, TextFormOfEveryKind) {
  const TextCase cases[] = {
      {Value(), ""},
      {Value::Text(" a b "), " a b "},
      {Value::Integer(-42), "-42"},
      {Value::Integer(9007199254740993LL), "9007199254740993"},
      {Value::Real(3.0), "3"},
      {Value::Real(0.1), "0.1"},
      {Value::Real(-1234.5678), "-1234.5678"},
      {Value::Real(1.0 / 3), "0.3333333333333333"},
      {Value::Date({2019, 12, 24, 7, 5, 9}), "2019-12-24 07:05:09"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.value.ToText(), c.text);
  }
}

TEST(ValueTest, NumberReadFromTheStartOfATextLikeVal) {
  const std::pair<const char*, double> cases[] = {
      {"12abc", 12}, {"  -3.5 kg", -3.5}, {"abc", 0},   {"", 0},
      {"+7", 7},     {"1.5e3x", 1500},    {"2e", 2},    {".25", 0.25},
      {"-", 0},      {"1.2.3", 1.2},      {"1 000", 1}, {"0x10", 0},
  };
  for (const auto& [text, number] : cases) {
    EXPECT_DOUBLE_EQ(Value::Text(text).ToNumber(), number) << text;
  }
  EXPECT_EQ(Value().ToNumber(), 0);
  EXPECT_EQ(Value::Integer(5).ToNumber(), 5);
  // The platform's date serial: 1899-12-30 is day 0, noon is half a day.
  EXPECT_DOUBLE_EQ(Value::Date({1900, 1, 1, 12, 0, 0}).ToNumber(), 2.5);
  EXPECT_DOUBLE_EQ(Value::Date({2024, 1, 1, 0, 0, 0}).ToNumber(), 45292);
}

TEST(ValueTest, KindsAndEquality) {
  EXPECT_TRUE(Value().IsNull());
  EXPECT_TRUE(Value::Real(1).IsNumber());
  EXPECT_FALSE(Value::Text("1").IsNumber());
  EXPECT_NE(Value::Text("1"), Value::Integer(1));
  ASSERT_NE(Value::Date({2020, 2, 29}).AsDate(), nullptr);
  EXPECT_EQ(Value::Date({2020, 2, 29}).AsDate()->day, 29);
  EXPECT_EQ(Value::Text("x").AsDate(), nullptr);
}

TEST(ConnectionStringTest, KeysAreLowerCaseAndTrimmed) {
  const auto keys =
      ParseConnectionString("PROVIDER=SQLOLEDB;Server=SRV01;Database =GESTION;UId=sa;Pwd=;");
  EXPECT_EQ(keys.at("provider"), "SQLOLEDB");
  EXPECT_EQ(keys.at("server"), "SRV01");
  EXPECT_EQ(keys.at("database"), "GESTION");
  EXPECT_EQ(keys.at("uid"), "sa");
  EXPECT_EQ(keys.at("pwd"), "");
  EXPECT_EQ(keys.size(), 5u);
}

TEST(ConnectionStringTest, OddShapes) {
  const struct {
    const char* text;
    std::map<std::string, std::string> keys;
  } cases[] = {
      {"", {}},
      {";;;", {}},
      {"Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=u;Password=p;",
       {{"provider", "OraOLEDB.Oracle.1"},
        {"data source", "ORCL"},
        {"user id", "u"},
        {"password", "p"}}},
      {"  Data Source = C:\\x y\\b.mdb ; noequals ; =orphan", {{"data source", "C:\\x y\\b.mdb"}}},
      {"A=1;a=2", {{"a", "2"}}},
      {"Pwd=a=b", {{"pwd", "a=b"}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseConnectionString(c.text), c.keys) << c.text;
  }
}

}  // namespace
}  // namespace ferolin::db
