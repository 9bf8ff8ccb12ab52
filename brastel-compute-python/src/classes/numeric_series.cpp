// NumericSeries: the numeric expression class.
#include <optional>
#include <string>
#include <utility>

#include "brastel_compute/aggregation_construction.h"
#include "brastel_compute/boolean_range_construction.h"
#include "brastel_compute/numeric_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"
#include "classes/series_methods.h"
#include "classes/series_operators.h"
#include "python_construction.h"

namespace brastel_python {

using namespace binding;

namespace {

using objects::NumericSeries;
using PeakType = bc::PeakType;

// An instance method over F, the receiver first; Result where F's result
// type is held by several classes.
template <auto F, class Result = void>
constexpr auto on_self = on_receiver<NumericSeries, F, Result>;

// The peak family: the selection is the method's name.
template <PeakType::Value Selection>
constexpr auto extrema = on_self<with_last<&bc::numeric_series_extrema_ranges, Selection>>;

// The builders hold the receiver and the options until a method of theirs
// names the operation.
constexpr auto threshold_ranges =
    on_self<&pending<ThresholdRangesBuilder, NumericSeries, std::optional<objects::IntegerConstant>,
                     std::optional<objects::Duration>, std::optional<bc::RangeStart>>>;
constexpr auto group_within_ranges = &pending<GroupWithinRangesBuilder, NumericSeries, objects::RangeSeries>;

}  // namespace

PyType_Spec* WrappedNumericSeries::spec() {
  return class_spec<WrappedNumericSeries>(
      method<"abs($self)", unary<&NumericSeries::abs>>,
      method<"cos($self)", unary<&NumericSeries::cos>>,
      method<"sin($self)", unary<&NumericSeries::sin>>,
      method<"tan($self)", unary<&NumericSeries::tan>>,
      method<"acos($self)", unary<&NumericSeries::acos>>,
      method<"asin($self)", unary<&NumericSeries::asin>>,
      method<"ln($self)", unary<&NumericSeries::ln>>,
      method<"log10($self)", unary<&NumericSeries::log10>>,
      method<"sqrt($self)", unary<&NumericSeries::sqrt>>,
      method<"atan2($self, x)", on_self<&bc::atan2>>,
      static_method<"Max(inputs)", from_inputs<&bc::max>>,
      static_method<"Mean(inputs)", from_inputs<&bc::mean>>,
      static_method<"Min(inputs)", from_inputs<&bc::min>>,
      static_method<"Sum(inputs)", from_inputs<&bc::sum>>,
      static_method<"Union(inputs)", from_inputs<&bc::numeric_series_union>>,
      static_method<"Product(inputs)", from_inputs<&bc::product>>,
      static_method<"Constant(constant)", &from_input<&NumericSeries::constant, ConstantNumericSeriesInput>>,
      method<"tail($self, num_points)", on_self<&bc::numeric_series_tail>>,
      static_method<"SelectNumeric(name=None, dataset=None, sampling=None, storage=None)",
                    from_inputs<&bc::numeric_series_select_numeric>>,
      static_method<"SelectNumericProperty(property_name, dataset=None)",
                    &from_input<&NumericSeries::select_numeric_property, std::string, std::optional<objects::Dataset>>>,
      method<"head($self, num_points)", on_self<&bc::numeric_series_head>>,
      method<"bit_and($self, operand)", on_self<&bc::numeric_series_bit_and>>,
      method<"bit_or($self, operand)", on_self<&bc::numeric_series_bit_or>>,
      method<"bit_xor($self, operand)", on_self<&bc::numeric_series_bit_xor>>,
      method<"bit_shift_right($self, operand)", on_self<&bc::numeric_series_bit_shift_right>>,
      method<"bit_shift_left($self, operand)", on_self<&bc::numeric_series_bit_shift_left>>,
      method<"bit_test($self, index)", on_self<&bc::numeric_series_bit_test>>,
      static_method<"IfElse(condition, true_value, false_value)", from_inputs<&bc::numeric_if_else>>,
      static_method<"NumericAggregation(input, operator)", &complete<WrappedNumericAggregationBuilder, &bc::numeric_series_numeric_aggregation>>,
      method<"derivative($self, time_unit=None, negative_values_configuration=None)", &bc::numeric_series_derivative>,
      method<"z_score($self, group_by_tags)", on_self<&bc::numeric_series_z_score>>,
      static_method<"Reference(name)", &from_input<&NumericSeries::raw, std::string>>,
      method<"resample($self, duration)", &pc::numeric_series_resample>,
      method<"nth_point_downsample($self, n)", on_self<&bc::numeric_series_nth_point_downsample>>,
      method<"largest_triangle_three_buckets($self, max_points_to_return)",
             on_self<&bc::numeric_series_largest_triangle_three_buckets>>,
      method<"signal_filter($self, signal_filter_configuration, order, sampling_frequency=None)",
             on_self<&bc::numeric_series_signal_filter>>,
      method<"time_shift($self, duration)", &bc::numeric_series_time_shift>,
      method<"unit_conversion($self, output_unit)",
             &from_input<&NumericSeries::unit_conversion, NumericSeries, std::string>>,
      method<"value_difference($self, negative_values_configuration=None)", &bc::numeric_series_value_difference>,
      method<"filter_within($self, ranges)", &pc::numeric_series_filter_within>,
      method<"filter_where($self, condition)", &bc::numeric_series_filter_where>,
      method<"drop_nan($self)", unary<&NumericSeries::drop_nan>>,
      static_method<"Udf(inputs, source)", &bc::numeric_series_udf>,
      method<"select_tags($self, tag_keys)", on_self<&bc::numeric_series_select_tags>>,
      method<"to_start_of_interval($self, window)", &bc::numeric_series_to_start_of_interval>,
      method<"phase_unwrap($self, period)", on_self<&bc::numeric_series_phase_unwrap>>,
      time_methods<NumericSeries>,
      static_method<"RustUdf(inputs, source_code)", &bc::numeric_series_scalar_udf_rust>,
      static_method<"Refprop(inputs, substance, output)", from_inputs<&pc::numeric_series_refprop>>,
      method<"value_map($self, mapping, default=None)", on_self<&pc::numeric_series_value_map>>,
      method<"crossover_ranges($self, other)", on_self<&pc::numeric_series_crossover_ranges>>,
      method<"stability_ranges_absolute($self, value, window, min_points=None)",
             on_self<&pc::range_series_stability_detection_v2_absolute>>,
      method<"stability_ranges_percentage($self, value, window, min_points=None)",
             on_self<&pc::range_series_stability_detection_v2_percentage>>,
      method<"stale_ranges($self, threshold)", &pc::numeric_series_stale_ranges>,
      aggregation_openers<NumericSeries, WrappedNumericAggregationBuilder>,
      method<"peaks($self, minimum_prominence=None)", extrema<PeakType::Peak>>,
      method<"troughs($self, minimum_prominence=None)", extrema<PeakType::Trough>>,
      method<"peaks_and_troughs($self, minimum_prominence=None)", extrema<PeakType::Both>>,
      method<"group_within_ranges($self, ranges)", group_within_ranges>,
      method<"threshold_ranges($self, min_points=None, min_duration=None, range_start=None)", threshold_ranges>,
      to_json,
      numeric_series_operators);
}

}  // namespace brastel_python
