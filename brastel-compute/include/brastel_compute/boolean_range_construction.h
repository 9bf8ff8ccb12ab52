// Construction functions for comparisons and logic (BooleanSeries), range
// finding and combination (RangeSeries) and categorical transforms
// (EnumSeries). Arguments are taken by value and moved into the node; an
// absent optional argument leaves its field absent; lists keep their order.
// A family of functions that differ only in the variant they make shares one
// function type.
#pragma once

#include <optional>
#include <vector>

#include "brastel_compute/conjure/objects.h"
#include "brastel_compute/enums.h"

namespace brastel_compute {

// Comparisons: the first series is "left", the second "right".
using ComparisonFunction = conjure::objects::BooleanSeries(conjure::objects::NumericSeries left,
                                                           conjure::objects::NumericSeries right);
ComparisonFunction boolean_series_greater_than, boolean_series_greater_than_or_equal_to, boolean_series_less_than,
    boolean_series_less_than_or_equal_to, boolean_series_equal_to, boolean_series_not_equal_to;

using LogicFunction = conjure::objects::BooleanSeries(conjure::objects::BooleanSeries left,
                                                      conjure::objects::BooleanSeries right);
LogicFunction boolean_series_and, boolean_series_or;

using RangeListFunction = conjure::objects::RangeSeries(std::vector<conjure::objects::RangeSeries> inputs);
RangeListFunction range_series_union, range_series_intersect;

conjure::objects::RangeSeries range_series_padded_ranges(conjure::objects::RangeSeries input,
                                                         conjure::objects::Duration duration,
                                                         RangePaddingConfiguration padding_configuration);
conjure::objects::RangeSeries range_series_duration_filter(conjure::objects::RangeSeries input,
                                                           conjure::objects::Duration duration,
                                                           std::optional<UnboundedBehavior> unbounded_behavior,
                                                           ThresholdOperator comparison);
conjure::objects::RangeSeries numeric_series_extrema_ranges(
    conjure::objects::NumericSeries input, std::optional<conjure::objects::DoubleConstant> minimum_prominence,
    PeakType selection);
conjure::objects::RangeSeries range_series_numeric_equality_ranges(
    std::vector<conjure::objects::NumericSeries> inputs, std::optional<conjure::objects::DoubleConstant> tolerance,
    std::optional<conjure::objects::IntegerConstant> min_points, std::optional<conjure::objects::Duration> min_duration,
    std::optional<RangeStart> range_start, EqualityOperator equality_operator);
conjure::objects::RangeSeries range_series_categorical_equality_ranges(
    std::vector<conjure::objects::EnumSeries> inputs, std::optional<conjure::objects::IntegerConstant> min_points,
    std::optional<conjure::objects::Duration> min_duration, std::optional<RangeStart> range_start,
    EqualityOperator equality_operator);

conjure::objects::EnumSeries categorical_series_time_shift(conjure::objects::EnumSeries input,
                                                           conjure::objects::Duration duration);
conjure::objects::EnumSeries categorical_series_enum_aggregation(conjure::objects::AggregationBuilder input,
                                                                 conjure::objects::EnumAggregationOperator operator_);

}  // namespace brastel_compute
