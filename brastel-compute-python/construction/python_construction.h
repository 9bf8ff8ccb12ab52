// Construction functions of the newer node kinds, called only by the Python
// classes: each takes object-model values and core enums by value (never a
// Python object) and returns one node. Lists keep their order and repeats;
// an absent optional argument leaves its field absent; no value is checked
// and no default is filled in.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "brastel_compute/conjure/objects.h"
#include "brastel_compute/enums.h"

namespace brastel_python::python_construction {

namespace wire = ::brastel_compute::conjure::objects;

wire::RangeSeries boolean_series_ranges(wire::BooleanSeries input, std::optional<wire::IntegerConstant> min_points,
                                        std::optional<wire::Duration> min_duration,
                                        std::optional<::brastel_compute::RangeStart> range_start);

// The inputs map is keyed by property in the property enum's declaration
// order; the last pair for a property wins.
wire::NumericSeries numeric_series_refprop(
    std::vector<std::pair<::brastel_compute::RefpropProperty, wire::NumericSeries>> inputs,
    ::brastel_compute::RefpropSubstance substance, ::brastel_compute::RefpropProperty output_property);

wire::NumericSeries numeric_series_resample(wire::NumericSeries input, wire::Duration interval);
wire::EnumSeries numeric_series_value_map(wire::NumericSeries input, std::vector<wire::RangeMap> mapping,
                                          std::optional<wire::StringConstant> default_);
wire::NumericSeries range_series_to_durations(wire::RangeSeries input,
                                              wire::UnboundedRangeBehavior unbounded_range_behavior,
                                              std::optional<::brastel_compute::TimeUnit> time_unit);
wire::EnumSeries categorical_series_resample(wire::EnumSeries input, wire::Duration interval);
wire::RangeSeries numeric_series_stale_ranges(wire::NumericSeries input, wire::Duration threshold);
wire::RangeSeries categorical_series_stale_ranges(wire::EnumSeries input, wire::Duration threshold);
wire::NumericSeries numeric_series_filter_within(wire::NumericSeries input, wire::RangeSeries ranges);
wire::EnumSeries categorical_series_filter_within(wire::EnumSeries input, wire::RangeSeries ranges);

// The mapping is keyed by text, ordered by bytes; the last pair for a text wins.
wire::NumericSeries categorical_series_to_numeric(wire::EnumSeries input,
                                                  std::vector<std::pair<std::string, wire::DoubleConstant>> mapping,
                                                  std::optional<wire::DoubleConstant> default_value);

wire::RangeSeries numeric_series_crossover_ranges(wire::NumericSeries input_a, wire::NumericSeries input_b);
wire::RangeSeries categorical_series_category_ranges(wire::EnumSeries input, std::vector<wire::StringConstant> values,
                                                     std::optional<wire::IntegerConstant> min_points,
                                                     std::optional<wire::Duration> min_duration,
                                                     std::optional<::brastel_compute::RangeStart> range_start,
                                                     ::brastel_compute::EnumFilterOperator operator_);
wire::EnumSeries categorical_series_nth_point_downsample(wire::EnumSeries input, wire::IntegerConstant n);

// The families below share a function type each: one signature, written
// once, for functions that differ only in the variant they build.

// "thresholdRangesV2" with the comparison the name gives, holding the
// threshold; for eq and ne the tolerance goes into the comparison beside it.
using ThresholdRangesFunction = wire::RangeSeries(wire::NumericSeries input,
                                                  std::optional<wire::IntegerConstant> min_points,
                                                  std::optional<wire::Duration> min_duration,
                                                  std::optional<::brastel_compute::RangeStart> range_start,
                                                  wire::DoubleConstant threshold);
using ThresholdRangesWithToleranceFunction = wire::RangeSeries(
    wire::NumericSeries input, std::optional<wire::IntegerConstant> min_points,
    std::optional<wire::Duration> min_duration, std::optional<::brastel_compute::RangeStart> range_start,
    wire::DoubleConstant threshold, std::optional<wire::DoubleConstant> tolerance);
ThresholdRangesFunction range_series_threshold_ranges_v2_gt, range_series_threshold_ranges_v2_ge,
    range_series_threshold_ranges_v2_lt, range_series_threshold_ranges_v2_le;
ThresholdRangesWithToleranceFunction range_series_threshold_ranges_v2_eq, range_series_threshold_ranges_v2_ne;

// "stabilityDetectionV2" with the threshold "absolute" or "percentage".
using StabilityDetectionFunction = wire::RangeSeries(wire::NumericSeries input, wire::DoubleConstant value,
                                                     wire::Duration window,
                                                     std::optional<wire::IntegerConstant> min_points);
StabilityDetectionFunction range_series_stability_detection_v2_absolute,
    range_series_stability_detection_v2_percentage;

// "groupWithinRangesV2" with the aggregation the name gives.
using GroupWithinRangesFunction = wire::NumericSeries(wire::NumericSeries input, wire::RangeSeries ranges);
GroupWithinRangesFunction numeric_series_group_within_ranges_v2_sum, numeric_series_group_within_ranges_v2_average,
    numeric_series_group_within_ranges_v2_min, numeric_series_group_within_ranges_v2_max,
    numeric_series_group_within_ranges_v2_count, numeric_series_group_within_ranges_v2_standard_deviation,
    numeric_series_group_within_ranges_v2_root_mean_square;
wire::NumericSeries numeric_series_group_within_ranges_v2_percentile(wire::NumericSeries input,
                                                                     wire::RangeSeries ranges,
                                                                     wire::DoubleConstant percentile);

// "enumAggregation" whose operator is "udf" holding the source.
wire::EnumSeries categorical_series_enum_aggregation_udf(wire::AggregationBuilder input, wire::UdfSource source);
// As above with UdfSource "rust" holding the text.
wire::EnumSeries categorical_series_enum_aggregation_udf_rust(wire::AggregationBuilder input, std::string source_code);

}  // namespace brastel_python::python_construction
