// The input unions: where a constant or a series object is expected, a plain
// Python number or text may stand instead and becomes a literal. Also the
// series extraction of the Udf inputs (WrappedSeries) and the conversions
// that turn extracted inputs into nodes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "binding/binding.h"
#include "brastel_compute/enums.h"
#include "brastel_compute/node.h"
#include "brastel_compute/series_from.h"
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

// So is a text.
inline std::string convert(std::string text) { return text; }

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

// ---- construction functions as methods
//
// A construction function's parameter types say what Python may pass for
// them: where it takes a series, a constant or a text, the input union of
// that type (a plain number or str becomes a literal), and lists and
// optionals of those likewise; any other type is extracted as it is.
//
//   static_method<"Max(inputs)", from_inputs<&brastel_compute::max>>
//   method<"head($self, num_points)", on_receiver<objects::NumericSeries, &brastel_compute::numeric_series_head>>
//
// The inputs are converted after all of them were extracted (so a wrong type
// is reported before an int outside 32 bits, whichever parameter holds it),
// in parameter order.

// The input union in which a plain Python value may stand for a T: the one
// whose first variant (an object of T's own class) is T.
template <class T, class Unions = std::tuple<NumericSeriesInput, ConstantNumericSeriesInput, IntegerConstantInput,
                                             FloatConstantInput, StringConstantInput>>
struct UnionOf {};
template <class T, class U, class... Us>
struct UnionOf<T, std::tuple<U, Us...>>
    : std::conditional_t<std::is_same_v<std::variant_alternative_t<0, typename U::Storage>, T>,
                         std::type_identity<U>, UnionOf<T, std::tuple<Us...>>> {};

// An input of one of those unions held as the node it becomes: its
// conversion cannot fail, so it is made as the argument is read. An object
// of T's own class (each union's first variant) is taken at once, without
// going through the union.
template <class T>
struct Converted {
  T value;
};

// A str where a StringConstant is taken, the common case, as its literal at
// once, without going through the union; nothing, and no error set, where
// its text cannot be read as UTF-8 (the union then reports it).
std::optional<objects::StringConstant> string_literal(PyObject* object);

template <class T>
T convert(Converted<T> input) {
  return std::move(input.value);
}

template <class T>
struct InputOf {
  using type = T;
};
template <class T>
  requires requires { typename UnionOf<T>::type; }
struct InputOf<T> {
  using type = Converted<T>;
};
// An int becomes a literal only once every argument is read, so that a
// wrong argument is reported before an int beyond 32 bits.
template <>
struct InputOf<objects::IntegerConstant> {
  using type = IntegerConstantInput;
};
template <class T>
struct InputOf<std::optional<T>> {
  using type = std::optional<typename InputOf<T>::type>;
};
// A list of inputs is converted as it is read, so that a call makes one list,
// not two.
template <class T>
struct ListOf {
  std::vector<T> values;
};
template <class T>
  requires std::is_same_v<typename InputOf<T>::type, Converted<T>>
struct InputOf<std::vector<T>> {
  using type = ListOf<T>;
  static std::vector<T> convert(ListOf<T>&& list) { return std::move(list.values); }
};
// A dict keyed by text, its values inputs like any other.
template <class T>
  requires(!std::is_same_v<typename InputOf<T>::type, T>)
struct InputOf<std::vector<std::pair<std::string, T>>> {
  using type = std::vector<std::pair<std::string, typename InputOf<T>::type>>;
};
// The refprop inputs come as a dict keyed by property text.
template <>
struct InputOf<std::vector<std::pair<brastel_compute::RefpropProperty, objects::NumericSeries>>> {
  using type = std::vector<std::pair<std::string, NumericSeriesInput>>;
  static constexpr auto convert = &convert_refprop_inputs;
};

template <class T>
using input_of = typename InputOf<T>::type;

// An extracted input as the value of a parameter of type T.
template <class T>
T to_parameter(input_of<T>&& input) {
  if constexpr (requires { InputOf<T>::convert; }) {
    return InputOf<T>::convert(std::move(input));
  } else if constexpr (std::is_same_v<input_of<T>, T>) {
    return std::move(input);
  } else {
    return convert(std::move(input));
  }
}

// What a receiver hands the construction function first: its value, or a
// builder's pending fields (overloads beside each builder class).
template <class V>
std::tuple<const V&> receiver_arguments(const V& value) {
  return std::tuple<const V&>(value);
}

// A receiver's part as the parameter's type: itself, or a series where the
// function takes any Series.
template <class P, class X>
P as_parameter(const X& value) {
  if constexpr (std::is_same_v<P, X>) {
    return value;
  } else {
    return objects::series_from(value);
  }
}

// R, or Result holding it (Held<Class> where several classes hold R).
template <class Result, class R>
Result as_result(R&& value) {
  if constexpr (std::is_same_v<Result, std::remove_cvref_t<R>>) {
    return std::forward<R>(value);
  } else {
    return Result{std::forward<R>(value)};
  }
}

