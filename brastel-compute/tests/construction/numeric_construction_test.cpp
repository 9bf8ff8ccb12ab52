#include "brastel_compute/numeric_construction.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "brastel_compute/aggregation_construction.h"
#include "brastel_compute/panic.h"
#include "brastel_compute/series_from.h"
#include "fixtures.h"

namespace brastel_compute {
namespace {

using namespace testing;
using obj::series_from;

TEST(NumericConstruction, BinaryOperandsKeepTheirPlaces) {
  expect_cases({
      {"add", json(numeric_series_add(num("a"), num("b"))),
       R"({"type":"add","add":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}})"},
      {"subtract", json(numeric_series_subtract(num("a"), num("b"))),
       R"({"type":"subtract","subtract":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}})"},
      {"subtract swapped", json(numeric_series_subtract(num("b"), num("a"))),
       R"({"type":"subtract","subtract":{"left":{"type":"raw","raw":{"name":"b"}},"right":{"type":"raw","raw":{"name":"a"}}}})"},
      {"multiply", json(numeric_series_multiply(num("a"), num("b"))),
       R"({"type":"multiply","multiply":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}})"},
      {"divide", json(numeric_series_divide(num("a"), num("b"))),
       R"({"type":"divide","divide":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}})"},
      {"floor divide", json(numeric_series_floor_divide(num("a"), num("b"))),
       R"({"type":"floorDivide","floorDivide":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}})"},
      {"modulo", json(numeric_series_modulo(num("a"), num("b"))),
       R"({"type":"modulo","modulo":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}})"},
      {"power", json(numeric_series_power(num("a"), num("b"))),
       R"({"type":"power","power":{"base":{"type":"raw","raw":{"name":"a"}},"exponent":{"type":"raw","raw":{"name":"b"}}}})"},
      {"atan2 writes y before x", json(atan2(num("a"), num("b"))),
       R"({"type":"atan2","atan2":{"y":{"type":"raw","raw":{"name":"a"}},"x":{"type":"raw","raw":{"name":"b"}}}})"},
  });
}

TEST(NumericConstruction, ListsKeepOrderAndRepeatsAndLeaveEmptyOut) {
  expect_cases({
      {"max empty", json(max({})), R"({"type":"max","max":{}})"},
      {"max repeated", json(max({num("b"), num("a"), num("b")})),
       R"({"type":"max","max":{"inputs":[{"type":"raw","raw":{"name":"b"}},{"type":"raw","raw":{"name":"a"}},{"type":"raw","raw":{"name":"b"}}]}})"},
      {"min", json(min({num("a")})), R"({"type":"min","min":{"inputs":[{"type":"raw","raw":{"name":"a"}}]}})"},
      {"sum", json(sum({num("b"), num("a")})),
       R"({"type":"sum","sum":{"inputs":[{"type":"raw","raw":{"name":"b"}},{"type":"raw","raw":{"name":"a"}}]}})"},
      {"mean empty", json(mean({})), R"({"type":"mean","mean":{}})"},
      {"product", json(product({num("a")})),
       R"({"type":"product","product":{"inputs":[{"type":"raw","raw":{"name":"a"}}]}})"},
      {"union never writes an operation", json(numeric_series_union({num("a"), num("a")})),
       R"({"type":"union","union":{"input":[{"type":"raw","raw":{"name":"a"}},{"type":"raw","raw":{"name":"a"}}]}})"},
      {"union empty", json(numeric_series_union({})), R"({"type":"union","union":{}})"},
  });
}

TEST(NumericConstruction, IntegerOperandsFillTheirNamedField) {
  expect_cases({
      {"head", json(numeric_series_head(num("a"), int_lit(3))),
       R"({"type":"selectOldestPoints","selectOldestPoints":{"input":{"type":"raw","raw":{"name":"a"}},"numPoints":{"type":"literal","literal":3}}})"},
      {"tail", json(numeric_series_tail(num("a"), int_lit(3))),
       R"({"type":"selectNewestPoints","selectNewestPoints":{"input":{"type":"raw","raw":{"name":"a"}},"numPoints":{"type":"literal","literal":3}}})"},
      {"bit and", json(numeric_series_bit_and(num("a"), int_lit(12))),
       R"({"type":"bitAnd","bitAnd":{"input":{"type":"raw","raw":{"name":"a"}},"operand":{"type":"literal","literal":12}}})"},
      {"bit or", json(numeric_series_bit_or(num("a"), int_lit(12))),
       R"({"type":"bitOr","bitOr":{"input":{"type":"raw","raw":{"name":"a"}},"operand":{"type":"literal","literal":12}}})"},
      {"bit xor", json(numeric_series_bit_xor(num("a"), int_lit(-1))),
       R"({"type":"bitXor","bitXor":{"input":{"type":"raw","raw":{"name":"a"}},"operand":{"type":"literal","literal":-1}}})"},
      {"bit shift right", json(numeric_series_bit_shift_right(num("a"), int_lit(2))),
       R"({"type":"bitShiftRight","bitShiftRight":{"input":{"type":"raw","raw":{"name":"a"}},"operand":{"type":"literal","literal":2}}})"},
      {"bit shift left", json(numeric_series_bit_shift_left(num("a"), int_lit(2))),
       R"({"type":"bitShiftLeft","bitShiftLeft":{"input":{"type":"raw","raw":{"name":"a"}},"operand":{"type":"literal","literal":2}}})"},
      {"bit test", json(numeric_series_bit_test(num("a"), int_lit(7))),
       R"({"type":"bitTest","bitTest":{"input":{"type":"raw","raw":{"name":"a"}},"index":{"type":"literal","literal":7}}})"},
      {"nth point downsample", json(numeric_series_nth_point_downsample(num("a"), int_lit(0))),
       R"({"type":"nthPointDownsample","nthPointDownsample":{"input":{"type":"raw","raw":{"name":"a"}},"n":{"type":"literal","literal":0}}})"},
      {"largest triangle three buckets", json(numeric_series_largest_triangle_three_buckets(num("a"), int_lit(500))),
       R"({"type":"largestTriangleThreeBuckets","largestTriangleThreeBuckets":{"input":{"type":"raw","raw":{"name":"a"}},"maxPointsToReturn":{"type":"literal","literal":500}}})"},
  });
}

TEST(NumericConstruction, TransformsWriteEachArgumentInItsFieldAndOmitAbsentOnes) {
  expect_cases({
      {"if else", json(numeric_if_else(cond(), num("a"), num("b"))),
       R"({"type":"ifElse","ifElse":{"condition":{"type":"greaterThan","greaterThan":{"left":{"type":"raw","raw":{"name":"p"}},"right":{"type":"raw","raw":{"name":"q"}}}},"trueValue":{"type":"raw","raw":{"name":"a"}},"falseValue":{"type":"raw","raw":{"name":"b"}}}})"},
      {"derivative bare", json(numeric_series_derivative(num("a"), std::nullopt, std::nullopt)),
       R"({"type":"derivative","derivative":{"input":{"type":"raw","raw":{"name":"a"}}}})"},
      {"derivative full",
       json(numeric_series_derivative(num("a"), TimeUnit::Seconds,
                                      obj::NegativeValueConfiguration::set_negative_values_to_zero())),
       R"({"type":"derivative","derivative":{"input":{"type":"raw","raw":{"name":"a"}},"timeUnit":"SECONDS","negativeValuesConfiguration":{"type":"setNegativeValuesToZero","setNegativeValuesToZero":{}}}})"},
      {"derivative configuration only",
       json(numeric_series_derivative(num("a"), std::nullopt,
                                      obj::NegativeValueConfiguration::exclude_negative_values())),
       R"({"type":"derivative","derivative":{"input":{"type":"raw","raw":{"name":"a"}},"negativeValuesConfiguration":{"type":"excludeNegativeValues","excludeNegativeValues":{}}}})"},
      {"value difference bare", json(numeric_series_value_difference(num("a"), std::nullopt)),
       R"({"type":"valueDifference","valueDifference":{"input":{"type":"raw","raw":{"name":"a"}}}})"},
      {"value difference",
       json(numeric_series_value_difference(num("a"), obj::NegativeValueConfiguration::allow_negative_values())),
       R"({"type":"valueDifference","valueDifference":{"input":{"type":"raw","raw":{"name":"a"}},"negativeValuesConfiguration":{"type":"allowNegativeValues","allowNegativeValues":{}}}})"},
      {"time difference of a categorical series", json(numeric_series_time_difference(series_from(cat("c")), std::nullopt)),
       R"({"type":"timeDifference","timeDifference":{"input":{"type":"enum","enum":{"type":"raw","raw":{"name":"c"}}}}})"},
      {"time difference in days", json(numeric_series_time_difference(series_from(num("a")), TimeUnit::Days)),
       R"({"type":"timeDifference","timeDifference":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"timeUnit":"DAYS"}})"},
      {"absolute timestamp", json(numeric_series_absolute_timestamp(series_from(strct("s")), TimeUnit::Nanoseconds)),
       R"({"type":"absoluteTimestamp","absoluteTimestamp":{"input":{"type":"struct","struct":{"type":"raw","raw":{"name":"s"}}},"timeUnit":"NANOSECONDS"}})"},
      {"time shift", json(numeric_series_time_shift(num("a"), secs(5))),
       R"({"type":"timeShiftV2","timeShiftV2":{"input":{"type":"raw","raw":{"name":"a"}},"duration":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":5}}}}})"},
      {"to start of interval", json(numeric_series_to_start_of_interval(num("a"), secs(60))),
       R"({"type":"toStartOfInterval","toStartOfInterval":{"input":{"type":"raw","raw":{"name":"a"}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}})"},
      {"filter where", json(numeric_series_filter_where(num("a"), cond())),
       R"({"type":"filterWhere","filterWhere":{"input":{"type":"raw","raw":{"name":"a"}},"condition":{"type":"greaterThan","greaterThan":{"left":{"type":"raw","raw":{"name":"p"}},"right":{"type":"raw","raw":{"name":"q"}}}}}})"},
      {"phase unwrap", json(numeric_series_phase_unwrap(num("a"), dbl(6.5))),
       R"({"type":"phaseUnwrap","phaseUnwrap":{"input":{"type":"raw","raw":{"name":"a"}},"period":{"type":"literal","literal":6.5}}})"},
      {"signal filter without sampling frequency",
       json(numeric_series_signal_filter(num("a"), signal_filter_configuration_band_pass(dbl(1), dbl(2)), int_lit(4),
                                         std::nullopt)),
       R"({"type":"signalFilter","signalFilter":{"input":{"type":"raw","raw":{"name":"a"}},"signalFilterConfiguration":{"type":"bandPass","bandPass":{"lowPassbandFrequency":{"type":"literal","literal":1.0},"highPassbandFrequency":{"type":"literal","literal":2.0}}},"order":{"type":"literal","literal":4}}})"},
      {"signal filter with sampling frequency",
       json(numeric_series_signal_filter(num("a"), signal_filter_configuration_band_stop(dbl(3), dbl(0.5)), int_lit(2),
                                         dbl(100))),
       R"({"type":"signalFilter","signalFilter":{"input":{"type":"raw","raw":{"name":"a"}},"signalFilterConfiguration":{"type":"bandStop","bandStop":{"lowStopbandFrequency":{"type":"literal","literal":3.0},"highStopbandFrequency":{"type":"literal","literal":0.5}}},"order":{"type":"literal","literal":2},"samplingFrequency":{"type":"literal","literal":100.0}}})"},
  });
}

