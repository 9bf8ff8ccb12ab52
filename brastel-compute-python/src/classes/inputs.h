// The input unions: where a constant or a series object is expected, a plain
// Python number or text may stand instead and becomes a literal. Also the
// series extraction of the Udf inputs (WrappedSeries) and the conversions
// that turn extracted inputs into nodes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "binding/binding.h"
#include "brastel_compute/enums.h"
#include "brastel_compute/node.h"
#include "classes/classes.h"

namespace brastel_python {

using binding::InputUnion;
using binding::Variant;

using NumericSeriesInput =
    InputUnion<"NumericSeriesInput", Variant<"Wrapped", objects::NumericSeries>, Variant<"Number", double>,
               Variant<"FloatConstant", objects::DoubleConstant>,
               Variant<"ConstantNumericSeries", objects::ConstantNumericSeries>>;

using ConstantNumericSeriesInput =
    InputUnion<"ConstantNumericSeriesInput", Variant<"Wrapped", objects::ConstantNumericSeries>,
               Variant<"Number", double>, Variant<"FloatConstant", objects::DoubleConstant>>;

// The int is range-checked only when it becomes a literal (convert).
using IntegerConstantInput =
    InputUnion<"IntegerConstantInput", Variant<"Wrapped", objects::IntegerConstant>, Variant<"Integer", std::int64_t>>;

using StringConstantInput =
    InputUnion<"StringConstantInput", Variant<"Wrapped", objects::StringConstant>, Variant<"String", std::string>>;

using FloatConstantInput =
    InputUnion<"FloatConstantInput", Variant<"Wrapped", objects::DoubleConstant>, Variant<"Number", double>>;

// The options of every range-finding method, as the Python side gives them.
using OptionalMinPoints = std::optional<IntegerConstantInput>;
using OptionalMinDuration = std::optional<objects::Duration>;
using OptionalRangeStart = std::optional<brastel_compute::RangeStart>;

// A series object as the input of a UDF: CategoricalSeries, NumericSeries or
// StructSeries, tried in this order (Extract<objects::Series> below).
using WrappedSeries = objects::Series;

objects::NumericSeries convert_numeric_series_input(NumericSeriesInput input);
objects::ConstantNumericSeries convert(ConstantNumericSeriesInput input);
// Panics ("integer value exceeds i32 range: ...") for an int outside the
// signed 32-bit range.
objects::IntegerConstant convert(IntegerConstantInput input);
objects::StringConstant convert(StringConstantInput input);
objects::DoubleConstant convert(FloatConstantInput input);

inline objects::NumericSeries convert(NumericSeriesInput input) {
  return convert_numeric_series_input(std::move(input));
}

// A value some class holds (a Duration, a UdfSource...) is its own node.
// (Declared before the templates below, which find them by name.)
template <class V>
  requires binding::HasClass<V>
V convert(V value) {
  return value;
}

// So are a series taken as a Series, a text and a text-named enum.
inline objects::Series convert(objects::Series value) { return value; }
inline std::string convert(std::string text) { return text; }
template <class Def>
brastel_compute::Enum<Def> convert(brastel_compute::Enum<Def> value) {
  return value;
}

// The value of an object of one named class (an aggregation builder).
template <class C>
typename C::Value convert(binding::Held<C> held) {
  return std::move(held.value);
}

// Element by element, order and length kept.
template <class Input>
auto convert(std::vector<Input> inputs) {
  std::vector<decltype(convert(std::move(inputs.front())))> out;
  out.reserve(inputs.size());
  for (Input& input : inputs) out.push_back(convert(std::move(input)));
  return out;
}

// Values converted, keys kept, order kept.
template <class Input>
auto convert(std::vector<std::pair<std::string, Input>> entries) {
  std::vector<std::pair<std::string, decltype(convert(std::move(entries.front().second)))>> out;
  out.reserve(entries.size());
  for (auto& [key, value] : entries) out.emplace_back(std::move(key), convert(std::move(value)));
  return out;
}

// Absent stays absent.
template <class Input>
auto convert(std::optional<Input> input) -> std::optional<decltype(convert(std::move(*input)))> {
  if (!input) return std::nullopt;
  return convert(std::move(*input));
}

// The variant Factory makes from its payload (or from the value itself where
// the variant holds no record), whose fields are the Python side's inputs in
// order, each converted: a plain number or text becomes a literal.
template <auto Factory, class... Inputs>
auto from_input(Inputs... inputs) {
  return brastel_compute::node<Factory>(convert(std::move(inputs))...);
}

// Build (a construction function) over the Python side's inputs, each
// converted in order. The conversion runs in the body, after the binding
// has extracted every argument: so an int out of the 32-bit range is
// reported only when no argument failed to extract.
template <auto Build, class... Inputs>
auto converting(Inputs... inputs) {
  return std::apply(Build, std::tuple<decltype(convert(std::move(inputs)))...>{convert(std::move(inputs))...});
}

// A range builder's pending inputs and options, converted as above, in the
// order of its fields.
template <class Pending, class... Inputs>
Pending pending(Inputs... inputs) {
  return Pending{convert(std::move(inputs))...};
}

// A variant without data, by its no-argument factory (the factory's name
// alone is ambiguous: it also takes the empty record).
template <class Union, Union (*Variant)()>
Union empty() {
  return Variant();
}

// The inputs of NumericSeries.Refprop: each key parsed as a RefpropProperty
// in the dict's order, so that of several bad keys the first is always
// reported: ValueError "Invalid enum key '{}' for RefpropProperty in map: {}".
std::vector<std::pair<brastel_compute::RefpropProperty, objects::NumericSeries>> convert_refprop_inputs(
    std::vector<std::pair<std::string, NumericSeriesInput>> inputs);

}  // namespace brastel_python

namespace brastel_python::binding {

template <>
struct Extract<objects::Series> {
  static std::optional<objects::Series> from(PyObject* object);
};

}  // namespace brastel_python::binding
