// The aggregation builders (three classes over one AggregationBuilder, told
// apart by the completions they offer) and the aggregation operators.
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* WrappedNumericAggregationBuilder::spec() { return class_spec<WrappedNumericAggregationBuilder>(to_json); }

PyType_Spec* WrappedCategoricalAggregationBuilder::spec() {
  return class_spec<WrappedCategoricalAggregationBuilder>(to_json);
}

PyType_Spec* WrappedStructAggregationBuilder::spec() { return class_spec<WrappedStructAggregationBuilder>(to_json); }

PyType_Spec* WrappedNumericAggregationOperator::spec() {
  return class_spec<WrappedNumericAggregationOperator>(to_json);
}

PyType_Spec* WrappedEnumAggregationOperator::spec() { return class_spec<WrappedEnumAggregationOperator>(to_json); }

}  // namespace brastel_python
