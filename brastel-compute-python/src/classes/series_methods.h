// What the series classes that a Series can hold (NumericSeries,
// CategoricalSeries, StructSeries) offer alike, each over its receiver as a
// Series (the variant "numeric", "enum" or "struct" holding it): the time
// methods and the aggregation openers. Each class lists them as entries of
// its spec(), typed by its value; the openers also by the builder class they
// make, which is all that records what kind of series the builder was
// opened on.
#pragma once

#include <optional>
#include <utility>

#include "binding/operators.h"
#include "brastel_compute/aggregation_construction.h"
#include "brastel_compute/numeric_construction.h"
#include "brastel_compute/series_from.h"
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

// Build over the receiver as a Series and the converted inputs.
template <class Value, auto Build, class... Inputs>
auto over_series(const Value& self, Inputs... inputs) {
  return converting<Build>(objects::series_from(self), std::move(inputs)...);
}

template <class Builder, class Value, auto Build, class... Inputs>
binding::Held<Builder> open_aggregation(const Value& self, Inputs... inputs) {
  return {over_series<Value, Build, Inputs...>(self, std::move(inputs)...)};
}

template <class Value>
inline constexpr auto time_methods = binding::declarations(
    binding::method<"time_difference($self, time_unit=None)",
                    &over_series<Value, &brastel_compute::numeric_series_time_difference,
                                 std::optional<brastel_compute::TimeUnit>>>,
    binding::method<"absolute_timestamp($self, time_unit)",
                    &over_series<Value, &brastel_compute::numeric_series_absolute_timestamp,
                                 brastel_compute::TimeUnit>>);

template <class Value, class Builder>
inline constexpr auto aggregation_openers = binding::declarations(
    binding::method<"rolling_time($self, window)",
                    &open_aggregation<Builder, Value, &brastel_compute::aggregation_builder_rolling_time,
                                      objects::Duration>>,
    binding::method<"rolling_points($self, points)",
                    &open_aggregation<Builder, Value, &brastel_compute::aggregation_builder_rolling_points,
                                      IntegerConstantInput>>,
    binding::method<"group_by($self, tags, timestamp, alignment=None)",
                    &open_aggregation<Builder, Value, &brastel_compute::aggregation_builder_group_by,
                                      objects::GroupByTags, objects::GroupByTimestamp,
                                      std::optional<objects::GroupByAlignment>>>);

}  // namespace brastel_python
