// CategoricalSeries: the categorical expression class.
#include <optional>
#include <string>

#include "brastel_compute/boolean_range_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"
#include "classes/series_methods.h"
#include "python_construction.h"

namespace brastel_python {

using namespace binding;

namespace {

using objects::EnumSeries;
using objects::RangeSeries;

// The builder holds the receiver and the options until a method of its own
// names the categories.
constexpr auto category_ranges =
    on_receiver<EnumSeries, &pending<CategoryRangesBuilder, EnumSeries, std::optional<objects::IntegerConstant>,
                                     std::optional<objects::Duration>, std::optional<bc::RangeStart>>>;

}  // namespace

PyType_Spec* WrappedCategoricalSeries::spec() {
  return class_spec<WrappedCategoricalSeries>(
      static_method<"Reference(name)", &from_input<&EnumSeries::raw, std::string>>,
      method<"resample($self, duration)", &pc::categorical_series_resample>,
      method<"nth_point_downsample($self, n)", on_receiver<EnumSeries, &pc::categorical_series_nth_point_downsample>>,
      method<"time_shift($self, duration)", &bc::categorical_series_time_shift>,
      method<"filter_within($self, ranges)", &pc::categorical_series_filter_within>,
      static_method<"EnumAggregation(input, operator)",
                    &complete<WrappedCategoricalAggregationBuilder, &bc::categorical_series_enum_aggregation>>,
      static_method<"SelectCategoricalProperty(property_name, dataset=None)",
                    &from_input<&EnumSeries::select_categorical_property, std::string, std::optional<objects::Dataset>>>,
      time_methods<EnumSeries>,
      method<"to_numeric($self, mapping, default=None)", on_receiver<EnumSeries, &pc::categorical_series_to_numeric>>,
      static_method<"ValueMap(input, mapping, default=None)", from_inputs<&pc::numeric_series_value_map>>,
      method<"on_change_ranges($self)", &from_input<&RangeSeries::categorical_on_change_ranges_v2, EnumSeries>>,
      method<"stale_ranges($self, threshold)", &pc::categorical_series_stale_ranges>,
      aggregation_openers<EnumSeries, WrappedCategoricalAggregationBuilder>,
      method<"category_ranges($self, min_points=None, min_duration=None, range_start=None)", category_ranges>,
      to_json);
}

}  // namespace brastel_python
