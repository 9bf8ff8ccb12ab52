#include "brastel_compute/boolean_range_construction.h"

#include <utility>

#include "brastel_compute/conjure/builders.h"
#include "brastel_compute/node.h"

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
  return node<&BooleanSeries::greater_than>(std::move(left), std::move(right));
}

BooleanSeries boolean_series_greater_than_or_equal_to(NumericSeries left, NumericSeries right) {
  return node<&BooleanSeries::greater_than_or_equal_to>(std::move(left), std::move(right));
}

BooleanSeries boolean_series_less_than(NumericSeries left, NumericSeries right) {
  return node<&BooleanSeries::less_than>(std::move(left), std::move(right));
}

BooleanSeries boolean_series_less_than_or_equal_to(NumericSeries left, NumericSeries right) {
  return node<&BooleanSeries::less_than_or_equal_to>(std::move(left), std::move(right));
}

BooleanSeries boolean_series_equal_to(NumericSeries left, NumericSeries right) {
  return node<&BooleanSeries::equal_to>(std::move(left), std::move(right));
}

BooleanSeries boolean_series_not_equal_to(NumericSeries left, NumericSeries right) {
  return node<&BooleanSeries::not_equal_to>(std::move(left), std::move(right));
}

BooleanSeries boolean_series_and(BooleanSeries left, BooleanSeries right) {
  return node<&BooleanSeries::and_>(std::move(left), std::move(right));
}

BooleanSeries boolean_series_or(BooleanSeries left, BooleanSeries right) {
  return node<&BooleanSeries::or_>(std::move(left), std::move(right));
}

RangeSeries range_series_union(std::vector<RangeSeries> inputs) {
  return RangeSeries::union_range(wire::union_ranges::builder().inputs(std::move(inputs)).build());
}

RangeSeries range_series_intersect(std::vector<RangeSeries> inputs) {
  return RangeSeries::intersect_range(wire::intersect_ranges::builder().inputs(std::move(inputs)).build());
}

RangeSeries range_series_padded_ranges(RangeSeries input, Duration duration,
                                       RangePaddingConfiguration padding_configuration) {
  return node<&RangeSeries::padded_ranges_v2>(std::move(input), std::move(duration), to_wire(padding_configuration));
}

RangeSeries range_series_duration_filter(RangeSeries input, Duration duration,
                                         std::optional<UnboundedBehavior> unbounded_behavior,
                                         ThresholdOperator comparison) {
  return node<&RangeSeries::duration_filter_v2>(std::move(input), std::move(duration), to_wire(unbounded_behavior),
                                                to_wire(comparison));
}

RangeSeries numeric_series_extrema_ranges(NumericSeries input, std::optional<DoubleConstant> minimum_prominence,
                                          PeakType selection) {
  return node<&RangeSeries::extrema_ranges_v2>(std::move(input), std::move(minimum_prominence), to_wire(selection));
}

RangeSeries range_series_numeric_equality_ranges(std::vector<NumericSeries> inputs,
                                                 std::optional<DoubleConstant> tolerance,
                                                 std::optional<IntegerConstant> min_points,
                                                 std::optional<Duration> min_duration,
                                                 std::optional<RangeStart> range_start,
                                                 EqualityOperator equality_operator) {
  return node<&RangeSeries::numeric_equality_ranges_v2>(std::move(inputs), std::move(tolerance),
                                                        std::move(min_points), std::move(min_duration),
                                                        to_wire(range_start), to_wire(equality_operator));
}

RangeSeries range_series_categorical_equality_ranges(std::vector<EnumSeries> inputs,
                                                     std::optional<IntegerConstant> min_points,
                                                     std::optional<Duration> min_duration,
                                                     std::optional<RangeStart> range_start,
                                                     EqualityOperator equality_operator) {
  return node<&RangeSeries::categorical_equality_ranges_v2>(std::move(inputs), std::move(min_points),
                                                            std::move(min_duration), to_wire(range_start),
                                                            to_wire(equality_operator));
}

EnumSeries categorical_series_time_shift(EnumSeries input, Duration duration) {
  return node<&EnumSeries::time_shift_v2>(std::move(input), std::move(duration));
}

EnumSeries categorical_series_enum_aggregation(wire::AggregationBuilder input,
                                               wire::EnumAggregationOperator operator_) {
  return node<&EnumSeries::enum_aggregation>(std::move(input), std::move(operator_));
}

}  // namespace brastel_compute
