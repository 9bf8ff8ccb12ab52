// CategoricalSeries: the categorical expression class.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "brastel_compute/boolean_range_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"
#include "classes/series_methods.h"
#include "python_construction.h"

namespace brastel_python {

using namespace binding;

namespace {

namespace construction = brastel_compute;
using objects::EnumSeries;
using objects::RangeSeries;

}  // namespace

PyType_Spec* WrappedCategoricalSeries::spec() {
  return class_spec<WrappedCategoricalSeries>(
      static_method<"Reference(name)", &from_input<&EnumSeries::raw, std::string>>,
      method<"resample($self, duration)", &python_construction::categorical_series_resample>,
      method<"nth_point_downsample($self, n)",
             &converting<&python_construction::categorical_series_nth_point_downsample, EnumSeries,
                         IntegerConstantInput>>,
      method<"time_shift($self, duration)", &construction::categorical_series_time_shift>,
      method<"filter_within($self, ranges)", &python_construction::categorical_series_filter_within>,
      static_method<"EnumAggregation(input, operator)",
                    &converting<&construction::categorical_series_enum_aggregation,
                                Held<WrappedCategoricalAggregationBuilder>, objects::EnumAggregationOperator>>,
      static_method<"SelectCategoricalProperty(property_name, dataset=None)",
                    &from_input<&EnumSeries::select_categorical_property, std::string,
                                std::optional<objects::Dataset>>>,
      time_methods<EnumSeries>,
      method<"to_numeric($self, mapping, default=None)",
             &converting<&python_construction::categorical_series_to_numeric, EnumSeries,
                         std::vector<std::pair<std::string, FloatConstantInput>>, std::optional<FloatConstantInput>>>,
      static_method<"ValueMap(input, mapping, default=None)",
                    &converting<&python_construction::numeric_series_value_map, NumericSeriesInput,
                                std::vector<objects::RangeMap>, std::optional<StringConstantInput>>>,
      method<"on_change_ranges($self)", &from_input<&RangeSeries::categorical_on_change_ranges_v2, EnumSeries>>,
      method<"stale_ranges($self, threshold)", &python_construction::categorical_series_stale_ranges>,
      aggregation_openers<EnumSeries, WrappedCategoricalAggregationBuilder>,
      method<"category_ranges($self, min_points=None, min_duration=None, range_start=None)",
             &pending<CategoryRangesBuilder, EnumSeries, OptionalMinPoints, OptionalMinDuration, OptionalRangeStart>>,
      to_json);
}

}  // namespace brastel_python
