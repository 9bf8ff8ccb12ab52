// Construction functions that make one NumericSeries node each (and the
// checked integer literal). Every argument is taken by value and moved into
// the node; an absent optional argument leaves its field absent; nothing is
// validated. The functions of a family share one function type, which gives
// their signature once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "brastel_compute/conjure/objects.h"
#include "brastel_compute/enums.h"

namespace brastel_compute {

// Binary arithmetic: the first argument is the first field of the payload
// ("left", or "base" for power, "y" for atan2).
using NumericBinaryFunction = conjure::objects::NumericSeries(conjure::objects::NumericSeries first,
                                                              conjure::objects::NumericSeries second);
NumericBinaryFunction numeric_series_add, numeric_series_subtract, numeric_series_multiply, numeric_series_divide,
    numeric_series_floor_divide, numeric_series_modulo, numeric_series_power, atan2;

// N-ary: the list in the given order, no interpolation configuration;
// numeric_series_union makes "union", never with an operation.
using NumericListFunction = conjure::objects::NumericSeries(std::vector<conjure::objects::NumericSeries> inputs);
NumericListFunction max, min, sum, mean, product, numeric_series_union;

// A series and an integer constant, the payload's second field ("numPoints"
// for head and tail, "operand" for the bit operations, "index" for bit_test,
// "n", "maxPointsToReturn").
using NumericIntegerFunction = conjure::objects::NumericSeries(conjure::objects::NumericSeries input,
                                                               conjure::objects::IntegerConstant operand);
NumericIntegerFunction numeric_series_head, numeric_series_tail, numeric_series_bit_and, numeric_series_bit_or,
    numeric_series_bit_xor, numeric_series_bit_shift_right, numeric_series_bit_shift_left, numeric_series_bit_test,
    numeric_series_nth_point_downsample, numeric_series_largest_triangle_three_buckets;

conjure::objects::NumericSeries numeric_if_else(conjure::objects::BooleanSeries condition,
                                                conjure::objects::NumericSeries true_value,
                                                conjure::objects::NumericSeries false_value);

conjure::objects::NumericSeries numeric_series_derivative(
    conjure::objects::NumericSeries input, std::optional<TimeUnit> time_unit,
    std::optional<conjure::objects::NegativeValueConfiguration> negative_values_configuration);
conjure::objects::NumericSeries numeric_series_value_difference(
    conjure::objects::NumericSeries input,
    std::optional<conjure::objects::NegativeValueConfiguration> negative_values_configuration);
conjure::objects::NumericSeries numeric_series_time_difference(conjure::objects::Series input,
                                                               std::optional<TimeUnit> time_unit);
conjure::objects::NumericSeries numeric_series_absolute_timestamp(conjure::objects::Series input,
                                                                  TimeUnit time_unit);
conjure::objects::NumericSeries numeric_series_time_shift(conjure::objects::NumericSeries input,
                                                          conjure::objects::Duration duration);
conjure::objects::NumericSeries numeric_series_to_start_of_interval(conjure::objects::NumericSeries input,
                                                                    conjure::objects::Duration window);
conjure::objects::NumericSeries numeric_series_filter_where(conjure::objects::NumericSeries input,
                                                            conjure::objects::BooleanSeries condition);
conjure::objects::NumericSeries numeric_series_phase_unwrap(conjure::objects::NumericSeries input,
                                                            conjure::objects::DoubleConstant period);
conjure::objects::NumericSeries numeric_series_signal_filter(
    conjure::objects::NumericSeries input,
    conjure::objects::SignalFilterConfiguration signal_filter_configuration,
    conjure::objects::IntegerConstant order, std::optional<conjure::objects::DoubleConstant> sampling_frequency);

// The tags become an ordered set: sorted, each once.
conjure::objects::NumericSeries numeric_series_z_score(conjure::objects::NumericSeries input,
                                                       std::vector<conjure::objects::StringConstant> group_by_tags);
conjure::objects::NumericSeries numeric_series_select_tags(conjure::objects::NumericSeries input,
                                                           std::vector<conjure::objects::StringConstant> tag_keys);

conjure::objects::NumericSeries numeric_series_select_numeric(std::optional<conjure::objects::StringConstant> name,
                                                              std::optional<conjure::objects::Dataset> dataset,
                                                              std::optional<conjure::objects::Sampling> sampling,
                                                              std::optional<SeriesStorage> storage);

// The field path keeps its order and repeats.
conjure::objects::NumericSeries struct_series_extract_numeric(
    conjure::objects::StructSeries input, std::vector<conjure::objects::StringConstant> field_path,
    std::optional<NumericDataType> data_type);

conjure::objects::NumericSeries numeric_series_udf(std::vector<conjure::objects::Series> inputs,
                                                   conjure::objects::UdfSource source);
// As numeric_series_udf with the source UdfSource "rust" holding the text.
conjure::objects::NumericSeries numeric_series_scalar_udf_rust(std::vector<conjure::objects::Series> inputs,
                                                               std::string source_code);

// IntegerConstant "literal". Throws Panic ("integer value exceeds i32 range:
// TryFromIntError(PosOverflow)" or "...(NegOverflow)") outside the signed
// 32-bit range.
conjure::objects::IntegerConstant integer_constant_literal(std::int64_t value);

}  // namespace brastel_compute