TEST(NumericConstruction, TagListsBecomeOrderedSets) {
  expect_cases({
      {"z score, repeated tag once", json(numeric_series_z_score(num("a"), {str("site"), str("asset"), str("site")})),
       R"({"type":"zScore","zScore":{"input":{"type":"raw","raw":{"name":"a"}},"groupByTags":[{"type":"literal","literal":"asset"},{"type":"literal","literal":"site"}]}})"},
      {"z score, no tags", json(numeric_series_z_score(num("a"), {})),
       R"({"type":"zScore","zScore":{"input":{"type":"raw","raw":{"name":"a"}}}})"},
      // Literals before variables; bytes order upper case first and a
      // prefix before its extensions.
      {"select tags",
       json(numeric_series_select_tags(
           num("a"), {str_var("v"), str("b"), str("B"), str("ab"), str("a"), str_var("v"), str_var("u")})),
       R"({"type":"selectTags","selectTags":{"input":{"type":"raw","raw":{"name":"a"}},"tagKeys":[{"type":"literal","literal":"B"},{"type":"literal","literal":"a"},{"type":"literal","literal":"ab"},{"type":"literal","literal":"b"},{"type":"variable","variable":"u"},{"type":"variable","variable":"v"}]}})"},
  });
}

TEST(NumericConstruction, SelectionAndExtraction) {
  expect_cases({
      {"select numeric with nothing", json(numeric_series_select_numeric(std::nullopt, std::nullopt, std::nullopt, std::nullopt)),
       R"({"type":"selectNumeric","selectNumeric":{}})"},
      {"select numeric with name, dataset and storage",
       json(numeric_series_select_numeric(str("n"), dataset("d"), std::nullopt, SeriesStorage::Clickhouse)),
       R"({"type":"selectNumeric","selectNumeric":{"name":{"type":"literal","literal":"n"},"dataset":{"type":"reference","reference":{"name":{"type":"literal","literal":"d"}}},"storage":"CLICKHOUSE"}})"},
      {"select numeric with storage only",
       json(numeric_series_select_numeric(std::nullopt, std::nullopt, std::nullopt, SeriesStorage::Iceberg)),
       R"({"type":"selectNumeric","selectNumeric":{"storage":"ICEBERG"}})"},
      {"extract keeps path order and repeats",
       json(struct_series_extract_numeric(strct("s"), {str("y"), str("x"), str("y")}, NumericDataType::Float64)),
       R"({"type":"extractFromStruct","extractFromStruct":{"input":{"type":"raw","raw":{"name":"s"}},"fieldPath":[{"type":"literal","literal":"y"},{"type":"literal","literal":"x"},{"type":"literal","literal":"y"}],"dataType":"FLOAT64"}})"},
      {"extract bare", json(struct_series_extract_numeric(strct("s"), {}, std::nullopt)),
       R"({"type":"extractFromStruct","extractFromStruct":{"input":{"type":"raw","raw":{"name":"s"}}}})"},
  });
}

