#include "python_construction.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "brastel_compute/boolean_range_construction.h"
#include "brastel_compute/enums.h"
#include "construction/fixtures.h"

namespace brastel_python::python_construction {
namespace {

using namespace ::brastel_compute::testing;
using ::brastel_compute::EnumFilterOperator;
using ::brastel_compute::RangeStart;
using ::brastel_compute::RefpropProperty;
using ::brastel_compute::RefpropSubstance;
using ::brastel_compute::TimeUnit;

// {"type":"lessThan","lessThan":{"left":{"type":"raw","raw":{"name":"p"}},"right":{"type":"raw","raw":{"name":"q"}}}}
obj::BooleanSeries p_below_q() { return ::brastel_compute::boolean_series_less_than(num("p"), num("q")); }

TEST(PythonConstruction, SingleNodesFillTheirFieldsAndOmitAbsentOptions) {
  expect_cases({
      {"boolean ranges bare", json(boolean_series_ranges(p_below_q(), std::nullopt, std::nullopt, std::nullopt)),
       R"({"type":"booleanRanges","booleanRanges":{"input":{"type":"lessThan","lessThan":{"left":{"type":"raw","raw":{"name":"p"}},"right":{"type":"raw","raw":{"name":"q"}}}}}})"},
      {"boolean ranges full", json(boolean_series_ranges(p_below_q(), int_lit(2), secs(3), RangeStart::ConditionStart)),
       R"({"type":"booleanRanges","booleanRanges":{"input":{"type":"lessThan","lessThan":{"left":{"type":"raw","raw":{"name":"p"}},"right":{"type":"raw","raw":{"name":"q"}}}},"minPoints":{"type":"literal","literal":2},"minDuration":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":3}}},"rangeStart":"CONDITION_START"}})"},
      {"numeric resample", json(numeric_series_resample(num("a"), secs(1))),
       R"({"type":"resampleV2","resampleV2":{"input":{"type":"raw","raw":{"name":"a"}},"interval":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":1}}}}})"},
      {"categorical resample", json(categorical_series_resample(cat("c"), secs(1))),
       R"({"type":"resampleV2","resampleV2":{"input":{"type":"raw","raw":{"name":"c"}},"interval":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":1}}}}})"},
      {"to durations without time unit",
       json(range_series_to_durations(ranges("r"), obj::UnboundedRangeBehavior::drop(), std::nullopt)),
       R"({"type":"rangeDuration","rangeDuration":{"input":{"type":"raw","raw":{"name":"r"}},"unboundedRangeBehavior":{"type":"drop","drop":{}}}})"},
      {"to durations in microseconds",
       json(range_series_to_durations(ranges("r"), obj::UnboundedRangeBehavior::clamp_to_window(), TimeUnit::Microseconds)),
       R"({"type":"rangeDuration","rangeDuration":{"input":{"type":"raw","raw":{"name":"r"}},"unboundedRangeBehavior":{"type":"clampToWindow","clampToWindow":{}},"timeUnit":"MICROSECONDS"}})"},
      {"numeric stale ranges", json(numeric_series_stale_ranges(num("a"), secs(30))),
       R"({"type":"numericStaleRangesV2","numericStaleRangesV2":{"input":{"type":"raw","raw":{"name":"a"}},"threshold":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":30}}}}})"},
      {"categorical stale ranges", json(categorical_series_stale_ranges(cat("c"), secs(30))),
       R"({"type":"categoricalStaleRangesV2","categoricalStaleRangesV2":{"input":{"type":"raw","raw":{"name":"c"}},"threshold":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":30}}}}})"},
      {"numeric filter within", json(numeric_series_filter_within(num("a"), ranges("r"))),
       R"({"type":"filterTransformation","filterTransformation":{"input":{"type":"raw","raw":{"name":"a"}},"filter":{"type":"raw","raw":{"name":"r"}}}})"},
      {"categorical filter within", json(categorical_series_filter_within(cat("c"), ranges("r"))),
       R"({"type":"filterTransformation","filterTransformation":{"input":{"type":"raw","raw":{"name":"c"}},"filter":{"type":"raw","raw":{"name":"r"}}}})"},
      {"crossover: first is inputA", json(numeric_series_crossover_ranges(num("b"), num("a"))),
       R"({"type":"seriesCrossoverRangesNode","seriesCrossoverRangesNode":{"inputA":{"type":"raw","raw":{"name":"b"}},"inputB":{"type":"raw","raw":{"name":"a"}}}})"},
      {"categorical nth point downsample", json(categorical_series_nth_point_downsample(cat("c"), int_lit(-5))),
       R"({"type":"nthPointDownsample","nthPointDownsample":{"input":{"type":"raw","raw":{"name":"c"}},"n":{"type":"literal","literal":-5}}})"},
  });
}

