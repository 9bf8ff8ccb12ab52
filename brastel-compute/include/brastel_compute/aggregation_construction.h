// Construction functions for numeric aggregations and their windowing half
// (AggregationBuilder), tag subsets, dataset and duration arithmetic, struct
// combination, band filters and value-map rows. Arguments are taken by value
// and moved into the node; an absent optional argument leaves its field
// absent; nothing is validated. A family of functions that differ only in
// the variant they make shares one function type.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "brastel_compute/conjure/objects.h"

namespace brastel_compute {

// "numericAggregation" over the builder, with the operator given or the one
// the name says.
conjure::objects::NumericSeries numeric_series_numeric_aggregation(
    conjure::objects::AggregationBuilder input, conjure::objects::NumericAggregationOperator operator_);
using NumericAggregationFunction = conjure::objects::NumericSeries(conjure::objects::AggregationBuilder input);
NumericAggregationFunction numeric_series_numeric_aggregation_sum, numeric_series_numeric_aggregation_average,
    numeric_series_numeric_aggregation_min, numeric_series_numeric_aggregation_max,
    numeric_series_numeric_aggregation_count, numeric_series_numeric_aggregation_standard_deviation,
    numeric_series_numeric_aggregation_root_mean_square;
conjure::objects::NumericSeries numeric_series_numeric_aggregation_percentile(
    conjure::objects::AggregationBuilder input, conjure::objects::DoubleConstant percentile);
conjure::objects::NumericSeries numeric_series_numeric_aggregation_udf(conjure::objects::AggregationBuilder input,
                                                                       conjure::objects::UdfSource source);
// As numeric_series_numeric_aggregation_udf with UdfSource "rust" holding the text.
conjure::objects::NumericSeries numeric_series_numeric_aggregation_udf_rust(conjure::objects::AggregationBuilder input,
                                                                            std::string source_code);

conjure::objects::AggregationBuilder aggregation_builder_group_by(
    conjure::objects::Series input, conjure::objects::GroupByTags tags, conjure::objects::GroupByTimestamp timestamp,
    std::optional<conjure::objects::GroupByAlignment> alignment);
conjure::objects::AggregationBuilder aggregation_builder_rolling_time(conjure::objects::Series input,
                                                                     conjure::objects::Duration window);
conjure::objects::AggregationBuilder aggregation_builder_rolling_points(conjure::objects::Series input,
                                                                       conjure::objects::IntegerConstant points);

// The tags become an ordered set: sorted, each once.
conjure::objects::GroupByTags group_by_tags_subset(std::vector<conjure::objects::StringConstant> tags);

conjure::objects::Dataset dataset_tag(conjure::objects::Dataset input, conjure::objects::StringConstant key,
                                      conjure::objects::StringConstant value);
conjure::objects::Dataset dataset_combine(std::vector<conjure::objects::Dataset> inputs);
conjure::objects::Dataset dataset_time_shift(conjure::objects::Dataset input, conjure::objects::Duration offset);

// Left, then right.
using DurationBinaryFunction = conjure::objects::Duration(conjure::objects::Duration left,
                                                          conjure::objects::Duration right);
DurationBinaryFunction duration_add, duration_subtract;

// Named series gathered into a map ordered by name; of two pairs with the
// same name the later one wins.
conjure::objects::StructSeries struct_series_combine(
    std::vector<std::pair<std::string, conjure::objects::Series>> inputs);

conjure::objects::SignalFilterConfiguration signal_filter_configuration_band_pass(
    conjure::objects::DoubleConstant low_passband_frequency, conjure::objects::DoubleConstant high_passband_frequency);
conjure::objects::SignalFilterConfiguration signal_filter_configuration_band_stop(
    conjure::objects::DoubleConstant low_stopband_frequency, conjure::objects::DoubleConstant high_stopband_frequency);

conjure::objects::RangeMap range_map_create(conjure::objects::StringConstant output,
                                            std::optional<conjure::objects::DoubleConstant> start,
                                            std::optional<conjure::objects::DoubleConstant> end);

}  // namespace brastel_compute
