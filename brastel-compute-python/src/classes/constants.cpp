// IntegerConstant, StringConstant, FloatConstant and ConstantNumericSeries:
// a literal fixed when the expression is built, or a variable by name. The
// factories are the object model's own, but for the checked integer literal.
#include "brastel_compute/numeric_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* WrappedConstantNumericSeries::spec() {
  return class_spec<WrappedConstantNumericSeries>(
      static_method<"Float(value)", &from_input<&objects::ConstantNumericSeries::double_, FloatConstantInput>>,
      to_json);
}

PyType_Spec* WrappedIntegerConstant::spec() {
  return class_spec<WrappedIntegerConstant>(
      static_method<"Literal(literal)", &brastel_compute::integer_constant_literal>,
      static_method<"Reference(variable)", &objects::IntegerConstant::variable>, to_json);
}

PyType_Spec* WrappedStringConstant::spec() {
  return class_spec<WrappedStringConstant>(static_method<"Literal(literal)", &objects::StringConstant::literal>,
                                         static_method<"Reference(variable)", &objects::StringConstant::variable>,
                                         to_json);
}

PyType_Spec* WrappedFloatConstant::spec() {
  return class_spec<WrappedFloatConstant>(static_method<"Literal(literal)", &objects::DoubleConstant::literal>,
                                        static_method<"Reference(variable)", &objects::DoubleConstant::variable>,
                                        to_json);
}

}  // namespace brastel_python