TEST(PythonConstruction, ValueMapKeepsRowsInOrder) {
  const obj::RangeMap low{.start = std::nullopt, .end = dbl(0), .output = str("low")};
  const obj::RangeMap high{.start = dbl(10), .end = std::nullopt, .output = str("high")};
  expect_cases({
      {"rows in given order, repeats kept", json(numeric_series_value_map(num("a"), {high, low, high}, str("mid"))),
       R"({"type":"valueMap","valueMap":{"input":{"type":"raw","raw":{"name":"a"}},"mapping":[{"start":{"type":"literal","literal":10.0},"output":{"type":"literal","literal":"high"}},{"end":{"type":"literal","literal":0.0},"output":{"type":"literal","literal":"low"}},{"start":{"type":"literal","literal":10.0},"output":{"type":"literal","literal":"high"}}],"default":{"type":"literal","literal":"mid"}}})"},
      {"no rows, no default", json(numeric_series_value_map(num("a"), {}, std::nullopt)),
       R"({"type":"valueMap","valueMap":{"input":{"type":"raw","raw":{"name":"a"}}}})"},
  });
}

TEST(PythonConstruction, EnumToNumericMappingIsOrderedByTextAndTheLaterPairWins) {
  std::vector<std::pair<std::string, obj::DoubleConstant>> pairs{
      {"b", dbl(1)}, {"a", dbl(2)}, {"b", dbl(3)}, {"B", dbl(4)}, {"ab", dbl(5)}};
  std::vector<std::pair<std::string, obj::DoubleConstant>> three_pairs{{"b", dbl(1)}, {"a", dbl(2)}, {"b", dbl(3)}};
  expect_cases({
      {"three pairs", json(categorical_series_to_numeric(cat("c"), std::move(three_pairs), std::nullopt)),
       R"({"type":"enumToNumeric","enumToNumeric":{"input":{"type":"raw","raw":{"name":"c"}},"mapping":{"a":{"type":"literal","literal":2.0},"b":{"type":"literal","literal":3.0}}}})"},
      {"byte order, with default", json(categorical_series_to_numeric(cat("c"), std::move(pairs), dbl(-1))),
       R"({"type":"enumToNumeric","enumToNumeric":{"input":{"type":"raw","raw":{"name":"c"}},"mapping":{"B":{"type":"literal","literal":4.0},"a":{"type":"literal","literal":2.0},"ab":{"type":"literal","literal":5.0},"b":{"type":"literal","literal":3.0}},"defaultValue":{"type":"literal","literal":-1.0}}})"},
      {"no pairs", json(categorical_series_to_numeric(cat("c"), {}, dbl(0))),
       R"({"type":"enumToNumeric","enumToNumeric":{"input":{"type":"raw","raw":{"name":"c"}},"defaultValue":{"type":"literal","literal":0.0}}})"},
  });
}

