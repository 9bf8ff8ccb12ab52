// Construction functions for numeric aggregations and their windowing half
// (AggregationBuilder), tag subsets, dataset and duration arithmetic, struct
// combination, band filters and value-map rows. Arguments are taken by value
// and moved into the node; an absent optional argument leaves its field
// absent; nothing is validated.
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
conjure::objects::NumericSeries numeric_series_numeric_aggregation_sum(conjure::objects::AggregationBuilder input);
conjure::objects::NumericSeries numeric_series_numeric_aggregation_average(conjure::objects::AggregationBuilder input);
conjure::objects::NumericSeries numeric_series_numeric_aggregation_min(conjure::objects::AggregationBuilder input);
conjure::objects::NumericSeries numeric_series_numeric_aggregation_max(conjure::objects::AggregationBuilder input);
conjure::objects::NumericSeries numeric_series_numeric_aggregation_count(conjure::objects::AggregationBuilder input);
conjure::objects::NumericSeries numeric_series_numeric_aggregation_standard_deviation(
    conjure::objects::AggregationBuilder input);
conjure::objects::NumericSeries numeric_series_numeric_aggregation_root_mean_square(
    conjure::objects::AggregationBuilder input);
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

conjure::objects::Duration duration_add(conjure::objects::Duration left, conjure::objects::Duration right);
conjure::objects::Duration duration_subtract(conjure::objects::Duration left, conjure::objects::Duration right);

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
