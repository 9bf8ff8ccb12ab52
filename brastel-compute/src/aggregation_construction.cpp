#include "brastel_compute/aggregation_construction.h"

#include <map>
#include <utility>

#include "brastel_compute/conjure/builders.h"
#include "brastel_compute/node.h"
#include "tag_set.h"

namespace brastel_compute {

using namespace conjure::objects;

NumericSeries numeric_series_numeric_aggregation(AggregationBuilder input, NumericAggregationOperator operator_) {
  return node<&NumericSeries::numeric_aggregation>(std::move(input), std::move(operator_));
}

NumericSeries numeric_series_numeric_aggregation_sum(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input), NumericAggregationOperator::sum());
}

NumericSeries numeric_series_numeric_aggregation_average(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input), NumericAggregationOperator::average());
}

NumericSeries numeric_series_numeric_aggregation_min(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input), NumericAggregationOperator::min());
}

NumericSeries numeric_series_numeric_aggregation_max(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input), NumericAggregationOperator::max());
}

NumericSeries numeric_series_numeric_aggregation_count(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input), NumericAggregationOperator::count());
}

NumericSeries numeric_series_numeric_aggregation_standard_deviation(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input), NumericAggregationOperator::standard_deviation());
}

NumericSeries numeric_series_numeric_aggregation_root_mean_square(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input), NumericAggregationOperator::root_mean_square());
}

NumericSeries numeric_series_numeric_aggregation_percentile(AggregationBuilder input, DoubleConstant percentile) {
  return numeric_series_numeric_aggregation(std::move(input),
                                            node<&NumericAggregationOperator::percentile>(std::move(percentile)));
}

NumericSeries numeric_series_numeric_aggregation_udf(AggregationBuilder input, UdfSource source) {
  return numeric_series_numeric_aggregation(std::move(input),
                                            node<&NumericAggregationOperator::udf>(std::move(source)));
}

NumericSeries numeric_series_numeric_aggregation_udf_rust(AggregationBuilder input, std::string source_code) {
  return numeric_series_numeric_aggregation_udf(std::move(input), node<&UdfSource::rust>(std::move(source_code)));
}

AggregationBuilder aggregation_builder_group_by(Series input, GroupByTags tags, GroupByTimestamp timestamp,
                                                std::optional<GroupByAlignment> alignment) {
  return AggregationBuilder::group_by(group_by_aggregation_builder::builder()
                                          .input(std::move(input))
                                          .tags(std::move(tags))
                                          .timestamp(std::move(timestamp))
                                          .alignment(std::move(alignment))
                                          .build());
}

AggregationBuilder aggregation_builder_rolling_time(Series input, Duration window) {
  return node<&AggregationBuilder::rolling_time>(std::move(input), std::move(window));
}

AggregationBuilder aggregation_builder_rolling_points(Series input, IntegerConstant points) {
  return node<&AggregationBuilder::rolling_points>(std::move(input), std::move(points));
}

GroupByTags group_by_tags_subset(std::vector<StringConstant> tags) {
  return GroupByTags::subset(GroupBySubsetTags{.tags = tag_set(std::move(tags))});
}

Dataset dataset_tag(Dataset input, StringConstant key, StringConstant value) {
  return node<&Dataset::tag_>(std::move(input), std::move(key), std::move(value));
}

Dataset dataset_combine(std::vector<Dataset> inputs) {
  return Dataset::combine(combined_dataset::builder().inputs(std::move(inputs)).build());
}

Dataset dataset_time_shift(Dataset input, Duration offset) {
  return node<&Dataset::time_shift>(std::move(input), std::move(offset));
}

Duration duration_add(Duration left, Duration right) {
  return node<&Duration::add>(std::move(left), std::move(right));
}

Duration duration_subtract(Duration left, Duration right) {
  return node<&Duration::subtract>(std::move(left), std::move(right));
}

StructSeries struct_series_combine(std::vector<std::pair<std::string, Series>> inputs) {
  // Inserting in list order into the name-ordered map directly gives what a
  // hash map followed by a sort would: the last pair of a name wins.
  std::map<std::string, Series> by_name;
  for (auto& [name, series] : inputs) by_name.insert_or_assign(std::move(name), std::move(series));
  return StructSeries::combine(combine_struct_series::builder().inputs(std::move(by_name)).build());
}

SignalFilterConfiguration signal_filter_configuration_band_pass(DoubleConstant low_passband_frequency,
                                                                DoubleConstant high_passband_frequency) {
  return node<&SignalFilterConfiguration::band_pass>(std::move(low_passband_frequency),
                                                     std::move(high_passband_frequency));
}

SignalFilterConfiguration signal_filter_configuration_band_stop(DoubleConstant low_stopband_frequency,
                                                                DoubleConstant high_stopband_frequency) {
  return node<&SignalFilterConfiguration::band_stop>(std::move(low_stopband_frequency),
                                                     std::move(high_stopband_frequency));
}

RangeMap range_map_create(StringConstant output, std::optional<DoubleConstant> start,
                          std::optional<DoubleConstant> end) {
  return range_map::builder().output(std::move(output)).start(std::move(start)).end(std::move(end)).build();
}

}  // namespace brastel_compute
