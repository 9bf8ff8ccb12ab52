// The range builders: a series and options waiting for the comparison or
// operation that builds the range node. They have no to_json.
#include <tuple>

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

namespace {

namespace pc = ::brastel_python::python_construction;

template <auto F>
constexpr auto threshold = on_receiver<ThresholdRangesBuilder, F>;

template <auto F>
constexpr auto within_ranges = on_receiver<GroupWithinRangesBuilder, F>;

}  // namespace

PyType_Spec* WrappedCategoricalEqualityBuilder::spec() { return class_spec<WrappedCategoricalEqualityBuilder>(); }

PyType_Spec* WrappedCategoryRangesBuilder::spec() { return class_spec<WrappedCategoryRangesBuilder>(); }

PyType_Spec* WrappedDurationFilterBuilder::spec() { return class_spec<WrappedDurationFilterBuilder>(); }

PyType_Spec* WrappedNumericEqualityBuilder::spec() { return class_spec<WrappedNumericEqualityBuilder>(); }

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
