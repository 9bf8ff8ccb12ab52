#include "brastel_compute/boolean_range_construction.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace brastel_compute {
namespace {

using namespace testing;

TEST(BooleanConstruction, FirstOperandIsLeft) {
  expect_cases({
      {"less than", json(boolean_series_less_than(num("a"), num("b"))),
       R"({"type":"lessThan","lessThan":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}})"},
      {"less than swapped", json(boolean_series_less_than(num("b"), num("a"))),
       R"({"type":"lessThan","lessThan":{"left":{"type":"raw","raw":{"name":"b"}},"right":{"type":"raw","raw":{"name":"a"}}}})"},
      {"less than or equal to", json(boolean_series_less_than_or_equal_to(num("a"), num("b"))),
       R"({"type":"lessThanOrEqualTo","lessThanOrEqualTo":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}})"},
      {"equal to", json(boolean_series_equal_to(num("a"), num("b"))),
       R"({"type":"equalTo","equalTo":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}})"},
      {"not equal to", json(boolean_series_not_equal_to(num("a"), num("b"))),
       R"({"type":"notEqualTo","notEqualTo":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}})"},
      {"greater than", json(boolean_series_greater_than(num("a"), num("b"))),
       R"({"type":"greaterThan","greaterThan":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}})"},
      {"greater than or equal to", json(boolean_series_greater_than_or_equal_to(num("a"), num("b"))),
       R"({"type":"greaterThanOrEqualTo","greaterThanOrEqualTo":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}})"},
      {"and",
       json(boolean_series_and(boolean_series_less_than(num("a"), num("b")), cond())),
       R"({"type":"and","and":{"left":{"type":"lessThan","lessThan":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}},"right":{"type":"greaterThan","greaterThan":{"left":{"type":"raw","raw":{"name":"p"}},"right":{"type":"raw","raw":{"name":"q"}}}}}})"},
      {"or", json(boolean_series_or(cond(), boolean_series_equal_to(num("a"), num("b")))),
       R"({"type":"or","or":{"left":{"type":"greaterThan","greaterThan":{"left":{"type":"raw","raw":{"name":"p"}},"right":{"type":"raw","raw":{"name":"q"}}}},"right":{"type":"equalTo","equalTo":{"left":{"type":"raw","raw":{"name":"a"}},"right":{"type":"raw","raw":{"name":"b"}}}}}})"},
  });
}

TEST(RangeConstruction, CombinationsKeepEveryInputInOrder) {
  expect_cases({
      {"union empty", json(range_series_union({})), R"({"type":"unionRange","unionRange":{}})"},
      {"union repeated", json(range_series_union({ranges("r"), ranges("s"), ranges("r")})),
       R"({"type":"unionRange","unionRange":{"inputs":[{"type":"raw","raw":{"name":"r"}},{"type":"raw","raw":{"name":"s"}},{"type":"raw","raw":{"name":"r"}}]}})"},
      {"intersect empty", json(range_series_intersect({})), R"({"type":"intersectRange","intersectRange":{}})"},
      {"intersect", json(range_series_intersect({ranges("s"), ranges("r")})),
       R"({"type":"intersectRange","intersectRange":{"inputs":[{"type":"raw","raw":{"name":"s"}},{"type":"raw","raw":{"name":"r"}}]}})"},
  });
}

TEST(RangeConstruction, OperatorsBecomeTheirWireValues) {
  expect_cases({
      {"pad both", json(range_series_padded_ranges(ranges("r"), secs(5), RangePaddingConfiguration::PadStartAndEnd)),
       R"({"type":"paddedRangesV2","paddedRangesV2":{"input":{"type":"raw","raw":{"name":"r"}},"duration":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":5}}},"paddingConfiguration":"PAD_START_AND_END"}})"},
      {"pad start", json(range_series_padded_ranges(ranges("r"), secs(5), RangePaddingConfiguration::PadStart)),
       R"({"type":"paddedRangesV2","paddedRangesV2":{"input":{"type":"raw","raw":{"name":"r"}},"duration":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":5}}},"paddingConfiguration":"PAD_START"}})"},
      {"duration filter without unbounded behaviour",
       json(range_series_duration_filter(ranges("r"), secs(5), std::nullopt, ThresholdOperator::GreaterThanOrEqualTo)),
       R"({"type":"durationFilterV2","durationFilterV2":{"input":{"type":"raw","raw":{"name":"r"}},"duration":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":5}}},"comparison":"GREATER_THAN_OR_EQUAL_TO"}})"},
      {"duration filter with unbounded behaviour",
       json(range_series_duration_filter(ranges("r"), secs(5), UnboundedBehavior::WindowBound,
                                         ThresholdOperator::NotEqualTo)),
       R"({"type":"durationFilterV2","durationFilterV2":{"input":{"type":"raw","raw":{"name":"r"}},"duration":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":5}}},"unboundedBehavior":"WINDOW_BOUND","comparison":"NOT_EQUAL_TO"}})"},
      {"peaks and troughs", json(numeric_series_extrema_ranges(num("a"), std::nullopt, PeakType::Both)),
       R"({"type":"extremaRangesV2","extremaRangesV2":{"input":{"type":"raw","raw":{"name":"a"}},"selection":"BOTH"}})"},
      {"troughs with prominence", json(numeric_series_extrema_ranges(num("a"), dbl(0.25), PeakType::Trough)),
       R"({"type":"extremaRangesV2","extremaRangesV2":{"input":{"type":"raw","raw":{"name":"a"}},"minimumProminence":{"type":"literal","literal":0.25},"selection":"TROUGH"}})"},
  });
}

