// The aggregation builders (three classes over one AggregationBuilder, told
// apart by the completions they offer) and the aggregation operators.
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* NumericAggregationBuilderClass::spec() { return class_spec<NumericAggregationBuilderClass>(to_json); }

PyType_Spec* CategoricalAggregationBuilderClass::spec() {
  return class_spec<CategoricalAggregationBuilderClass>(to_json);
}

PyType_Spec* StructAggregationBuilderClass::spec() { return class_spec<StructAggregationBuilderClass>(to_json); }

PyType_Spec* NumericAggregationOperatorClass::spec() {
  return class_spec<NumericAggregationOperatorClass>(to_json);
}

PyType_Spec* EnumAggregationOperatorClass::spec() { return class_spec<EnumAggregationOperatorClass>(to_json); }

}  // namespace brastel_python