TEST(PythonConstruction, RefpropInputsFollowThePropertyDeclarationOrder) {
  std::vector<std::pair<RefpropProperty, obj::NumericSeries>> repeated;
  repeated.emplace_back(RefpropProperty::Pressure, num("a"));
  repeated.emplace_back(RefpropProperty::Temperature, num("b"));
  repeated.emplace_back(RefpropProperty::Pressure, num("c"));
  // Entropy is declared after internal energy though it sorts before it.
  std::vector<std::pair<RefpropProperty, obj::NumericSeries>> late_rows;
  late_rows.emplace_back(RefpropProperty::Viscosity, num("v"));
  late_rows.emplace_back(RefpropProperty::MassSpecificEntropy, num("s"));
  late_rows.emplace_back(RefpropProperty::MassSpecificInternalEnergy, num("u"));
  expect_cases({
      {"later pair wins",
       json(numeric_series_refprop(std::move(repeated), RefpropSubstance::Nitrogen, RefpropProperty::MassDensity)),
       R"({"type":"refpropV2","refpropV2":{"inputs":{"TEMPERATURE":{"type":"raw","raw":{"name":"b"}},"PRESSURE":{"type":"raw","raw":{"name":"c"}}},"substance":"NITROGEN","outputProperty":"MASS_DENSITY"}})"},
      {"declaration order, not alphabetical",
       json(numeric_series_refprop(std::move(late_rows), RefpropSubstance::JetA4658, RefpropProperty::Viscosity)),
       R"({"type":"refpropV2","refpropV2":{"inputs":{"MASS_SPECIFIC_INTERNAL_ENERGY":{"type":"raw","raw":{"name":"u"}},"MASS_SPECIFIC_ENTROPY":{"type":"raw","raw":{"name":"s"}},"VISCOSITY":{"type":"raw","raw":{"name":"v"}}},"substance":"JET_A_4658","outputProperty":"VISCOSITY"}})"},
      {"no inputs", json(numeric_series_refprop({}, RefpropSubstance::JetA3638, RefpropProperty::Temperature)),
       R"({"type":"refpropV2","refpropV2":{"substance":"JET_A_3638","outputProperty":"TEMPERATURE"}})"},
  });
}

TEST(PythonConstruction, CategoryRangesKeepValuesAndAlwaysWriteTheOperator) {
  expect_cases({
      {"no values", json(categorical_series_category_ranges(cat("c"), {}, std::nullopt, std::nullopt, std::nullopt,
                                                            EnumFilterOperator::IsIn)),
       R"({"type":"categoryFilterRangesV2","categoryFilterRangesV2":{"input":{"type":"raw","raw":{"name":"c"}},"operator":"IS_IN"}})"},
      {"values unsorted with repeats",
       json(categorical_series_category_ranges(cat("c"), {str("y"), str("x"), str("y")}, int_lit(2), std::nullopt,
                                               RangeStart::PersistenceStart, EnumFilterOperator::MatchesAnyRegex)),
       R"({"type":"categoryFilterRangesV2","categoryFilterRangesV2":{"input":{"type":"raw","raw":{"name":"c"}},"values":[{"type":"literal","literal":"y"},{"type":"literal","literal":"x"},{"type":"literal","literal":"y"}],"minPoints":{"type":"literal","literal":2},"rangeStart":"PERSISTENCE_START","operator":"MATCHES_ANY_REGEX"}})"},
      {"min duration, is not in",
       json(categorical_series_category_ranges(cat("c"), {str("x")}, std::nullopt, secs(4), std::nullopt,
                                               EnumFilterOperator::IsNotIn)),
       R"({"type":"categoryFilterRangesV2","categoryFilterRangesV2":{"input":{"type":"raw","raw":{"name":"c"}},"values":[{"type":"literal","literal":"x"}],"minDuration":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":4}}},"operator":"IS_NOT_IN"}})"},
  });
}

