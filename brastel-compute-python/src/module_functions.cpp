// The module's functions, in registration order (after the 31 classes in
// __all__). One line each, over the node's construction function:
// function<"atan2(y, x)", from_inputs<&brastel_compute::atan2>>.
#include "module_functions.h"

#include "brastel_compute/numeric_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

using objects::NumericSeries;

const FunctionTable* module_functions() {
  return function_table(
      function<"abs(x)", from_inputs<unary<&NumericSeries::abs>>>,
      function<"cos(x)", from_inputs<unary<&NumericSeries::cos>>>,
      function<"sin(x)", from_inputs<unary<&NumericSeries::sin>>>,
      function<"tan(x)", from_inputs<unary<&NumericSeries::tan>>>,
      function<"acos(x)", from_inputs<unary<&NumericSeries::acos>>>,
      function<"asin(x)", from_inputs<unary<&NumericSeries::asin>>>,
      function<"ln(x)", from_inputs<unary<&NumericSeries::ln>>>,
      function<"log10(x)", from_inputs<unary<&NumericSeries::log10>>>,
      function<"sqrt(x)", from_inputs<unary<&NumericSeries::sqrt>>>,
      function<"atan2(y, x)", from_inputs<&brastel_compute::atan2>>,
      function<"max(inputs)", from_inputs<&brastel_compute::max>>,
      function<"mean(inputs)", from_inputs<&brastel_compute::mean>>,
      function<"min(inputs)", from_inputs<&brastel_compute::min>>,
      function<"sum(inputs)", from_inputs<&brastel_compute::sum>>,
      function<"product(inputs)", from_inputs<&brastel_compute::product>>,
      function<"numeric_if_else(condition, true_value, false_value)", from_inputs<&brastel_compute::numeric_if_else>>);
}

}  // namespace brastel_python
