// The generated readers of the wire enums: every known name, quoted, reads
// as its own value; other texts read as the unknown value or fail, as the
// shared reader decides, under the enum's short name.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "model/model_support.h"

namespace {

using namespace model_test;

template <class E>
void expect_every_name_reads_back() {
  for (std::size_t i = 0; i < E::kNames.size(); ++i) {
    std::string quoted(1, '"');
    quoted.append(E::kNames[i]).push_back('"');
    auto read = E::from_json(quoted);
    ASSERT_TRUE(read.ok()) << E::kName << " " << quoted << ": " << read.error().message;
    EXPECT_EQ(static_cast<std::size_t>(read.value().value()), i) << E::kName << " " << quoted;
    EXPECT_EQ(json(read.value()), quoted);
  }
}

TEST(WireEnumReaders, EveryKnownNameReadsAsItsValue) {
  expect_every_name_reads_back<io::brastel::api::TimeUnit>();
  expect_every_name_reads_back<obj::ThresholdOperator>();
  expect_every_name_reads_back<obj::EqualityOperator>();
  expect_every_name_reads_back<obj::RangeStart>();
  expect_every_name_reads_back<obj::EnumFilterOperator>();
  expect_every_name_reads_back<obj::RangePaddingConfiguration>();
  expect_every_name_reads_back<obj::PeakType>();
  expect_every_name_reads_back<obj::UnboundedBehavior>();
  expect_every_name_reads_back<obj::SeriesStorage>();
  expect_every_name_reads_back<obj::NumericDataType>();
  expect_every_name_reads_back<obj::RefpropSubstance>();
  expect_every_name_reads_back<obj::RefpropProperty>();
}

// (text, what reading it gives: the value written back, or the error)
struct Case {
  std::string_view json;
  std::string_view outcome;
};

template <class E>
void expect_reads(const Case (&cases)[5]) {
  for (const Case& c : cases) {
    auto read = E::from_json(c.json);
    EXPECT_EQ(read.ok() ? json(read.value()) : read.error().message, c.outcome) << E::kName << " " << c.json;
  }
}

TEST(WireEnumReaders, OtherTextsAreUnknownOrFailUnderTheEnumsShortName) {
  expect_reads<obj::ThresholdOperator>({
      {"\"GREATER_THAN_X\"", "\"GREATER_THAN_X\""},
      {"\"greater_than\"", "data did not match any variant of untagged enum ThresholdOperator"},
      {"\"GREATER_THAN\" \n", "\"GREATER_THAN\""},
      {"\"GREATER_THAN\"x", "trailing characters"},
      {"\"\"", "data did not match any variant of untagged enum ThresholdOperator"},
  });
  expect_reads<obj::PeakType>({
      {"{\"PEAK\":null}", "\"PEAK\""},
      {"{\"PEAK\":1}", "data did not match any variant of untagged enum PeakType"},
      {"\"_\"", "\"_\""},
      {"\"A B\"", "data did not match any variant of untagged enum PeakType"},
      {"null", "data did not match any variant of untagged enum PeakType"},
  });
  expect_reads<io::brastel::api::TimeUnit>({
      {"\"SECONDS\"", "\"SECONDS\""},
      {"\"seconds\"", "data did not match any variant of untagged enum TimeUnit"},
      {"\"WEEKS\"", "\"WEEKS\""},
      {"[\"DAYS\"]", "data did not match any variant of untagged enum TimeUnit"},
      {"{\"DAYS\":null,\"HOURS\":null}", "data did not match any variant of untagged enum TimeUnit"},
  });
}

}  // namespace