TEST(PythonConstruction, ThresholdRangesPutTheComparisonLast) {
  auto bare = [](auto fn) { return json(fn(num("s"), std::nullopt, std::nullopt, std::nullopt, dbl(5))); };
  auto bare_eq = [](auto fn) {
    return json(fn(num("s"), std::nullopt, std::nullopt, std::nullopt, dbl(5), std::nullopt));
  };
  auto persistence = RangeStart::try_from("persistence_start");
  ASSERT_TRUE(persistence.ok());
  expect_cases({
      {"gt", bare(range_series_threshold_ranges_v2_gt),
       R"({"type":"thresholdRangesV2","thresholdRangesV2":{"input":{"type":"raw","raw":{"name":"s"}},"comparison":{"type":"gt","gt":{"threshold":{"type":"literal","literal":5.0}}}}})"},
      {"ge", bare(range_series_threshold_ranges_v2_ge),
       R"({"type":"thresholdRangesV2","thresholdRangesV2":{"input":{"type":"raw","raw":{"name":"s"}},"comparison":{"type":"ge","ge":{"threshold":{"type":"literal","literal":5.0}}}}})"},
      {"lt", bare(range_series_threshold_ranges_v2_lt),
       R"({"type":"thresholdRangesV2","thresholdRangesV2":{"input":{"type":"raw","raw":{"name":"s"}},"comparison":{"type":"lt","lt":{"threshold":{"type":"literal","literal":5.0}}}}})"},
      {"le", bare(range_series_threshold_ranges_v2_le),
       R"({"type":"thresholdRangesV2","thresholdRangesV2":{"input":{"type":"raw","raw":{"name":"s"}},"comparison":{"type":"le","le":{"threshold":{"type":"literal","literal":5.0}}}}})"},
      {"eq without tolerance", bare_eq(range_series_threshold_ranges_v2_eq),
       R"({"type":"thresholdRangesV2","thresholdRangesV2":{"input":{"type":"raw","raw":{"name":"s"}},"comparison":{"type":"eq","eq":{"threshold":{"type":"literal","literal":5.0}}}}})"},
      {"ne without tolerance", bare_eq(range_series_threshold_ranges_v2_ne),
       R"({"type":"thresholdRangesV2","thresholdRangesV2":{"input":{"type":"raw","raw":{"name":"s"}},"comparison":{"type":"ne","ne":{"threshold":{"type":"literal","literal":5.0}}}}})"},
      {"gt with range start",
       json(range_series_threshold_ranges_v2_gt(num("s"), std::nullopt, std::nullopt, persistence.value(), dbl(5))),
       R"({"type":"thresholdRangesV2","thresholdRangesV2":{"input":{"type":"raw","raw":{"name":"s"}},"rangeStart":"PERSISTENCE_START","comparison":{"type":"gt","gt":{"threshold":{"type":"literal","literal":5.0}}}}})"},
      {"eq with every option; tolerance inside the comparison",
       json(range_series_threshold_ranges_v2_eq(num("s"), int_lit(3), secs(2), RangeStart::ConditionStart, dbl(1.5),
                                                dbl(0.125))),
       R"({"type":"thresholdRangesV2","thresholdRangesV2":{"input":{"type":"raw","raw":{"name":"s"}},"minPoints":{"type":"literal","literal":3},"minDuration":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":2}}},"rangeStart":"CONDITION_START","comparison":{"type":"eq","eq":{"threshold":{"type":"literal","literal":1.5},"tolerance":{"type":"literal","literal":0.125}}}}})"},
      {"ne with tolerance only",
       json(range_series_threshold_ranges_v2_ne(num("s"), std::nullopt, std::nullopt, std::nullopt, dbl(-2), dbl(1))),
       R"({"type":"thresholdRangesV2","thresholdRangesV2":{"input":{"type":"raw","raw":{"name":"s"}},"comparison":{"type":"ne","ne":{"threshold":{"type":"literal","literal":-2.0},"tolerance":{"type":"literal","literal":1.0}}}}})"},
  });
}

TEST(PythonConstruction, StabilityDetectionFillsNoDefault) {
  expect_cases({
      {"absolute without min points",
       json(range_series_stability_detection_v2_absolute(num("s"), dbl(0.5), secs(10), std::nullopt)),
       R"({"type":"stabilityDetectionV2","stabilityDetectionV2":{"input":{"type":"raw","raw":{"name":"s"}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":10}}},"threshold":{"type":"absolute","absolute":{"value":{"type":"literal","literal":0.5}}}}})"},
      {"percentage with min points",
       json(range_series_stability_detection_v2_percentage(num("s"), dbl(2), secs(10), int_lit(4))),
       R"({"type":"stabilityDetectionV2","stabilityDetectionV2":{"input":{"type":"raw","raw":{"name":"s"}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":10}}},"minPoints":{"type":"literal","literal":4},"threshold":{"type":"percentage","percentage":{"value":{"type":"literal","literal":2.0}}}}})"},
  });
}

