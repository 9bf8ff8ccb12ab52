// The module's functions, in registration order (after the 31 classes in
// __all__). One line each: function<"atan2(y, x)", &wrapped_atan2>.
#include "module_functions.h"

#include <utility>
#include <vector>

#include "brastel_compute/numeric_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

namespace {

// A one-operand node: the variant's factory and its payload record {x}.
template <auto Variant, class Payload>
objects::NumericSeries unary(NumericSeriesInput x) {
  return Variant(Payload{convert(std::move(x))});
}

objects::NumericSeries wrapped_atan2(NumericSeriesInput y, NumericSeriesInput x) {
  return brastel_compute::atan2(convert(std::move(y)), convert(std::move(x)));
}

template <auto Reduce>
objects::NumericSeries reduction(std::vector<NumericSeriesInput> inputs) {
  return Reduce(convert(std::move(inputs)));
}

objects::NumericSeries wrapped_numeric_if_else(objects::BooleanSeries condition, NumericSeriesInput true_value,
                                               NumericSeriesInput false_value) {
  return brastel_compute::numeric_if_else(std::move(condition), convert(std::move(true_value)),
                                          convert(std::move(false_value)));
}

using objects::NumericSeries;

}  // namespace

const FunctionTable* module_functions() {
  return function_table(
      function<"abs(x)", &unary<&NumericSeries::abs, objects::Abs>>,
      function<"cos(x)", &unary<&NumericSeries::cos, objects::Cos>>,
      function<"sin(x)", &unary<&NumericSeries::sin, objects::Sin>>,
      function<"tan(x)", &unary<&NumericSeries::tan, objects::Tan>>,
      function<"acos(x)", &unary<&NumericSeries::acos, objects::Acos>>,
      function<"asin(x)", &unary<&NumericSeries::asin, objects::Asin>>,
      function<"ln(x)", &unary<&NumericSeries::ln, objects::Ln>>,
      function<"log10(x)", &unary<&NumericSeries::log10, objects::Log10>>,
      function<"sqrt(x)", &unary<&NumericSeries::sqrt, objects::Sqrt>>,
      function<"atan2(y, x)", &wrapped_atan2>,
      function<"max(inputs)", &reduction<&brastel_compute::max>>,
      function<"mean(inputs)", &reduction<&brastel_compute::mean>>,
      function<"min(inputs)", &reduction<&brastel_compute::min>>,
      function<"sum(inputs)", &reduction<&brastel_compute::sum>>,
      function<"product(inputs)", &reduction<&brastel_compute::product>>,
      function<"numeric_if_else(condition, true_value, false_value)", &wrapped_numeric_if_else>);
}

}  // namespace brastel_python