TEST(RangeConstruction, EqualityRangesWriteOnlyTheGivenOptions) {
  expect_cases({
      {"numeric, list and operator only",
       json(range_series_numeric_equality_ranges({num("a"), num("b")}, std::nullopt, std::nullopt, std::nullopt,
                                                 std::nullopt, EqualityOperator::NotAllEqual)),
       R"({"type":"numericEqualityRangesV2","numericEqualityRangesV2":{"inputs":[{"type":"raw","raw":{"name":"a"}},{"type":"raw","raw":{"name":"b"}}],"equalityOperator":"NOT_ALL_EQUAL"}})"},
      {"numeric, everything",
       json(range_series_numeric_equality_ranges({num("a")}, dbl(0.5), int_lit(3), secs(2), RangeStart::PersistenceStart,
                                                 EqualityOperator::AllEqual)),
       R"({"type":"numericEqualityRangesV2","numericEqualityRangesV2":{"inputs":[{"type":"raw","raw":{"name":"a"}}],"tolerance":{"type":"literal","literal":0.5},"minPoints":{"type":"literal","literal":3},"minDuration":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":2}}},"rangeStart":"PERSISTENCE_START","equalityOperator":"ALL_EQUAL"}})"},
      {"numeric, empty list and range start only",
       json(range_series_numeric_equality_ranges({}, std::nullopt, std::nullopt, std::nullopt, RangeStart::ConditionStart,
                                                 EqualityOperator::AllEqual)),
       R"({"type":"numericEqualityRangesV2","numericEqualityRangesV2":{"rangeStart":"CONDITION_START","equalityOperator":"ALL_EQUAL"}})"},
      {"categorical, list and operator only",
       json(range_series_categorical_equality_ranges({cat("c"), cat("c")}, std::nullopt, std::nullopt, std::nullopt,
                                                     EqualityOperator::AllEqual)),
       R"({"type":"categoricalEqualityRangesV2","categoricalEqualityRangesV2":{"inputs":[{"type":"raw","raw":{"name":"c"}},{"type":"raw","raw":{"name":"c"}}],"equalityOperator":"ALL_EQUAL"}})"},
      {"categorical, min points and duration",
       json(range_series_categorical_equality_ranges({cat("c")}, int_lit(2), secs(1), std::nullopt,
                                                     EqualityOperator::NotAllEqual)),
       R"({"type":"categoricalEqualityRangesV2","categoricalEqualityRangesV2":{"inputs":[{"type":"raw","raw":{"name":"c"}}],"minPoints":{"type":"literal","literal":2},"minDuration":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":1}}},"equalityOperator":"NOT_ALL_EQUAL"}})"},
  });
}

TEST(CategoricalConstruction, TimeShiftAndAggregation) {
  const obj::AggregationBuilder rolling = obj::AggregationBuilder::rolling_points(
      obj::RollingPointsAggregationBuilder{.input = obj::Series::enum_(cat("c")), .points = int_lit(10)});
  expect_cases({
      {"time shift", json(categorical_series_time_shift(cat("c"), secs(-3))),
       R"({"type":"timeShiftV2","timeShiftV2":{"input":{"type":"raw","raw":{"name":"c"}},"duration":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":-3}}}}})"},
      {"enum aggregation", json(categorical_series_enum_aggregation(rolling, obj::EnumAggregationOperator::max())),
       R"({"type":"enumAggregation","enumAggregation":{"input":{"type":"rollingPoints","rollingPoints":{"input":{"type":"enum","enum":{"type":"raw","raw":{"name":"c"}}},"points":{"type":"literal","literal":10}}},"operator":{"type":"max","max":{}}}})"},
  });
}

}  // namespace
}  // namespace brastel_compute
