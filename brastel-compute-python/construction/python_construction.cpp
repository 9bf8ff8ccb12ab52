#include "python_construction.h"

#include <map>
#include <utility>

#include "brastel_compute/boolean_range_construction.h"
#include "brastel_compute/conjure/builders.h"
#include "brastel_compute/node.h"

namespace brastel_python::python_construction {
namespace {

using ::brastel_compute::node;
using ::brastel_compute::to_wire;
using Aggregation = wire::NumericAggregationOperator;
using Comparison = wire::ThresholdRangesComparison;
using MinPoints = std::optional<wire::IntegerConstant>;
using MinDuration = std::optional<wire::Duration>;
using Start = std::optional<::brastel_compute::RangeStart>;
using Tolerance = std::optional<wire::DoubleConstant>;

// The six threshold functions: Arm is the factory of the comparison the name
// gives, its payload the threshold (and the tolerance for eq and ne). The
// record directly, not through its staged builder: this is the completion
// of a builder object, called often, and the stages cost a third of it.
template <auto Arm, class... Payload>
wire::RangeSeries threshold_ranges(wire::NumericSeries input, MinPoints min_points, MinDuration min_duration,
                                   Start range_start, Payload... payload) {
  return node<&wire::RangeSeries::threshold_ranges_v2>(std::move(input), std::move(min_points),
                                                       std::move(min_duration), to_wire(range_start),
                                                       node<Arm>(std::move(payload)...));
}

// The two stability functions: Arm is the factory of the threshold kind.
template <auto Arm>
wire::RangeSeries stability_detection(wire::NumericSeries input, wire::DoubleConstant value, wire::Duration window,
                                      MinPoints min_points) {
  return wire::RangeSeries::stability_detection_v2(wire::stability_detection_ranges_v2::builder()
                                                       .input(std::move(input))
                                                       .window(std::move(window))
                                                       .threshold(node<Arm>(std::move(value)))
                                                       .min_points(std::move(min_points))
                                                       .build());
}

wire::NumericSeries group_within_ranges(wire::NumericSeries input, wire::RangeSeries ranges, Aggregation aggregation) {
  return node<&wire::NumericSeries::group_within_ranges_v2>(std::move(input), std::move(ranges),
                                                            std::move(aggregation));
}

}  // namespace

wire::RangeSeries boolean_series_ranges(wire::BooleanSeries input, MinPoints min_points, MinDuration min_duration,
                                        Start range_start) {
  return node<&wire::RangeSeries::boolean_ranges>(std::move(input), std::move(min_points), std::move(min_duration),
                                                  to_wire(range_start));
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
  return node<&wire::NumericSeries::refprop_v2>(std::move(by_property), to_wire(substance),
                                                to_wire(output_property));
}

wire::NumericSeries numeric_series_resample(wire::NumericSeries input, wire::Duration interval) {
  return node<&wire::NumericSeries::resample_v2>(std::move(input), std::move(interval));
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
  return node<&wire::NumericSeries::range_duration>(std::move(input), std::move(unbounded_range_behavior),
                                                    to_wire(time_unit));
}

wire::EnumSeries categorical_series_resample(wire::EnumSeries input, wire::Duration interval) {
  return node<&wire::EnumSeries::resample_v2>(std::move(input), std::move(interval));
}

wire::RangeSeries numeric_series_stale_ranges(wire::NumericSeries input, wire::Duration threshold) {
  return node<&wire::RangeSeries::numeric_stale_ranges_v2>(std::move(input), std::move(threshold));
}

wire::RangeSeries categorical_series_stale_ranges(wire::EnumSeries input, wire::Duration threshold) {
  return node<&wire::RangeSeries::categorical_stale_ranges_v2>(std::move(input), std::move(threshold));
}

wire::NumericSeries numeric_series_filter_within(wire::NumericSeries input, wire::RangeSeries ranges) {
  return node<&wire::NumericSeries::filter_transformation>(std::move(input), std::move(ranges));
}

wire::EnumSeries categorical_series_filter_within(wire::EnumSeries input, wire::RangeSeries ranges) {
  return node<&wire::EnumSeries::filter_transformation>(std::move(input), std::move(ranges));
}

wire::NumericSeries categorical_series_to_numeric(wire::EnumSeries input,
                                                  std::vector<std::pair<std::string, wire::DoubleConstant>> mapping,
                                                  std::optional<wire::DoubleConstant> default_value) {
  std::map<std::string, wire::DoubleConstant> by_text;
  for (auto& [text, value] : mapping) by_text.insert_or_assign(std::move(text), std::move(value));
  return node<&wire::NumericSeries::enum_to_numeric>(std::move(input), std::move(by_text), std::move(default_value));
}

wire::RangeSeries numeric_series_crossover_ranges(wire::NumericSeries input_a, wire::NumericSeries input_b) {
  return node<&wire::RangeSeries::series_crossover_ranges_node>(std::move(input_a), std::move(input_b));
}

wire::RangeSeries categorical_series_category_ranges(wire::EnumSeries input, std::vector<wire::StringConstant> values,
                                                     MinPoints min_points, MinDuration min_duration,
                                                     Start range_start,
                                                     ::brastel_compute::EnumFilterOperator operator_) {
  return node<&wire::RangeSeries::category_filter_ranges_v2>(std::move(input), std::move(values),
                                                             std::move(min_points), std::move(min_duration),
                                                             to_wire(range_start), to_wire(operator_));
}

wire::EnumSeries categorical_series_nth_point_downsample(wire::EnumSeries input, wire::IntegerConstant n) {
  return node<&wire::EnumSeries::nth_point_downsample>(std::move(input), std::move(n));
}

wire::RangeSeries range_series_threshold_ranges_v2_gt(wire::NumericSeries input, MinPoints min_points,
                                                      MinDuration min_duration, Start range_start,
                                                      wire::DoubleConstant threshold) {
  return threshold_ranges<&Comparison::gt>(std::move(input), std::move(min_points), std::move(min_duration),
                                           range_start, std::move(threshold));
}

wire::RangeSeries range_series_threshold_ranges_v2_ge(wire::NumericSeries input, MinPoints min_points,
                                                      MinDuration min_duration, Start range_start,
                                                      wire::DoubleConstant threshold) {
  return threshold_ranges<&Comparison::ge>(std::move(input), std::move(min_points), std::move(min_duration),
                                           range_start, std::move(threshold));
}

wire::RangeSeries range_series_threshold_ranges_v2_lt(wire::NumericSeries input, MinPoints min_points,
                                                      MinDuration min_duration, Start range_start,
                                                      wire::DoubleConstant threshold) {
  return threshold_ranges<&Comparison::lt>(std::move(input), std::move(min_points), std::move(min_duration),
                                           range_start, std::move(threshold));
}

wire::RangeSeries range_series_threshold_ranges_v2_le(wire::NumericSeries input, MinPoints min_points,
                                                      MinDuration min_duration, Start range_start,
                                                      wire::DoubleConstant threshold) {
  return threshold_ranges<&Comparison::le>(std::move(input), std::move(min_points), std::move(min_duration),
                                           range_start, std::move(threshold));
}

wire::RangeSeries range_series_threshold_ranges_v2_eq(wire::NumericSeries input, MinPoints min_points,
                                                      MinDuration min_duration, Start range_start,
                                                      wire::DoubleConstant threshold, Tolerance tolerance) {
  return threshold_ranges<&Comparison::eq>(std::move(input), std::move(min_points), std::move(min_duration),
                                           range_start, std::move(threshold), std::move(tolerance));
}

wire::RangeSeries range_series_threshold_ranges_v2_ne(wire::NumericSeries input, MinPoints min_points,
                                                      MinDuration min_duration, Start range_start,
                                                      wire::DoubleConstant threshold, Tolerance tolerance) {
  return threshold_ranges<&Comparison::ne>(std::move(input), std::move(min_points), std::move(min_duration),
                                           range_start, std::move(threshold), std::move(tolerance));
}

wire::RangeSeries range_series_stability_detection_v2_absolute(wire::NumericSeries input, wire::DoubleConstant value,
                                                               wire::Duration window, MinPoints min_points) {
  return stability_detection<&wire::Threshold::absolute>(std::move(input), std::move(value), std::move(window),
                                                         std::move(min_points));
}

wire::RangeSeries range_series_stability_detection_v2_percentage(wire::NumericSeries input, wire::DoubleConstant value,
                                                                 wire::Duration window, MinPoints min_points) {
  return stability_detection<&wire::Threshold::percentage>(std::move(input), std::move(value), std::move(window),
                                                           std::move(min_points));
}

wire::NumericSeries numeric_series_group_within_ranges_v2_sum(wire::NumericSeries input, wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges), Aggregation::sum());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_average(wire::NumericSeries input,
                                                                  wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges), Aggregation::average());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_min(wire::NumericSeries input, wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges), Aggregation::min());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_max(wire::NumericSeries input, wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges), Aggregation::max());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_count(wire::NumericSeries input, wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges), Aggregation::count());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_standard_deviation(wire::NumericSeries input,
                                                                              wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges), Aggregation::standard_deviation());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_root_mean_square(wire::NumericSeries input,
                                                                            wire::RangeSeries ranges) {
  return group_within_ranges(std::move(input), std::move(ranges), Aggregation::root_mean_square());
}

wire::NumericSeries numeric_series_group_within_ranges_v2_percentile(wire::NumericSeries input,
                                                                     wire::RangeSeries ranges,
                                                                     wire::DoubleConstant percentile) {
  return group_within_ranges(std::move(input), std::move(ranges),
                             node<&Aggregation::percentile>(std::move(percentile)));
}

wire::EnumSeries categorical_series_enum_aggregation_udf(wire::AggregationBuilder input, wire::UdfSource source) {
  return ::brastel_compute::categorical_series_enum_aggregation(
      std::move(input), node<&wire::EnumAggregationOperator::udf>(std::move(source)));
}

wire::EnumSeries categorical_series_enum_aggregation_udf_rust(wire::AggregationBuilder input,
                                                              std::string source_code) {
  return categorical_series_enum_aggregation_udf(std::move(input),
                                                 node<&wire::UdfSource::rust>(std::move(source_code)));
}

}  // namespace brastel_python::python_construction
