#include "brastel_compute/numeric_construction.h"

#include <cstdint>
#include <limits>
#include <utility>

#include "brastel_compute/conjure/builders.h"
#include "brastel_compute/node.h"
#include "brastel_compute/panic.h"
#include "tag_set.h"

namespace brastel_compute {

using namespace conjure::objects;

NumericSeries numeric_series_add(NumericSeries left, NumericSeries right) {
  return node<&NumericSeries::add>(std::move(left), std::move(right));
}

NumericSeries numeric_series_subtract(NumericSeries left, NumericSeries right) {
  return node<&NumericSeries::subtract>(std::move(left), std::move(right));
}

NumericSeries numeric_series_multiply(NumericSeries left, NumericSeries right) {
  return node<&NumericSeries::multiply>(std::move(left), std::move(right));
}

NumericSeries numeric_series_divide(NumericSeries left, NumericSeries right) {
  return node<&NumericSeries::divide>(std::move(left), std::move(right));
}

NumericSeries numeric_series_floor_divide(NumericSeries left, NumericSeries right) {
  return node<&NumericSeries::floor_divide>(std::move(left), std::move(right));
}

NumericSeries numeric_series_modulo(NumericSeries left, NumericSeries right) {
  return node<&NumericSeries::modulo>(std::move(left), std::move(right));
}

NumericSeries numeric_series_power(NumericSeries base, NumericSeries exponent) {
  return node<&NumericSeries::power>(std::move(base), std::move(exponent));
}

NumericSeries atan2(NumericSeries y, NumericSeries x) {
  return node<&NumericSeries::atan2>(std::move(y), std::move(x));
}

NumericSeries max(std::vector<NumericSeries> inputs) {
  return NumericSeries::max(max_series::builder().inputs(std::move(inputs)).build());
}

NumericSeries min(std::vector<NumericSeries> inputs) {
  return NumericSeries::min(min_series::builder().inputs(std::move(inputs)).build());
}

NumericSeries sum(std::vector<NumericSeries> inputs) {
  return NumericSeries::sum(sum_series::builder().inputs(std::move(inputs)).build());
}

NumericSeries mean(std::vector<NumericSeries> inputs) {
  return NumericSeries::mean(mean_series::builder().inputs(std::move(inputs)).build());
}

NumericSeries product(std::vector<NumericSeries> inputs) {
  return NumericSeries::product(product_series::builder().inputs(std::move(inputs)).build());
}

NumericSeries numeric_series_union(std::vector<NumericSeries> inputs) {
  return NumericSeries::union_(numeric_union_series::builder().input(std::move(inputs)).build());
}

NumericSeries numeric_series_head(NumericSeries input, IntegerConstant num_points) {
  return node<&NumericSeries::select_oldest_points>(std::move(input), std::move(num_points));
}

NumericSeries numeric_series_tail(NumericSeries input, IntegerConstant num_points) {
  return node<&NumericSeries::select_newest_points>(std::move(input), std::move(num_points));
}

NumericSeries numeric_series_bit_and(NumericSeries input, IntegerConstant operand) {
  return node<&NumericSeries::bit_and>(std::move(input), std::move(operand));
}

NumericSeries numeric_series_bit_or(NumericSeries input, IntegerConstant operand) {
  return node<&NumericSeries::bit_or>(std::move(input), std::move(operand));
}

NumericSeries numeric_series_bit_xor(NumericSeries input, IntegerConstant operand) {
  return node<&NumericSeries::bit_xor>(std::move(input), std::move(operand));
}

NumericSeries numeric_series_bit_shift_right(NumericSeries input, IntegerConstant operand) {
  return node<&NumericSeries::bit_shift_right>(std::move(input), std::move(operand));
}

NumericSeries numeric_series_bit_shift_left(NumericSeries input, IntegerConstant operand) {
  return node<&NumericSeries::bit_shift_left>(std::move(input), std::move(operand));
}

NumericSeries numeric_series_bit_test(NumericSeries input, IntegerConstant index) {
  return node<&NumericSeries::bit_test>(std::move(input), std::move(index));
}

NumericSeries numeric_series_nth_point_downsample(NumericSeries input, IntegerConstant n) {
  return node<&NumericSeries::nth_point_downsample>(std::move(input), std::move(n));
}

NumericSeries numeric_series_largest_triangle_three_buckets(NumericSeries input,
                                                            IntegerConstant max_points_to_return) {
  return node<&NumericSeries::largest_triangle_three_buckets>(std::move(input), std::move(max_points_to_return));
}

NumericSeries numeric_if_else(BooleanSeries condition, NumericSeries true_value, NumericSeries false_value) {
  return node<&NumericSeries::if_else>(std::move(condition), std::move(true_value), std::move(false_value));
}

NumericSeries numeric_series_derivative(NumericSeries input, std::optional<TimeUnit> time_unit,
                                        std::optional<NegativeValueConfiguration> negative_values_configuration) {
  return node<&NumericSeries::derivative>(std::move(input), to_wire(time_unit),
                                          std::move(negative_values_configuration));
}

NumericSeries numeric_series_value_difference(NumericSeries input,
                                              std::optional<NegativeValueConfiguration> negative_values_configuration) {
  return NumericSeries::value_difference(value_difference_series::builder()
                                             .input(std::move(input))
                                             .negative_values_configuration(std::move(negative_values_configuration))
                                             .build());
}

NumericSeries numeric_series_time_difference(Series input, std::optional<TimeUnit> time_unit) {
  return node<&NumericSeries::time_difference>(std::move(input), to_wire(time_unit));
}

NumericSeries numeric_series_absolute_timestamp(Series input, TimeUnit time_unit) {
  return node<&NumericSeries::absolute_timestamp>(std::move(input), to_wire(time_unit));
}

NumericSeries numeric_series_time_shift(NumericSeries input, Duration duration) {
  return node<&NumericSeries::time_shift_v2>(std::move(input), std::move(duration));
}

NumericSeries numeric_series_to_start_of_interval(NumericSeries input, Duration window) {
  return node<&NumericSeries::to_start_of_interval>(std::move(input), std::move(window));
}

NumericSeries numeric_series_filter_where(NumericSeries input, BooleanSeries condition) {
  return node<&NumericSeries::filter_where>(std::move(input), std::move(condition));
}

NumericSeries numeric_series_phase_unwrap(NumericSeries input, DoubleConstant period) {
  return node<&NumericSeries::phase_unwrap>(std::move(input), std::move(period));
}

NumericSeries numeric_series_signal_filter(NumericSeries input, SignalFilterConfiguration signal_filter_configuration,
                                           IntegerConstant order, std::optional<DoubleConstant> sampling_frequency) {
  return NumericSeries::signal_filter(signal_filter_series::builder()
                                          .input(std::move(input))
                                          .signal_filter_configuration(std::move(signal_filter_configuration))
                                          .order(std::move(order))
                                          .sampling_frequency(std::move(sampling_frequency))
                                          .build());
}

NumericSeries numeric_series_z_score(NumericSeries input, std::vector<StringConstant> group_by_tags) {
  return node<&NumericSeries::z_score>(std::move(input), tag_set(std::move(group_by_tags)), std::nullopt);
}

NumericSeries numeric_series_select_tags(NumericSeries input, std::vector<StringConstant> tag_keys) {
  return node<&NumericSeries::select_tags>(std::move(input), tag_set(std::move(tag_keys)));
}

NumericSeries numeric_series_select_numeric(std::optional<StringConstant> name, std::optional<Dataset> dataset,
                                            std::optional<Sampling> sampling,
                                            std::optional<brastel_compute::SeriesStorage> storage) {
  return node<&NumericSeries::select_numeric>(std::move(name), std::move(dataset), std::move(sampling),
                                              to_wire(storage));
}

NumericSeries struct_series_extract_numeric(StructSeries input, std::vector<StringConstant> field_path,
                                            std::optional<brastel_compute::NumericDataType> data_type) {
  return node<&NumericSeries::extract_from_struct>(std::move(input), std::move(field_path), to_wire(data_type));
}

NumericSeries numeric_series_udf(std::vector<Series> inputs, UdfSource source) {
  return NumericSeries::scalar_udf(
      scalar_udf_series::builder().source(std::move(source)).inputs(std::move(inputs)).build());
}

NumericSeries numeric_series_scalar_udf_rust(std::vector<Series> inputs, std::string source_code) {
  return numeric_series_udf(std::move(inputs), node<&UdfSource::rust>(std::move(source_code)));
}

IntegerConstant integer_constant_literal(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) {
    throw Panic("integer value exceeds i32 range: TryFromIntError(PosOverflow)");
  }
  if (value < std::numeric_limits<std::int32_t>::min()) {
    throw Panic("integer value exceeds i32 range: TryFromIntError(NegOverflow)");
  }
  return IntegerConstant::literal(static_cast<std::int32_t>(value));
}

}  // namespace brastel_compute
