// The range builders: a series and options waiting for the comparison or
// operation that builds the range node. They have no to_json.
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* CategoricalEqualityBuilderClass::spec() { return class_spec<CategoricalEqualityBuilderClass>(); }

PyType_Spec* CategoryRangesBuilderClass::spec() { return class_spec<CategoryRangesBuilderClass>(); }

PyType_Spec* DurationFilterBuilderClass::spec() { return class_spec<DurationFilterBuilderClass>(); }

PyType_Spec* NumericEqualityBuilderClass::spec() { return class_spec<NumericEqualityBuilderClass>(); }

PyType_Spec* GroupWithinRangesBuilderClass::spec() { return class_spec<GroupWithinRangesBuilderClass>(); }

PyType_Spec* ThresholdRangesBuilderClass::spec() { return class_spec<ThresholdRangesBuilderClass>(); }

}  // namespace brastel_python
