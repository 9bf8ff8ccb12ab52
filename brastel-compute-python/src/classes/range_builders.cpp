// The range builders: a series and options waiting for the comparison or
// operation that builds the range node. They have no to_json.
#include <tuple>
#include <utility>
#include <vector>

#include "brastel_compute/boolean_range_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"
#include "python_construction.h"

namespace brastel_python {

using namespace binding;

// The pending fields a builder hands its construction functions first.
auto receiver_arguments(const ThresholdRangesBuilder& b) {
  return std::tie(b.input, b.min_points, b.min_duration, b.range_start);
}

auto receiver_arguments(const GroupWithinRangesBuilder& b) { return std::tie(b.input, b.ranges); }

auto receiver_arguments(const NumericEqualityBuilder& b) {
  return std::tie(b.inputs, b.tolerance, b.min_points, b.min_duration, b.range_start);
}

auto receiver_arguments(const CategoricalEqualityBuilder& b) {
  return std::tie(b.inputs, b.min_points, b.min_duration, b.range_start);
}

namespace {

using bc::EnumFilterOperator;
using bc::EqualityOperator;
using bc::ThresholdOperator;

template <auto F>
constexpr auto threshold = on_receiver<ThresholdRangesBuilder, F>;

template <auto F>
constexpr auto within_ranges = on_receiver<GroupWithinRangesBuilder, F>;

template <EqualityOperator::Value Operator>
constexpr auto numeric_equality =
    on_receiver<NumericEqualityBuilder, with_last<&bc::range_series_numeric_equality_ranges, Operator>>;

template <EqualityOperator::Value Operator>
constexpr auto categorical_equality =
    on_receiver<CategoricalEqualityBuilder, with_last<&bc::range_series_categorical_equality_ranges, Operator>>;

// The categories come between the builder's input and its options; each
// str is made a literal as the list is read.
template <EnumFilterOperator::Value Operator>
objects::RangeSeries category_filter(CategoryRangesBuilder self, std::vector<objects::StringConstant> values) {
  return pc::categorical_series_category_ranges(std::move(self.input), std::move(values), std::move(self.min_points),
                                                std::move(self.min_duration), self.range_start, Operator);
}

// eq and ne: one value stands for a list of it alone.
template <EnumFilterOperator::Value Operator>
objects::RangeSeries category_filter_one(CategoryRangesBuilder self, objects::StringConstant value) {
  std::vector<objects::StringConstant> values;
  values.push_back(std::move(value));
  return category_filter<Operator>(std::move(self), std::move(values));
}

template <auto F>
constexpr auto categories = on_receiver<CategoryRangesBuilder, F>;

// The duration comes between the builder's input and its option.
template <ThresholdOperator::Value Comparison>
objects::RangeSeries duration_filter(const DurationFilterBuilder& self, objects::Duration duration) {
  return bc::range_series_duration_filter(self.input, std::move(duration), self.unbounded_behavior, Comparison);
}

}  // namespace

PyType_Spec* WrappedCategoricalEqualityBuilder::spec() {
  return class_spec<WrappedCategoricalEqualityBuilder>(
      method<"all_equal($self)", categorical_equality<EqualityOperator::AllEqual>>,
      method<"not_all_equal($self)", categorical_equality<EqualityOperator::NotAllEqual>>);
}

PyType_Spec* WrappedCategoryRangesBuilder::spec() {
  return class_spec<WrappedCategoryRangesBuilder>(
      method<"is_in($self, values)", categories<&category_filter<EnumFilterOperator::IsIn>>>,
      method<"is_not_in($self, values)", categories<&category_filter<EnumFilterOperator::IsNotIn>>>,
      method<"eq($self, value)", categories<&category_filter_one<EnumFilterOperator::IsIn>>>,
      method<"ne($self, value)", categories<&category_filter_one<EnumFilterOperator::IsNotIn>>>,
      method<"matches_regex($self, values)", categories<&category_filter<EnumFilterOperator::MatchesAnyRegex>>>);
}

PyType_Spec* WrappedDurationFilterBuilder::spec() {
  return class_spec<WrappedDurationFilterBuilder>(
      method<"gt($self, duration)", &duration_filter<ThresholdOperator::GreaterThan>>,
      method<"ge($self, duration)", &duration_filter<ThresholdOperator::GreaterThanOrEqualTo>>,
      method<"lt($self, duration)", &duration_filter<ThresholdOperator::LessThan>>,
      method<"le($self, duration)", &duration_filter<ThresholdOperator::LessThanOrEqualTo>>,
      method<"eq($self, duration)", &duration_filter<ThresholdOperator::EqualTo>>,
      method<"ne($self, duration)", &duration_filter<ThresholdOperator::NotEqualTo>>);
}

PyType_Spec* WrappedNumericEqualityBuilder::spec() {
  return class_spec<WrappedNumericEqualityBuilder>(
      method<"all_equal($self)", numeric_equality<EqualityOperator::AllEqual>>,
      method<"not_all_equal($self)", numeric_equality<EqualityOperator::NotAllEqual>>);
}

PyType_Spec* WrappedGroupWithinRangesBuilder::spec() {
  return class_spec<WrappedGroupWithinRangesBuilder>(
      method<"sum($self)", within_ranges<&pc::numeric_series_group_within_ranges_v2_sum>>,
      method<"mean($self)", within_ranges<&pc::numeric_series_group_within_ranges_v2_average>>,
      method<"min($self)", within_ranges<&pc::numeric_series_group_within_ranges_v2_min>>,
      method<"max($self)", within_ranges<&pc::numeric_series_group_within_ranges_v2_max>>,
      method<"count($self)", within_ranges<&pc::numeric_series_group_within_ranges_v2_count>>,
      method<"std($self)", within_ranges<&pc::numeric_series_group_within_ranges_v2_standard_deviation>>,
      method<"root_mean_square($self)", within_ranges<&pc::numeric_series_group_within_ranges_v2_root_mean_square>>,
      method<"percentile($self, percentile)", within_ranges<&pc::numeric_series_group_within_ranges_v2_percentile>>);
}

PyType_Spec* WrappedThresholdRangesBuilder::spec() {
  return class_spec<WrappedThresholdRangesBuilder>(
      method<"gt($self, threshold)", threshold<&pc::range_series_threshold_ranges_v2_gt>>,
      method<"ge($self, threshold)", threshold<&pc::range_series_threshold_ranges_v2_ge>>,
      method<"lt($self, threshold)", threshold<&pc::range_series_threshold_ranges_v2_lt>>,
      method<"le($self, threshold)", threshold<&pc::range_series_threshold_ranges_v2_le>>,
      method<"eq($self, threshold, tolerance=None)", threshold<&pc::range_series_threshold_ranges_v2_eq>>,
      method<"ne($self, threshold, tolerance=None)", threshold<&pc::range_series_threshold_ranges_v2_ne>>);
}

}  // namespace brastel_python
