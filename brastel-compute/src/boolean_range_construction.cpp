#include "brastel_compute/boolean_range_construction.h"

#include <utility>

#include "brastel_compute/conjure/builders.h"

namespace brastel_compute {

namespace wire = conjure::objects;
using wire::BooleanSeries;
using wire::DoubleConstant;
using wire::Duration;
using wire::EnumSeries;
using wire::IntegerConstant;
using wire::NumericSeries;
using wire::RangeSeries;

BooleanSeries boolean_series_greater_than(NumericSeries left, NumericSeries right) {
  return BooleanSeries::greater_than(wire::GreaterThanSeries{.left = std::move(left), .right = std::move(right)});
}

BooleanSeries boolean_series_greater_than_or_equal_to(NumericSeries left, NumericSeries right) {
  return BooleanSeries::greater_than_or_equal_to(
      wire::GreaterThanOrEqualToSeries{.left = std::move(left), .right = std::move(right)});
}

BooleanSeries boolean_series_less_than(NumericSeries left, NumericSeries right) {
  return BooleanSeries::less_than(wire::LessThanSeries{.left = std::move(left), .right = std::move(right)});
}

BooleanSeries boolean_series_less_than_or_equal_to(NumericSeries left, NumericSeries right) {
  return BooleanSeries::less_than_or_equal_to(
      wire::LessThanOrEqualToSeries{.left = std::move(left), .right = std::move(right)});
}

BooleanSeries boolean_series_equal_to(NumericSeries left, NumericSeries right) {
  return BooleanSeries::equal_to(wire::EqualToSeries{.left = std::move(left), .right = std::move(right)});
}

BooleanSeries boolean_series_not_equal_to(NumericSeries left, NumericSeries right) {
  return BooleanSeries::not_equal_to(wire::NotEqualToSeries{.left = std::move(left), .right = std::move(right)});
}

BooleanSeries boolean_series_and(BooleanSeries left, BooleanSeries right) {
  return BooleanSeries::and_(wire::AndSeries{.left = std::move(left), .right = std::move(right)});
}

BooleanSeries boolean_series_or(BooleanSeries left, BooleanSeries right) {
  return BooleanSeries::or_(wire::OrSeries{.left = std::move(left), .right = std::move(right)});
}

RangeSeries range_series_union(std::vector<RangeSeries> inputs) {
  return RangeSeries::union_range(wire::union_ranges::builder().inputs(std::move(inputs)).build());
}

RangeSeries range_series_intersect(std::vector<RangeSeries> inputs) {
  return RangeSeries::intersect_range(wire::intersect_ranges::builder().inputs(std::move(inputs)).build());
}

RangeSeries range_series_padded_ranges(RangeSeries input, Duration duration,
                                       RangePaddingConfiguration padding_configuration) {
  auto wire_padding = to_wire(padding_configuration);
  return RangeSeries::padded_ranges_v2(wire::PaddedRangesV2{.input = std::move(input),
                                                            .duration = std::move(duration),
                                                            .padding_configuration = std::move(wire_padding)});
}

RangeSeries range_series_duration_filter(RangeSeries input, Duration duration,
                                         std::optional<UnboundedBehavior> unbounded_behavior,
                                         ThresholdOperator comparison) {
  auto wire_unbounded = to_wire(unbounded_behavior);
  auto wire_comparison = to_wire(comparison);
  return RangeSeries::duration_filter_v2(wire::DurationFilterRangesV2{.input = std::move(input),
                                                                      .duration = std::move(duration),
                                                                      .unbounded_behavior = std::move(wire_unbounded),
                                                                      .comparison = std::move(wire_comparison)});
}

RangeSeries numeric_series_extrema_ranges(NumericSeries input, std::optional<DoubleConstant> minimum_prominence,
                                          PeakType selection) {
  auto wire_selection = to_wire(selection);
  return RangeSeries::extrema_ranges_v2(wire::extrema_ranges_v2::builder()
                                            .input(std::move(input))
                                            .selection(std::move(wire_selection))
                                            .minimum_prominence(std::move(minimum_prominence))
                                            .build());
}

RangeSeries range_series_numeric_equality_ranges(std::vector<NumericSeries> inputs,
                                                 std::optional<DoubleConstant> tolerance,
                                                 std::optional<IntegerConstant> min_points,
                                                 std::optional<Duration> min_duration,
                                                 std::optional<RangeStart> range_start,
                                                 EqualityOperator equality_operator) {
  auto wire_start = to_wire(range_start);
  auto wire_operator = to_wire(equality_operator);
  return RangeSeries::numeric_equality_ranges_v2(wire::numeric_equality_ranges_v2::builder()
                                                     .equality_operator(std::move(wire_operator))
                                                     .inputs(std::move(inputs))
                                                     .tolerance(std::move(tolerance))
                                                     .min_points(std::move(min_points))
                                                     .min_duration(std::move(min_duration))
                                                     .range_start(std::move(wire_start))
                                                     .build());
}

RangeSeries range_series_categorical_equality_ranges(std::vector<EnumSeries> inputs,
                                                     std::optional<IntegerConstant> min_points,
                                                     std::optional<Duration> min_duration,
                                                     std::optional<RangeStart> range_start,
                                                     EqualityOperator equality_operator) {
  auto wire_start = to_wire(range_start);
  auto wire_operator = to_wire(equality_operator);
  return RangeSeries::categorical_equality_ranges_v2(wire::categorical_equality_ranges_v2::builder()
                                                         .equality_operator(std::move(wire_operator))
                                                         .inputs(std::move(inputs))
                                                         .min_points(std::move(min_points))
                                                         .min_duration(std::move(min_duration))
                                                         .range_start(std::move(wire_start))
                                                         .build());
}

EnumSeries categorical_series_time_shift(EnumSeries input, Duration duration) {
  return EnumSeries::time_shift_v2(
      wire::EnumTimeShiftSeriesV2{.input = std::move(input), .duration = std::move(duration)});
}

EnumSeries categorical_series_enum_aggregation(wire::AggregationBuilder input,
                                               wire::EnumAggregationOperator operator_) {
  return EnumSeries::enum_aggregation(
      wire::EnumAggregation{.input = std::move(input), .operator_ = std::move(operator_)});
}

}  // namespace brastel_compute
