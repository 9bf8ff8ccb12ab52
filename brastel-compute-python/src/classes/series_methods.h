// What the series classes that a Series can hold (NumericSeries,
// CategoricalSeries, StructSeries) offer alike, each over its receiver as a
// Series (the variant "numeric", "enum" or "struct" holding it): the time
// methods and the aggregation openers. Each class lists them as entries of
// its spec(), typed by its value; the openers also by the builder class they
// make, which is all that records what kind of series the builder was
// opened on.
#pragma once

#include "binding/operators.h"
#include "brastel_compute/aggregation_construction.h"
#include "brastel_compute/numeric_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

template <class Value>
inline constexpr auto time_methods = binding::declarations(
    binding::method<"time_difference($self, time_unit=None)",
                    on_receiver<Value, &brastel_compute::numeric_series_time_difference>>,
    binding::method<"absolute_timestamp($self, time_unit)",
                    on_receiver<Value, &brastel_compute::numeric_series_absolute_timestamp>>);

template <class Value, class Builder>
inline constexpr auto aggregation_openers = binding::declarations(
    binding::method<"rolling_time($self, window)",
                    on_receiver<Value, &brastel_compute::aggregation_builder_rolling_time, binding::Held<Builder>>>,
    binding::method<"rolling_points($self, points)",
                    on_receiver<Value, &brastel_compute::aggregation_builder_rolling_points, binding::Held<Builder>>>,
    binding::method<"group_by($self, tags, timestamp, alignment=None)",
                    on_receiver<Value, &brastel_compute::aggregation_builder_group_by, binding::Held<Builder>>>);

}  // namespace brastel_python
