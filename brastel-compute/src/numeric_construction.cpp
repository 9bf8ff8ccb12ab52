#include "brastel_compute/numeric_construction.h"

#include <cstdint>
#include <limits>
#include <utility>

#include "brastel_compute/conjure/builders.h"
#include "brastel_compute/panic.h"
#include "tag_set.h"

namespace brastel_compute {

using namespace conjure::objects;

NumericSeries numeric_series_add(NumericSeries left, NumericSeries right) {
  return NumericSeries::add(Add{.left = std::move(left), .right = std::move(right)});
}

NumericSeries numeric_series_subtract(NumericSeries left, NumericSeries right) {
  return NumericSeries::subtract(Subtract{.left = std::move(left), .right = std::move(right)});
}

NumericSeries numeric_series_multiply(NumericSeries left, NumericSeries right) {
  return NumericSeries::multiply(Multiply{.left = std::move(left), .right = std::move(right)});
}

NumericSeries numeric_series_divide(NumericSeries left, NumericSeries right) {
  return NumericSeries::divide(Divide{.left = std::move(left), .right = std::move(right)});
}

NumericSeries numeric_series_floor_divide(NumericSeries left, NumericSeries right) {
  return NumericSeries::floor_divide(FloorDivide{.left = std::move(left), .right = std::move(right)});
}

NumericSeries numeric_series_modulo(NumericSeries left, NumericSeries right) {
  return NumericSeries::modulo(Modulo{.left = std::move(left), .right = std::move(right)});
}

NumericSeries numeric_series_power(NumericSeries base, NumericSeries exponent) {
  return NumericSeries::power(Power{.base = std::move(base), .exponent = std::move(exponent)});
}

NumericSeries atan2(NumericSeries y, NumericSeries x) {
  return NumericSeries::atan2(Atan2{.y = std::move(y), .x = std::move(x)});
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
  return NumericSeries::select_oldest_points(
      SelectOldestPointsSeries{.input = std::move(input), .num_points = std::move(num_points)});
}

NumericSeries numeric_series_tail(NumericSeries input, IntegerConstant num_points) {
  return NumericSeries::select_newest_points(
      SelectNewestPointsSeries{.input = std::move(input), .num_points = std::move(num_points)});
}

NumericSeries numeric_series_bit_and(NumericSeries input, IntegerConstant operand) {
  return NumericSeries::bit_and(BitAnd{.input = std::move(input), .operand = std::move(operand)});
}

NumericSeries numeric_series_bit_or(NumericSeries input, IntegerConstant operand) {
  return NumericSeries::bit_or(BitOr{.input = std::move(input), .operand = std::move(operand)});
}

NumericSeries numeric_series_bit_xor(NumericSeries input, IntegerConstant operand) {
  return NumericSeries::bit_xor(BitXor{.input = std::move(input), .operand = std::move(operand)});
}

NumericSeries numeric_series_bit_shift_right(NumericSeries input, IntegerConstant operand) {
  return NumericSeries::bit_shift_right(BitShiftRight{.input = std::move(input), .operand = std::move(operand)});
}

NumericSeries numeric_series_bit_shift_left(NumericSeries input, IntegerConstant operand) {
  return NumericSeries::bit_shift_left(BitShiftLeft{.input = std::move(input), .operand = std::move(operand)});
}

NumericSeries numeric_series_bit_test(NumericSeries input, IntegerConstant index) {
  return NumericSeries::bit_test(BitTest{.input = std::move(input), .index = std::move(index)});
}

NumericSeries numeric_series_nth_point_downsample(NumericSeries input, IntegerConstant n) {
  return NumericSeries::nth_point_downsample(
      NumericNthPointDownsampleSeries{.input = std::move(input), .n = std::move(n)});
}

NumericSeries numeric_series_largest_triangle_three_buckets(NumericSeries input,
                                                            IntegerConstant max_points_to_return) {
  return NumericSeries::largest_triangle_three_buckets(NumericLargestTriangleThreeBucketsSeries{
      .input = std::move(input), .max_points_to_return = std::move(max_points_to_return)});
}

NumericSeries numeric_if_else(BooleanSeries condition, NumericSeries true_value, NumericSeries false_value) {
  return NumericSeries::if_else(NumericIfElseSeries{.condition = std::move(condition),
                                                    .true_value = std::move(true_value),
                                                    .false_value = std::move(false_value)});
}

NumericSeries numeric_series_derivative(NumericSeries input, std::optional<TimeUnit> time_unit,
                                        std::optional<NegativeValueConfiguration> negative_values_configuration) {
  auto wire_unit = to_wire(time_unit);
  return NumericSeries::derivative(derivative_series::builder()
                                       .input(std::move(input))
                                       .time_unit(std::move(wire_unit))
                                       .negative_values_configuration(std::move(negative_values_configuration))
                                       .build());
}

NumericSeries numeric_series_value_difference(NumericSeries input,
                                              std::optional<NegativeValueConfiguration> negative_values_configuration) {
  return NumericSeries::value_difference(value_difference_series::builder()
                                             .input(std::move(input))
                                             .negative_values_configuration(std::move(negative_values_configuration))
                                             .build());
}

NumericSeries numeric_series_time_difference(Series input, std::optional<TimeUnit> time_unit) {
  auto wire_unit = to_wire(time_unit);
  return NumericSeries::time_difference(
      TimeDifferenceSeries{.input = std::move(input), .time_unit = std::move(wire_unit)});
}

NumericSeries numeric_series_absolute_timestamp(Series input, TimeUnit time_unit) {
  auto wire_unit = to_wire(time_unit);
  return NumericSeries::absolute_timestamp(
      AbsoluteTimestampSeries{.input = std::move(input), .time_unit = std::move(wire_unit)});
}

NumericSeries numeric_series_time_shift(NumericSeries input, Duration duration) {
  return NumericSeries::time_shift_v2(
      NumericTimeShiftSeriesV2{.input = std::move(input), .duration = std::move(duration)});
}

NumericSeries numeric_series_to_start_of_interval(NumericSeries input, Duration window) {
  return NumericSeries::to_start_of_interval(
      NumericToStartOfIntervalSeries{.input = std::move(input), .window = std::move(window)});
}

NumericSeries numeric_series_filter_where(NumericSeries input, BooleanSeries condition) {
  return NumericSeries::filter_where(
      NumericFilterWhereSeries{.input = std::move(input), .condition = std::move(condition)});
}

NumericSeries numeric_series_phase_unwrap(NumericSeries input, DoubleConstant period) {
  return NumericSeries::phase_unwrap(PhaseUnwrapSeries{.input = std::move(input), .period = std::move(period)});
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
  return NumericSeries::z_score(
      zscore_series::builder().input(std::move(input)).group_by_tags(tag_set(std::move(group_by_tags))).build());
}

NumericSeries numeric_series_select_tags(NumericSeries input, std::vector<StringConstant> tag_keys) {
  return NumericSeries::select_tags(
      numeric_select_tags_series::builder().input(std::move(input)).tag_keys(tag_set(std::move(tag_keys))).build());
}

NumericSeries numeric_series_select_numeric(std::optional<StringConstant> name, std::optional<Dataset> dataset,
                                            std::optional<Sampling> sampling,
                                            std::optional<brastel_compute::SeriesStorage> storage) {
  auto wire_storage = to_wire(storage);
  return NumericSeries::select_numeric(select_series::builder()
                                           .name(std::move(name))
                                           .dataset(std::move(dataset))
                                           .sampling(std::move(sampling))
                                           .storage(std::move(wire_storage))
                                           .build());
}

NumericSeries struct_series_extract_numeric(StructSeries input, std::vector<StringConstant> field_path,
                                            std::optional<brastel_compute::NumericDataType> data_type) {
  auto wire_type = to_wire(data_type);
  return NumericSeries::extract_from_struct(extract_numeric_from_struct_series::builder()
                                                .input(std::move(input))
                                                .field_path(std::move(field_path))
                                                .data_type(std::move(wire_type))
                                                .build());
}

NumericSeries numeric_series_udf(std::vector<Series> inputs, UdfSource source) {
  return NumericSeries::scalar_udf(
      scalar_udf_series::builder().source(std::move(source)).inputs(std::move(inputs)).build());
}

NumericSeries numeric_series_scalar_udf_rust(std::vector<Series> inputs, std::string source_code) {
  return numeric_series_udf(std::move(inputs),
                            UdfSource::rust(RustUdfSource{.source_code = std::move(source_code)}));
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
