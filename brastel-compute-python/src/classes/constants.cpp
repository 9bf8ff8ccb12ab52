// IntegerConstant, StringConstant, FloatConstant and ConstantNumericSeries:
// a literal fixed when the expression is built, or a variable by name.
#include "brastel_compute/numeric_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

namespace {

objects::IntegerConstant integer_constant_variable(std::string variable) {
  return objects::IntegerConstant::variable(std::move(variable));
}

objects::StringConstant string_constant_literal(std::string literal) {
  return objects::StringConstant::literal(std::move(literal));
}

objects::StringConstant string_constant_variable(std::string variable) {
  return objects::StringConstant::variable(std::move(variable));
}

objects::DoubleConstant float_constant_literal(double literal) { return objects::DoubleConstant::literal(literal); }

objects::DoubleConstant float_constant_variable(std::string variable) {
  return objects::DoubleConstant::variable(std::move(variable));
}

objects::ConstantNumericSeries constant_numeric_series_float(FloatConstantInput value) {
  return objects::ConstantNumericSeries::double_(convert(std::move(value)));
}

}  // namespace

PyType_Spec* ConstantNumericSeriesClass::spec() {
  return class_spec<ConstantNumericSeriesClass>(static_method<"Float(value)", &constant_numeric_series_float>,
                                                to_json);
}

PyType_Spec* IntegerConstantClass::spec() {
  return class_spec<IntegerConstantClass>(
      static_method<"Literal(literal)", &brastel_compute::integer_constant_literal>,
      static_method<"Reference(variable)", &integer_constant_variable>, to_json);
}

PyType_Spec* StringConstantClass::spec() {
  return class_spec<StringConstantClass>(static_method<"Literal(literal)", &string_constant_literal>,
                                         static_method<"Reference(variable)", &string_constant_variable>,
                                         to_json);
}

PyType_Spec* FloatConstantClass::spec() {
  return class_spec<FloatConstantClass>(static_method<"Literal(literal)", &float_constant_literal>,
                                        static_method<"Reference(variable)", &float_constant_variable>, to_json);
}

}  // namespace brastel_python
