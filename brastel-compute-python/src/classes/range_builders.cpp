// The range builders: a series and options waiting for the comparison or
// operation that builds the range node. They have no to_json.
#include <utility>
#include <vector>

#include "brastel_compute/boolean_range_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"
#include "python_construction.h"

namespace brastel_python {

using namespace binding;

namespace {

using brastel_compute::EnumFilterOperator;
using brastel_compute::EqualityOperator;
using brastel_compute::ThresholdOperator;

template <auto Operator>
objects::RangeSeries categorical_equality(const CategoricalEqualityBuilder& self) {
  return brastel_compute::range_series_categorical_equality_ranges(self.inputs, self.min_points, self.min_duration,
                                                                   self.range_start, Operator);
}

template <auto Operator>
objects::RangeSeries category_filter(const CategoryRangesBuilder& self, std::vector<StringConstantInput> values) {
  return python_construction::categorical_series_category_ranges(
      self.input, convert(std::move(values)), self.min_points, self.min_duration, self.range_start, Operator);
}

// eq and ne: one value stands for a list of it alone.
template <auto Operator>
objects::RangeSeries category_filter_one(const CategoryRangesBuilder& self, StringConstantInput value) {
  std::vector<StringConstantInput> values;
  values.push_back(std::move(value));
  return category_filter<Operator>(self, std::move(values));
}

template <auto Comparison>
objects::RangeSeries duration_filter(const DurationFilterBuilder& self, objects::Duration duration) {
  return brastel_compute::range_series_duration_filter(self.input, std::move(duration), self.unbounded_behavior,
                                                       Comparison);
}

template <auto Operator>
objects::RangeSeries numeric_equality(const NumericEqualityBuilder& self) {
  return brastel_compute::range_series_numeric_equality_ranges(self.inputs, self.tolerance, self.min_points,
                                                               self.min_duration, self.range_start, Operator);
}

}  // namespace

PyType_Spec* WrappedCategoricalEqualityBuilder::spec() {
  return class_spec<WrappedCategoricalEqualityBuilder>(
      method<"all_equal($self)", &categorical_equality<EqualityOperator::AllEqual>>,
      method<"not_all_equal($self)", &categorical_equality<EqualityOperator::NotAllEqual>>);
}

PyType_Spec* WrappedCategoryRangesBuilder::spec() {
  return class_spec<WrappedCategoryRangesBuilder>(
      method<"is_in($self, values)", &category_filter<EnumFilterOperator::IsIn>>,
      method<"is_not_in($self, values)", &category_filter<EnumFilterOperator::IsNotIn>>,
      method<"eq($self, value)", &category_filter_one<EnumFilterOperator::IsIn>>,
      method<"ne($self, value)", &category_filter_one<EnumFilterOperator::IsNotIn>>,
      method<"matches_regex($self, values)", &category_filter<EnumFilterOperator::MatchesAnyRegex>>);
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
      method<"all_equal($self)", &numeric_equality<EqualityOperator::AllEqual>>,
      method<"not_all_equal($self)", &numeric_equality<EqualityOperator::NotAllEqual>>);
}

PyType_Spec* WrappedGroupWithinRangesBuilder::spec() { return class_spec<WrappedGroupWithinRangesBuilder>(); }

PyType_Spec* WrappedThresholdRangesBuilder::spec() { return class_spec<WrappedThresholdRangesBuilder>(); }

}  // namespace brastel_python
