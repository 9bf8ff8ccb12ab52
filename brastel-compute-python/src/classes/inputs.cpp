#include "classes/inputs.h"

#include "brastel_compute/numeric_construction.h"
#include "brastel_compute/series_from.h"

namespace brastel_python {

namespace {

objects::NumericSeries constant_series(objects::DoubleConstant value) {
  return objects::NumericSeries::constant(objects::ConstantNumericSeries::double_(std::move(value)));
}

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace

objects::NumericSeries convert_numeric_series_input(NumericSeriesInput input) {
  return std::visit(Overloaded{
                        [](objects::NumericSeries&& series) { return std::move(series); },
                        [](double number) { return constant_series(objects::DoubleConstant::literal(number)); },
                        [](objects::DoubleConstant&& constant) { return constant_series(std::move(constant)); },
                        [](objects::ConstantNumericSeries&& constant) {
                          return objects::NumericSeries::constant(std::move(constant));
                        },
                    },
                    std::move(input.value));
}

objects::ConstantNumericSeries convert(ConstantNumericSeriesInput input) {
  return std::visit(Overloaded{
                        [](objects::ConstantNumericSeries&& constant) { return std::move(constant); },
                        [](double number) {
                          return objects::ConstantNumericSeries::double_(objects::DoubleConstant::literal(number));
                        },
                        [](objects::DoubleConstant&& constant) {
                          return objects::ConstantNumericSeries::double_(std::move(constant));
                        },
                    },
                    std::move(input.value));
}

objects::IntegerConstant convert(IntegerConstantInput input) {
  return std::visit(Overloaded{
                        [](objects::IntegerConstant&& constant) { return std::move(constant); },
                        [](std::int64_t value) { return brastel_compute::integer_constant_literal(value); },
                    },
                    std::move(input.value));
}

objects::StringConstant convert(StringConstantInput input) {
  return std::visit(Overloaded{
                        [](objects::StringConstant&& constant) { return std::move(constant); },
                        [](std::string&& text) { return objects::StringConstant::literal(std::move(text)); },
                    },
                    std::move(input.value));
}

objects::DoubleConstant convert(FloatConstantInput input) {
  return std::visit(Overloaded{
                        [](objects::DoubleConstant&& constant) { return std::move(constant); },
                        [](double number) { return objects::DoubleConstant::literal(number); },
                    },
                    std::move(input.value));
}

std::optional<objects::StringConstant> string_literal(PyObject* object) {
  if (!PyUnicode_Check(object)) return std::nullopt;
  Py_ssize_t size = 0;
  const char* utf8 = PyUnicode_AsUTF8AndSize(object, &size);
  if (!utf8) {
    binding::discard_error();
    return std::nullopt;
  }
  return objects::StringConstant::literal(std::string(utf8, static_cast<std::size_t>(size)));
}

std::vector<std::pair<brastel_compute::RefpropProperty, objects::NumericSeries>> convert_refprop_inputs(
    std::vector<std::pair<std::string, NumericSeriesInput>> inputs) {
  std::vector<std::pair<brastel_compute::RefpropProperty, objects::NumericSeries>> out;
  out.reserve(inputs.size());
  for (auto& [key, value] : inputs) {
    auto property = brastel_compute::RefpropProperty::try_from(key);
    if (!property) {
      throw binding::PythonException{PyExc_ValueError, "Invalid enum key '" + key +
                                                           "' for RefpropProperty in map: " +
                                                           property.error().message};
    }
    out.emplace_back(property.value(), convert_numeric_series_input(std::move(value)));
  }
  return out;
}

}  // namespace brastel_python

namespace brastel_python::binding {

std::optional<objects::Series> Extract<objects::Series>::from(PyObject* object) {
  if (binding::is_instance<WrappedCategoricalSeries>(object)) {
    return objects::series_from(value_of<WrappedCategoricalSeries>(object));
  }
  if (binding::is_instance<WrappedNumericSeries>(object)) {
    return objects::series_from(value_of<WrappedNumericSeries>(object));
  }
  if (binding::is_instance<WrappedStructSeries>(object)) {
    return objects::series_from(value_of<WrappedStructSeries>(object));
  }
  PyErr_SetString(PyExc_TypeError,
                  "Expected one of: enum (Class(CategoricalSeries)), numeric (Class(NumericSeries)), struct "
                  "(Class(StructSeries))");
  return std::nullopt;
}

}  // namespace brastel_python::binding
