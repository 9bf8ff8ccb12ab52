// RangeSeries and BooleanSeries.
#include <optional>
#include <string>
#include <vector>

#include "brastel_compute/boolean_range_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"
#include "classes/series_operators.h"
#include "python_construction.h"

namespace brastel_python {

using namespace binding;

namespace {

using brastel_compute::RangePaddingConfiguration;
using objects::RangeSeries;

template <auto Padding>
RangeSeries padded(RangeSeries self, objects::Duration duration) {
  return brastel_compute::range_series_padded_ranges(std::move(self), std::move(duration), Padding);
}

}  // namespace

PyType_Spec* WrappedRangeSeries::spec() {
  return class_spec<WrappedRangeSeries>(
      static_method<"Intersect(inputs)", &brastel_compute::range_series_intersect>,
      method<"invert($self)", &from_input<&RangeSeries::not_, RangeSeries>>,
      static_method<"Reference(name)", &from_input<&RangeSeries::raw, std::string>>,
      static_method<"Union(inputs)", &brastel_compute::range_series_union>,
      method<"to_durations($self, unbounded_range_behavior, time_unit=None)",
             &python_construction::range_series_to_durations>,
      static_method<"CategoricalEquality(inputs, min_points=None, min_duration=None, range_start=None)",
                    &pending<CategoricalEqualityBuilder, std::vector<objects::EnumSeries>, OptionalMinPoints,
                             OptionalMinDuration, OptionalRangeStart>>,
      method<"duration_filter($self, unbounded_behavior=None)",
             &pending<DurationFilterBuilder, RangeSeries, std::optional<brastel_compute::UnboundedBehavior>>>,
      static_method<"NumericEquality(inputs, tolerance=None, min_points=None, min_duration=None, range_start=None)",
                    &pending<NumericEqualityBuilder, std::vector<NumericSeriesInput>, std::optional<FloatConstantInput>,
                             OptionalMinPoints, OptionalMinDuration, OptionalRangeStart>>,
      method<"pad_start($self, duration)", &padded<RangePaddingConfiguration::PadStart>>,
      method<"pad_end($self, duration)", &padded<RangePaddingConfiguration::PadEnd>>,
      method<"pad_both($self, duration)", &padded<RangePaddingConfiguration::PadStartAndEnd>>,
      to_json);
}

PyType_Spec* WrappedBooleanSeries::spec() {
  return class_spec<WrappedBooleanSeries>(
      method<"ranges($self, min_points=None, min_duration=None, range_start=None)",
             &converting<&python_construction::boolean_series_ranges, objects::BooleanSeries, OptionalMinPoints,
                         OptionalMinDuration, OptionalRangeStart>>,
      boolean_series_operators, to_json);
}

}  // namespace brastel_python
