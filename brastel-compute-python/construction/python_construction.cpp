#include "python_construction.h"

#include <map>
#include <utility>

#include "brastel_compute/conjure/builders.h"

namespace brastel_python::python_construction {
namespace {

using ::brastel_compute::to_wire;

// The shared tail of the six threshold functions: the comparison is already
// built around the threshold.
wire::RangeSeries threshold_ranges(wire::NumericSeries input, std::optional<wire::IntegerConstant> min_points,
                                   std::optional<wire::Duration> min_duration,
                                   std::optional<wire::RangeStart> range_start,
                                   wire::ThresholdRangesComparison comparison) {
  return wire::RangeSeries::threshold_ranges_v2(wire::threshold_ranges_v2::builder()
                                                    .input(std::move(input))
                                                    .comparison(std::move(comparison))
                                                    .min_points(std::move(min_points))
                                                    .min_duration(std::move(min_duration))
                                                    .range_start(std::move(range_start))
                                                    .build());
}

wire::ThresholdRangesOrderedComparison ordered(wire::DoubleConstant threshold) {
  return wire::ThresholdRangesOrderedComparison{.threshold = std::move(threshold)};
}

wire::ThresholdRangesEqualityComparison equality(wire::DoubleConstant threshold,
                                                 std::optional<wire::DoubleConstant> tolerance) {
  return wire::threshold_ranges_equality_comparison::builder()
      .threshold(std::move(threshold))
      .tolerance(std::move(tolerance))
      .build();
}

wire::RangeSeries stability_detection(wire::NumericSeries input, wire::Duration window, wire::Threshold threshold,
                                      std::optional<wire::IntegerConstant> min_points) {
  return wire::RangeSeries::stability_detection_v2(wire::stability_detection_ranges_v2::builder()
                                                       .input(std::move(input))
                                                       .window(std::move(window))
                                                       .threshold(std::move(threshold))
                                                       .min_points(std::move(min_points))
                                                       .build());
}

wire::NumericSeries group_within_ranges(wire::NumericSeries input, wire::RangeSeries ranges,
                                        wire::NumericAggregationOperator aggregation) {
  return wire::NumericSeries::group_within_ranges_v2(wire::group_within_ranges_series_v2::builder()
                                                         .input(std::move(input))
                                                         .ranges(std::move(ranges))
                                                         .aggregation(std::move(aggregation))
                                                         .build());
}

}  // namespace

wire::RangeSeries boolean_series_ranges(wire::BooleanSeries input, std::optional<wire::IntegerConstant> min_points,
                                        std::optional<wire::Duration> min_duration,
                                        std::optional<::brastel_compute::RangeStart> range_start) {
  auto wire_start = to_wire(range_start);
  return wire::RangeSeries::boolean_ranges(wire::boolean_ranges::builder()
                                               .input(std::move(input))
                                               .min_points(std::move(min_points))
                                               .min_duration(std::move(min_duration))
                                               .range_start(std::move(wire_start))
                                               .build());
}

wire::NumericSeries numeric_series_refprop(
    std::vector<std::pair<::brastel_compute::RefpropProperty, wire::NumericSeries>> inputs,
    ::brastel_compute::RefpropSubstance substance, ::brastel_compute::RefpropProperty output_property) {
  // Keyed by the wire property, so the JSON lists the inputs in the
  // property enum's declaration order whatever the order of the list.
  std::map<wire::RefpropProperty, wire::NumericSeries> by_property;
  for (auto& [property, series] : inputs) {
    by_property.insert_or_assign(::brastel_compute::to_wire_map_key(property), std::move(series));
  }
  auto wire_substance = to_wire(substance);
  auto wire_output = to_wire(output_property);
  return wire::NumericSeries::refprop_v2(wire::refprop_series_v2::builder()
                                             .substance(std::move(wire_substance))
                                             .output_property(std::move(wire_output))
                                             .inputs(std::move(by_property))
                                             .build());
}

wire::NumericSeries numeric_series_resample(wire::NumericSeries input, wire::Duration interval) {
  return wire::NumericSeries::resample_v2(
      wire::NumericResampleSeriesV2{.input = std::move(input), .interval = std::move(interval)});
}

wire::EnumSeries numeric_series_value_map(wire::NumericSeries input, std::vector<wire::RangeMap> mapping,
                                          std::optional<wire::StringConstant> default_) {
  return wire::EnumSeries::value_map(wire::value_map_series::builder()
                                         .input(std::move(input))
                                         .mapping(std::move(mapping))
                                         .default_(std::move(default_))
                                         .build());
}

wire::NumericSeries range_series_to_durations(wire::RangeSeries input,
                                              wire::UnboundedRangeBehavior unbounded_range_behavior,
                                              std::optional<::brastel_compute::TimeUnit> time_unit) {
  auto wire_unit = to_wire(time_unit);
  return wire::NumericSeries::range_duration(
      wire::RangeDurationSeries{.input = std::move(input),
                                .unbounded_range_behavior = std::move(unbounded_range_behavior),
                                .time_unit = std::move(wire_unit)});
}

wire::EnumSeries categorical_series_resample(wire::EnumSeries input, wire::Duration interval) {
  return wire::EnumSeries::resample_v2(
      wire::EnumResampleSeriesV2{.input = std::move(input), .interval = std::move(interval)});
}

wire::RangeSeries numeric_series_stale_ranges(wire::NumericSeries input, wire::Duration threshold) {
  return wire::RangeSeries::numeric_stale_ranges_v2(
      wire::NumericStaleRangesV2{.input = std::move(input), .threshold = std::move(threshold)});
}

wire::RangeSeries categorical_series_stale_ranges(wire::EnumSeries input, wire::Duration threshold) {
  return wire::RangeSeries::categorical_stale_ranges_v2(
      wire::CategoricalStaleRangesV2{.input = std::move(input), .threshold = std::move(threshold)});
}

wire::NumericSeries numeric_series_filter_within(wire::NumericSeries input, wire::RangeSeries ranges) {
  return wire::NumericSeries::filter_transformation(
      wire::NumericFilterTransformationSeries{.input = std::move(input), .filter = std::move(ranges)});
}

wire::EnumSeries categorical_series_filter_within(wire::EnumSeries input, wire::RangeSeries ranges) {
  return wire::EnumSeries::filter_transformation(
      wire::EnumFilterTransformationSeries{.input = std::move(input), .filter = std::move(ranges)});
}

wire::NumericSeries categorical_series_to_numeric(wire::EnumSeries input,
                                                  std::vector<std::pair<std::string, wire::DoubleConstant>> mapping,
                                                  std::optional<wire::DoubleConstant> default_value) {
  std::map<std::string, wire::DoubleConstant> by_text;
  for (auto& [text, value] : mapping) by_text.insert_or_assign(std::move(text), std::move(value));
  return wire::NumericSeries::enum_to_numeric(wire::enum_to_numeric_series::builder()
                                                  .input(std::move(input))
                                                  .mapping(std::move(by_text))
                                                  .default_value(std::move(default_value))
                                                  .build());
}

wire::RangeSeries numeric_series_crossover_ranges(wire::NumericSeries input_a, wire::NumericSeries input_b) {
  return wire::RangeSeries::series_crossover_ranges_node(
      wire::SeriesCrossoverRanges{.input_a = std::move(input_a), .input_b = std::move(input_b)});
}

wire::RangeSeries categorical_series_category_ranges(wire::EnumSeries input, std::vector<wire::StringConstant> values,
                                                     std::optional<wire::IntegerConstant> min_points,
                                                     std::optional<wire::Duration> min_duration,
                                                     std::optional<::brastel_compute::RangeStart> range_start,
                                                     ::brastel_compute::EnumFilterOperator operator_) {
  auto wire_operator = to_wire(operator_);
  auto wire_start = to_wire(range_start);
  return wire::RangeSeries::category_filter_ranges_v2(wire::category_filter_ranges_v2::builder()
                                                          .input(std::move(input))
                                                          .operator_(std::move(wire_operator))
                                                          .values(std::move(values))
                                                          .min_points(std::move(min_points))
                                                          .min_duration(std::move(min_duration))
                                                          .range_start(std::move(wire_start))
                                                          .build());
}

wire::EnumSeries categorical_series_nth_point_downsample(wire::EnumSeries input, wire::IntegerConstant n) {
  return wire::EnumSeries::nth_point_downsample(
      wire::EnumNthPointDownsampleSeries{.input = std::move(input), .n = std::move(n)});
}

wire::RangeSeries range_series_threshold_ranges_v2_gt(wire::NumericSeries input,
                                                      std::optional<wire::IntegerConstant> min_points,
                                                      std::optional<wire::Duration> min_duration,
                                                      std::optional<::brastel_compute::RangeStart> range_start,
                                                      wire::DoubleConstant threshold) {
  auto wire_start = to_wire(range_start);
  return threshold_ranges(std::move(input), std::move(min_points), std::move(min_duration), std::move(wire_start),
                          wire::ThresholdRangesComparison::gt(ordered(std::move(threshold))));
}

wire::RangeSeries range_series_threshold_ranges_v2_ge(wire::NumericSeries input,
                                                      std::optional<wire::IntegerConstant> min_points,
                                                      std::optional<wire::Duration> min_duration,
                                                      std::optional<::brastel_compute::RangeStart> range_start,
                                                      wire::DoubleConstant threshold) {
  auto wire_start = to_wire(range_start);
  return threshold_ranges(std::move(input), std::move(min_points), std::move(min_duration), std::move(wire_start),
                          wire::ThresholdRangesComparison::ge(ordered(std::move(threshold))));
}

wire::RangeSeries range_series_threshold_ranges_v2_lt(wire::NumericSeries input,
                                                      std::optional<wire::IntegerConstant> min_points,
                                                      std::optional<wire::Duration> min_duration,
                                                      std::optional<::brastel_compute::RangeStart> range_start,
                                                      wire::DoubleConstant threshold) {
  auto wire_start = to_wire(range_start);
  return threshold_ranges(std::move(input), std::move(min_points), std::move(min_duration), std::move(wire_start),
                          wire::ThresholdRangesComparison::lt(ordered(std::move(threshold))));
}

wire::RangeSeries range_series_threshold_ranges_v2_le(wire::NumericSeries input,
                                                      std::optional<wire::IntegerConstant> min_points,
                                                      std::optional<wire::Duration> min_duration,
                                                      std::optional<::brastel_compute::RangeStart> range_start,
                                                      wire::DoubleConstant threshold) {
  auto wire_start = to_wire(range_start);
  return threshold_ranges(std::move(input), std::move(min_points), std::move(min_duration), std::move(wire_start),
                          wire::ThresholdRangesComparison::le(ordered(std::move(threshold))));
}

wire::RangeSeries range_series_threshold_ranges_v2_eq(wire::NumericSeries input,
                                                      std::optional<wire::IntegerConstant> min_points,
                                                      std::optional<wire::Duration> min_duration,
                                                      std::optional<::brastel_compute::RangeStart> range_start,
                                                      wire::DoubleConstant threshold,
                                                      std::optional<wire::DoubleConstant> tolerance) {
  auto wire_start = to_wire(range_start);
  return threshold_ranges(std::move(input), std::move(min_points), std::move(min_duration), std::move(wire_start),
                          wire::ThresholdRangesComparison::eq(equality(std::move(threshold), std::move(tolerance))));
}

wire::RangeSeries range_series_threshold_ranges_v2_ne(wire::NumericSeries input,
                                                      std::optional<wire::IntegerConstant> min_points,
                                                      std::optional<wire::Duration> min_duration,
                                                      std::optional<::brastel_compute::RangeStart> range_start,
                                                      wire::DoubleConstant threshold,
                                                      std::optional<wire::DoubleConstant> tolerance) {
  auto wire_start = to_wire(range_start);
  return threshold_ranges(std::move(input), std::move(min_points), std::move(min_duration), std::move(wire_start),
                          wire::ThresholdRangesComparison::ne(equality(std::move(threshold), std::move(tolerance))));
}

wire::RangeSeries range_series_stability_detection_v2_absolute(wire::NumericSeries input, wire::DoubleConstant value,
                                                               wire::Duration window,
                                                               std::optional<wire::IntegerConstant> min_points) {
  return stability_detection(std::move(input), std::move(window),
                             wire::Threshold::absolute(wire::AbsoluteThreshold{.value = std::move(value)}),
                             std::move(min_points));
}

wire::RangeSeries range_series_stability_detection_v2_percentage(wire::NumericSeries input, wire::DoubleConstant value,
                                                                 wire::Duration window,
                                                                 std::optional<wire::IntegerConstant> min_points) {
  return stability_detection(std::move(input), std::move(window),
                             wire::Threshold::percentage(wire::PercentageThreshold{.value = std::move(value)}),
                             std::move(min_points));
}

wire::NumericSeries numeric_series_group_within_ranges_v2_sum(wire::NumericSeries input, wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges), wire::NumericAggregationOperator::sum());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_average(wire::NumericSeries input,
                                                                  wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges), wire::NumericAggregationOperator::average());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_min(wire::NumericSeries input, wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges), wire::NumericAggregationOperator::min());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_max(wire::NumericSeries input, wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges), wire::NumericAggregationOperator::max());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_count(wire::NumericSeries input, wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges), wire::NumericAggregationOperator::count());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_standard_deviation(wire::NumericSeries input,
                                                                              wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges),
                             wire::NumericAggregationOperator::standard_deviation());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_root_mean_square(wire::NumericSeries input,
                                                                            wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges),
                             wire::NumericAggregationOperator::root_mean_square());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_percentile(wire::NumericSeries input,
                                                                     wire::RangeSeries ranges,
                                                                     wire::DoubleConstant percentile) {
  return group_within_ranges(
      std::move(input), std::move(ranges),
      wire::NumericAggregationOperator::percentile(wire::Percentile{.percentile = std::move(percentile)}));
}

wire::EnumSeries categorical_series_enum_aggregation_udf(wire::AggregationBuilder input, wire::UdfSource source) {
  return wire::EnumSeries::enum_aggregation(wire::EnumAggregation{
      .input = std::move(input),
      .operator_ = wire::EnumAggregationOperator::udf(wire::EnumAggregationUdf{.source = std::move(source)})});
}

wire::EnumSeries categorical_series_enum_aggregation_udf_rust(wire::AggregationBuilder input,
                                                              std::string source_code) {
  return categorical_series_enum_aggregation_udf(
      std::move(input), wire::UdfSource::rust(wire::RustUdfSource{.source_code = std::move(source_code)}));
}

}  // namespace brastel_python::python_construction