TEST(NumericConstruction, RustUdfIsTheUdfWithARustSource) {
  const std::string expected =
      R"({"type":"scalarUdf","scalarUdf":{"inputs":[{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},{"type":"enum","enum":{"type":"raw","raw":{"name":"c"}}}],"source":{"type":"rust","rust":{"sourceCode":"x + \"1\""}}}})";
  EXPECT_EQ(json(numeric_series_scalar_udf_rust({series_from(num("a")), series_from(cat("c"))}, "x + \"1\"")), expected);
  EXPECT_EQ(json(numeric_series_udf({series_from(num("a")), series_from(cat("c"))},
                                    obj::UdfSource::rust(obj::RustUdfSource{.source_code = "x + \"1\""}))),
            expected);
  EXPECT_EQ(json(numeric_series_scalar_udf_rust({}, "")),
            R"({"type":"scalarUdf","scalarUdf":{"source":{"type":"rust","rust":{"sourceCode":""}}}})");
}

TEST(IntegerConstantLiteral, AcceptsTheSigned32BitRange) {
  const std::vector<std::pair<std::int64_t, std::string>> accepted = {
      {2147483647, R"({"type":"literal","literal":2147483647})"},
      {-2147483648LL, R"({"type":"literal","literal":-2147483648})"},
      {0, R"({"type":"literal","literal":0})"},
      {-1, R"({"type":"literal","literal":-1})"},
  };
  for (const auto& [value, expected] : accepted) EXPECT_EQ(json(integer_constant_literal(value)), expected) << value;
}

TEST(IntegerConstantLiteral, PanicsOutsideTheRange) {
  const std::vector<std::pair<std::int64_t, std::string>> rejected = {
      {2147483648LL, "integer value exceeds i32 range: TryFromIntError(PosOverflow)"},
      {std::numeric_limits<std::int64_t>::max(), "integer value exceeds i32 range: TryFromIntError(PosOverflow)"},
      {-2147483649LL, "integer value exceeds i32 range: TryFromIntError(NegOverflow)"},
      {std::numeric_limits<std::int64_t>::min(), "integer value exceeds i32 range: TryFromIntError(NegOverflow)"},
  };
  for (const auto& [value, message] : rejected) {
    try {
      (void)integer_constant_literal(value);
      ADD_FAILURE() << value << " was accepted";
    } catch (const Panic& panic) {
      EXPECT_EQ(std::string(panic.what()), message) << value;
    }
  }
}

}  // namespace
}  // namespace brastel_compute