TEST(PythonConstruction, GroupWithinRangesAggregationIsTheOneTheNameGives) {
  auto call = [](auto fn) { return json(fn(num("a"), ranges("r"))); };
  expect_cases({
      {"sum", call(numeric_series_group_within_ranges_v2_sum),
       R"({"type":"groupWithinRangesV2","groupWithinRangesV2":{"input":{"type":"raw","raw":{"name":"a"}},"ranges":{"type":"raw","raw":{"name":"r"}},"aggregation":{"type":"sum","sum":{}}}})"},
      {"average", call(numeric_series_group_within_ranges_v2_average),
       R"({"type":"groupWithinRangesV2","groupWithinRangesV2":{"input":{"type":"raw","raw":{"name":"a"}},"ranges":{"type":"raw","raw":{"name":"r"}},"aggregation":{"type":"average","average":{}}}})"},
      {"min", call(numeric_series_group_within_ranges_v2_min),
       R"({"type":"groupWithinRangesV2","groupWithinRangesV2":{"input":{"type":"raw","raw":{"name":"a"}},"ranges":{"type":"raw","raw":{"name":"r"}},"aggregation":{"type":"min","min":{}}}})"},
      {"max", call(numeric_series_group_within_ranges_v2_max),
       R"({"type":"groupWithinRangesV2","groupWithinRangesV2":{"input":{"type":"raw","raw":{"name":"a"}},"ranges":{"type":"raw","raw":{"name":"r"}},"aggregation":{"type":"max","max":{}}}})"},
      {"count", call(numeric_series_group_within_ranges_v2_count),
       R"({"type":"groupWithinRangesV2","groupWithinRangesV2":{"input":{"type":"raw","raw":{"name":"a"}},"ranges":{"type":"raw","raw":{"name":"r"}},"aggregation":{"type":"count","count":{}}}})"},
      {"standard deviation", call(numeric_series_group_within_ranges_v2_standard_deviation),
       R"({"type":"groupWithinRangesV2","groupWithinRangesV2":{"input":{"type":"raw","raw":{"name":"a"}},"ranges":{"type":"raw","raw":{"name":"r"}},"aggregation":{"type":"standardDeviation","standardDeviation":{}}}})"},
      {"root mean square", call(numeric_series_group_within_ranges_v2_root_mean_square),
       R"({"type":"groupWithinRangesV2","groupWithinRangesV2":{"input":{"type":"raw","raw":{"name":"a"}},"ranges":{"type":"raw","raw":{"name":"r"}},"aggregation":{"type":"rootMeanSquare","rootMeanSquare":{}}}})"},
      {"percentile", json(numeric_series_group_within_ranges_v2_percentile(num("a"), ranges("r"), dbl(90))),
       R"({"type":"groupWithinRangesV2","groupWithinRangesV2":{"input":{"type":"raw","raw":{"name":"a"}},"ranges":{"type":"raw","raw":{"name":"r"}},"aggregation":{"type":"percentile","percentile":{"percentile":{"type":"literal","literal":90.0}}}}})"},
  });
}

TEST(PythonConstruction, CategoricalUdfAggregationWithAndWithoutASourceObject) {
  const obj::AggregationBuilder rolling = obj::AggregationBuilder::rolling_points(
      obj::RollingPointsAggregationBuilder{.input = obj::Series::enum_(cat("c")), .points = int_lit(3)});
  const std::string expected =
      R"({"type":"enumAggregation","enumAggregation":{"input":{"type":"rollingPoints","rollingPoints":{"input":{"type":"enum","enum":{"type":"raw","raw":{"name":"c"}}},"points":{"type":"literal","literal":3}}},"operator":{"type":"udf","udf":{"source":{"type":"rust","rust":{"sourceCode":"|v| v\n"}}}}}})";
  expect_cases({
      {"source object",
       json(categorical_series_enum_aggregation_udf(rolling, obj::UdfSource::rust(obj::RustUdfSource{.source_code = "|v| v\n"}))),
       expected},
      {"source text", json(categorical_series_enum_aggregation_udf_rust(rolling, "|v| v\n")), expected},
  });
}

}  // namespace
}  // namespace brastel_python::python_construction
