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

using bc::RangePaddingConfiguration;
using objects::RangeSeries;

template <RangePaddingConfiguration::Value Padding>
constexpr auto padded = on_receiver<RangeSeries, with_last<&bc::range_series_padded_ranges, Padding>>;

// The builders hold the inputs and options until a method of theirs names
// the comparison.
using MinPoints = std::optional<objects::IntegerConstant>;
using MinDuration = std::optional<objects::Duration>;
using Start = std::optional<bc::RangeStart>;

constexpr auto categorical_equality =
    from_inputs<&pending<CategoricalEqualityBuilder, std::vector<objects::EnumSeries>, MinPoints, MinDuration, Start>>;
constexpr auto numeric_equality =
    from_inputs<&pending<NumericEqualityBuilder, std::vector<objects::NumericSeries>,
                         std::optional<objects::DoubleConstant>, MinPoints, MinDuration, Start>>;
constexpr auto duration_filter =
    on_receiver<RangeSeries, &pending<DurationFilterBuilder, RangeSeries, std::optional<bc::UnboundedBehavior>>>;

}  // namespace

PyType_Spec* WrappedRangeSeries::spec() {
  return class_spec<WrappedRangeSeries>(
      static_method<"Intersect(inputs)", &bc::range_series_intersect>,
      method<"invert($self)", &from_input<&RangeSeries::not_, RangeSeries>>,
      static_method<"Reference(name)", &from_input<&RangeSeries::raw, std::string>>,
      static_method<"Union(inputs)", &bc::range_series_union>,
      method<"to_durations($self, unbounded_range_behavior, time_unit=None)", &pc::range_series_to_durations>,
      static_method<"CategoricalEquality(inputs, min_points=None, min_duration=None, range_start=None)",
                    categorical_equality>,
      method<"duration_filter($self, unbounded_behavior=None)", duration_filter>,
      static_method<"NumericEquality(inputs, tolerance=None, min_points=None, min_duration=None, range_start=None)",
                    numeric_equality>,
      method<"pad_start($self, duration)", padded<RangePaddingConfiguration::PadStart>>,
      method<"pad_end($self, duration)", padded<RangePaddingConfiguration::PadEnd>>,
      method<"pad_both($self, duration)", padded<RangePaddingConfiguration::PadStartAndEnd>>,
      to_json);
}

PyType_Spec* WrappedBooleanSeries::spec() {
  return class_spec<WrappedBooleanSeries>(
      method<"ranges($self, min_points=None, min_duration=None, range_start=None)",
             on_receiver<objects::BooleanSeries, &pc::boolean_series_ranges>>,
      boolean_series_operators, to_json);
}

}  // namespace brastel_python
