#include "conjure_object/enum_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <variant>

namespace conjure_object {
namespace {

constexpr std::array<std::string_view, 6> kThreshold = {
    "GREATER_THAN", "GREATER_THAN_OR_EQUAL_TO", "LESS_THAN",
    "LESS_THAN_OR_EQUAL_TO", "EQUAL_TO", "NOT_EQUAL_TO"};
constexpr std::array<std::string_view, 3> kPeak = {"PEAK", "TROUGH", "BOTH"};

Result<EnumRead> read_threshold(std::string_view json) {
  return read_enum(json, kThreshold, "ThresholdOperator");
}
Result<EnumRead> read_peak(std::string_view json) { return read_enum(json, kPeak, "PeakType"); }

constexpr const char* kNoThreshold = "data did not match any variant of untagged enum ThresholdOperator";
constexpr const char* kNoPeak = "data did not match any variant of untagged enum PeakType";

TEST(EnumReader, KnownValues) {
  const struct {
    bool peak;
    std::string json;
    std::size_t index;
  } cases[] = {
      {false, "\"GREATER_THAN\"", 0},
      {false, "\"GREATER_THAN_OR_EQUAL_TO\"", 1},
      {false, "\"NOT_EQUAL_TO\"", 5},
      {false, " \t\r\n\"LESS_THAN\" \t\r\n", 2},
      {false, "\"GREATER\\u005FTHAN\"", 0},  // compared after decoding
      {false, "\"\\u0045QUAL_TO\"", 4},
      {true, "\"BOTH\"", 2},
      {true, "{\"PEAK\":null}", 0},
      {true, " { \"TROUGH\" :\nnull } ", 1},
      {true, "{\"B\\u004FTH\":null}", 2},
  };
  for (const auto& c : cases) {
    const auto r = c.peak ? read_peak(c.json) : read_threshold(c.json);
    ASSERT_TRUE(r.ok()) << c.json << ": " << r.error().message;
    ASSERT_TRUE(std::holds_alternative<KnownValue>(r.value())) << c.json;
    EXPECT_EQ(std::get<KnownValue>(r.value()).index, c.index) << c.json;
  }
}

TEST(EnumReader, UnknownValues) {
  const struct {
    std::string json;
    std::string text;
  } cases[] = {
      {"\"GREATER_THAN_X\"", "GREATER_THAN_X"},
      {"\"_\"", "_"},
      {"\"0\"", "0"},
      {"\"NEW_OPERATOR_2\"", "NEW_OPERATOR_2"},
      {" \"PEAK\"\n", "PEAK"},  // known to another enum only
      {"\"A\\u0042_\\u0039\"", "AB_9"},  // escapes are decoded first
  };
  for (const auto& c : cases) {
    const auto r = read_threshold(c.json);
    ASSERT_TRUE(r.ok()) << c.json << ": " << r.error().message;
    ASSERT_TRUE(std::holds_alternative<UnknownValue>(r.value())) << c.json;
    EXPECT_EQ(std::get<UnknownValue>(r.value()).text, c.text);
  }
}

TEST(EnumReader, NoVariantMatches) {
  const char* threshold_cases[] = {
      "\"greater_than\"",
      "\"Greater_Than\"",
      "\"\"",
      "\" \"",
      "\"GREATER_THAN \"",
      "\" GREATER_THAN\"",
      "\"GREATER-THAN\"",
      "\"seconds\"",
      "\"\xC3\x89T\xC3\x89\"",  // non-ASCII
      "\"A\\u0000\"",
      "\"A\\/B\"",
      "1",
      "-1.5e3",
      "0",
      "null",
      "true",
      "false",
      "[]",
      "[\"GREATER_THAN\"]",
      "{}",
      "{\"GREATER_THAN\":1}",
      "{\"GREATER_THAN\":\"\"}",
      "{\"GREATER_THAN\":{}}",
      "{\"GREATER_THAN\":[]}",
      "{\"GREATER_THAN\":false}",
      "{\"greater_than\":null}",
      "{\"NEW_ONE\":null}",  // unknown texts come only from strings
      "{\"GREATER_THAN\":null,\"LESS_THAN\":null}",
      "{\"GREATER_THAN\":null,\"GREATER_THAN\":null}",
      "{\"x\":1,\"GREATER_THAN\":null}",
  };
  for (const char* json : threshold_cases) {
    const auto r = read_threshold(json);
    ASSERT_FALSE(r.ok()) << json;
    EXPECT_EQ(r.error().message, kNoThreshold) << json;
  }
  const auto peak = read_peak("{\"PEAK\":1}");
  ASSERT_FALSE(peak.ok());
  EXPECT_EQ(peak.error().message, kNoPeak);
  const auto time = read_enum("\"seconds\"", kThreshold, "TimeUnit");
  ASSERT_FALSE(time.ok());
  EXPECT_EQ(time.error().message, "data did not match any variant of untagged enum TimeUnit");
}

TEST(EnumReader, TrailingCharacters) {
  const char* cases[] = {
      "\"PEAK\"x", "\"PEAK\" \"PEAK\"", "\"PEAK\",", "{\"PEAK\":null}}", "1 2",
      "nullx",     "\"PEAK\"\n\n]",     "[] []",    "\"PEAK\"\x0b",      "\"PEAK\"\xC2\xA0",
  };
  for (const char* json : cases) {
    const auto r = read_peak(json);
    ASSERT_FALSE(r.ok()) << json;
    EXPECT_EQ(r.error().message, "trailing characters") << json;
  }
}

TEST(EnumReader, SyntaxErrors) {
  const struct {
    std::string json;
    const char* message;
  } cases[] = {
      {"", "EOF while parsing a value at line 1 column 0"},
      {"   ", "EOF while parsing a value at line 1 column 3"},
      {"\n\n  x", "expected value at line 3 column 3"},
      {"\"PEAK", "EOF while parsing a string at line 1 column 5"},
      {"\"PE\nAK\"", "control character (\\u0000-\\u001F) found while parsing a string at line 1 column 4"},
      {"\"\\x\"", "invalid escape at line 1 column 3"},
      {"\"\\u12G4\"", "invalid escape at line 1 column 6"},
      {"\"\\ud800\"", "lone leading surrogate in hex escape at line 1 column 8"},
      {"\"\\ud800\\u0041\"", "lone leading surrogate in hex escape at line 1 column 14"},
      {"\"\\udc00\"", "lone trailing surrogate in hex escape at line 1 column 8"},
      {"\"\xFF\"", "invalid UTF-8 at line 1 column 2"},
      {"\"\xC3\"", "invalid UTF-8 at line 1 column 2"},
      {"\"\xC0\xAF\"", "invalid UTF-8 at line 1 column 2"},  // overlong '/'
      {"\"\xED\xA0\x80\"", "invalid UTF-8 at line 1 column 2"},  // encoded surrogate
      {"tru", "EOF while parsing a value at line 1 column 3"},
      {"nul", "EOF while parsing a value at line 1 column 3"},
      {"trUe", "expected ident at line 1 column 3"},
      {"NULL", "expected value at line 1 column 1"},
      {"'PEAK'", "expected value at line 1 column 1"},
      {"01", "invalid number at line 1 column 2"},
      {"-", "EOF while parsing a value at line 1 column 1"},
      {"-a", "invalid number at line 1 column 2"},
      {"1.", "EOF while parsing a value at line 1 column 2"},
      {"1.e5", "invalid number at line 1 column 3"},
      {"1e", "EOF while parsing a value at line 1 column 2"},
      {"+1", "expected value at line 1 column 1"},
      {"[", "EOF while parsing a list at line 1 column 1"},
      {"[1,]", "trailing comma at line 1 column 4"},
      {"[1 2]", "expected `,` or `]` at line 1 column 4"},
      {"{", "EOF while parsing an object at line 1 column 1"},
      {"{PEAK:null}", "key must be a string at line 1 column 2"},
      {"{\"PEAK\" null}", "expected `:` at line 1 column 9"},
      {"{\"PEAK\":null,}", "trailing comma at line 1 column 14"},
      {"{\"PEAK\":null \"x\":1}", "expected `,` or `}` at line 1 column 14"},
      {"{\"PEAK\":}", "expected value at line 1 column 9"},
  };
  for (const auto& c : cases) {
    const auto r = read_peak(c.json);
    ASSERT_FALSE(r.ok()) << c.json;
    EXPECT_EQ(r.error().message, c.message) << c.json;
  }
}

TEST(EnumReader, FullGrammarIsAccepted) {
  // Valid JSON of every shape parses, then fails only for not being a variant.
  const char* cases[] = {
      "[1, -0, 0.5, -12.25e+3, 1E-2, 1e400, true, false, null, \"s\", [], {}]",
      "{\"a\": {\"b\": [1, {\"c\": \"\\\"\\\\\\/\\b\\f\\n\\r\\t\\u00e9\\ud83d\\ude00\"}]}}",
      "\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"",
      "\"\\uD83D\\uDE00\"",
  };
  for (const char* json : cases) {
    const auto r = read_peak(json);
    ASSERT_FALSE(r.ok()) << json;
    EXPECT_EQ(r.error().message, kNoPeak) << json;
  }
}

std::string nested_arrays(int depth) { return std::string(depth, '[') + std::string(depth, ']'); }

std::string nested_objects(int depth) {
  std::string s;
  for (int i = 0; i < depth; ++i) s += "{\"a\":";
  s += "null";
  s += std::string(depth, '}');
  return s;
}

TEST(EnumReader, NestingLimit) {
  const struct {
    std::string json;
    const char* message;
  } cases[] = {
      {nested_arrays(128), kNoPeak},
      {nested_objects(128), kNoPeak},
      {nested_arrays(129), "recursion limit exceeded"},
      {nested_objects(129), "recursion limit exceeded"},
      {std::string(100000, '['), "recursion limit exceeded"},
      {std::string(100000, '{'), "key must be a string at line 1 column 2"},
  };
  for (const auto& c : cases) {
    const auto r = read_peak(c.json);
    ASSERT_FALSE(r.ok()) << c.json.substr(0, 40);
    EXPECT_EQ(r.error().message, c.message) << c.json.substr(0, 40);
  }
  std::string deep_objects;
  for (int i = 0; i < 100000; ++i) deep_objects += "{\"a\":";
  const auto r = read_peak(deep_objects);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error().message, "recursion limit exceeded");
}

}  // namespace
}  // namespace conjure_object