namespace detail {

template <auto F>
using ParamsOf = typename binding::detail::FunctionTraits<decltype(F)>::Params;

template <auto F, std::size_t K>
using ParamOf = std::tuple_element_t<K, ParamsOf<F>>;

template <auto F, class Result>
using ResultOf =
    std::conditional_t<std::is_void_v<Result>, typename binding::detail::FunctionTraits<decltype(F)>::Result, Result>;

template <auto F>
inline constexpr std::size_t kArity = std::tuple_size_v<ParamsOf<F>>;

template <class Self>
inline constexpr std::size_t kLeading = std::tuple_size_v<decltype(receiver_arguments(std::declval<const Self&>()))>;

// Braces convert the arguments left to right.
template <auto F, class Result, class Rest = std::make_index_sequence<kArity<F>>>
struct FromInputs;
template <auto F, class Result, std::size_t... I>
struct FromInputs<F, Result, std::index_sequence<I...>> {
  static Result call(input_of<ParamOf<F, I>>... inputs) {
    return as_result<Result>(std::apply(F, ParamsOf<F>{to_parameter<ParamOf<F, I>>(std::move(inputs))...}));
  }
};

template <class Self, auto F, class Result, class Rest = std::make_index_sequence<kArity<F> - kLeading<Self>>>
struct OnReceiver;
template <class Self, auto F, class Result, std::size_t... I>
struct OnReceiver<Self, F, Result, std::index_sequence<I...>> {
  static constexpr std::size_t N = kLeading<Self>;
  static Result call(const Self& self, input_of<ParamOf<F, N + I>>... inputs) {
    auto leading = receiver_arguments(self);
    return [&]<std::size_t... L>(std::index_sequence<L...>) {
      return as_result<Result>(std::apply(F, ParamsOf<F>{as_parameter<ParamOf<F, L>>(std::get<L>(leading))...,
                                                         to_parameter<ParamOf<F, N + I>>(std::move(inputs))...}));
    }(std::make_index_sequence<N>{});
  }
};

}  // namespace detail

// A static factory or module function over F: one Python input per parameter.
template <auto F, class Result = void>
inline constexpr auto from_inputs = &detail::FromInputs<F, detail::ResultOf<F, Result>>::call;

// An instance method over F: the receiver's arguments first, then one Python
// input per remaining parameter.
template <class Self, auto F, class Result = void>
inline constexpr auto on_receiver = &detail::OnReceiver<Self, F, detail::ResultOf<F, Result>>::call;

namespace detail {

template <auto F, auto Last, class Rest = std::make_index_sequence<kArity<F> - 1>>
struct WithLast;
template <auto F, auto Last, std::size_t... I>
struct WithLast<F, Last, std::index_sequence<I...>> {
  static auto call(ParamOf<F, I>... args) { return F(std::move(args)..., Last); }
};

}  // namespace detail

// F with its last parameter fixed: the operator enum that the method's name
// chooses (peaks -> PeakType::Peak).
template <auto F, auto Last>
inline constexpr auto with_last = &detail::WithLast<F, Last>::call;

// A static completion of an aggregation builder: the builder's value type,
// held by three classes, does not say which class is accepted, so Builder
// names it.
template <class Builder, auto F>
auto complete(binding::Held<Builder> input, detail::ParamOf<F, 1> operator_) {
  return F(std::move(input.value), std::move(operator_));
}

// A numeric node around one series (abs, sqrt, negate, dropNan...).
template <auto Variant>
inline constexpr auto unary = &from_input<Variant, objects::NumericSeries>;

// A builder's pending state from the fields, as given.
template <class Builder, class... Fields>
Builder pending(Fields... fields) {
  return Builder{std::move(fields)...};
}

}  // namespace brastel_python

namespace brastel_python::binding {

template <>
struct Extract<objects::Series> {
  static std::optional<objects::Series> from(PyObject* object);
};

template <class T>
struct Extract<Converted<T>> {
  using Union = typename UnionOf<T>::type;

  static std::optional<T> item(PyObject* object) {
    // T's own class, the common case, skips the union's value and its
    // conversion altogether.
    if (Extract<T>::matches(object)) return Extract<T>::from(object);
    if constexpr (std::is_same_v<T, objects::StringConstant>) {
      if (std::optional<T> literal = string_literal(object)) return literal;
    }
    std::optional<Union> input = Extract<Union>::from(object);
    if (!input) return std::nullopt;
    return brastel_python::convert(std::move(*input));
  }

  static std::optional<Converted<T>> from(PyObject* object) {
    std::optional<T> value = item(object);
    if (!value) return std::nullopt;
    return Converted<T>{std::move(*value)};
  }
};

template <class T>
struct Extract<ListOf<T>> {
  static std::optional<ListOf<T>> from(PyObject* object) {
    std::optional<std::vector<T>> values = read_list<T>(object, &Extract<Converted<T>>::item);
    if (!values) return std::nullopt;
    return ListOf<T>{std::move(*values)};
  }
};

}  // namespace brastel_python::binding
