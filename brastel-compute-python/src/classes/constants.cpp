// IntegerConstant, StringConstant, FloatConstant and ConstantNumericSeries:
// a literal fixed when the expression is built, or a variable by name. The
// factories are the object model's own, but for the checked integer literal.
#include "brastel_compute/numeric_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* ConstantNumericSeriesClass::spec() {
  return class_spec<ConstantNumericSeriesClass>(
      static_method<"Float(value)", &from_input<&objects::ConstantNumericSeries::double_, FloatConstantInput>>,
      to_json);
}

PyType_Spec* IntegerConstantClass::spec() {
  return class_spec<IntegerConstantClass>(
      static_method<"Literal(literal)", &brastel_compute::integer_constant_literal>,
      static_method<"Reference(variable)", &objects::IntegerConstant::variable>, to_json);
}

PyType_Spec* StringConstantClass::spec() {
  return class_spec<StringConstantClass>(static_method<"Literal(literal)", &objects::StringConstant::literal>,
                                         static_method<"Reference(variable)", &objects::StringConstant::variable>,
                                         to_json);
}

PyType_Spec* FloatConstantClass::spec() {
  return class_spec<FloatConstantClass>(static_method<"Literal(literal)", &objects::DoubleConstant::literal>,
                                        static_method<"Reference(variable)", &objects::DoubleConstant::variable>,
                                        to_json);
}

}  // namespace brastel_python
