// The range builders: a series and options waiting for the comparison or
// operation that builds the range node. They have no to_json.
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* WrappedCategoricalEqualityBuilder::spec() { return class_spec<WrappedCategoricalEqualityBuilder>(); }

PyType_Spec* WrappedCategoryRangesBuilder::spec() { return class_spec<WrappedCategoryRangesBuilder>(); }

PyType_Spec* WrappedDurationFilterBuilder::spec() { return class_spec<WrappedDurationFilterBuilder>(); }

PyType_Spec* WrappedNumericEqualityBuilder::spec() { return class_spec<WrappedNumericEqualityBuilder>(); }

PyType_Spec* WrappedGroupWithinRangesBuilder::spec() { return class_spec<WrappedGroupWithinRangesBuilder>(); }

PyType_Spec* WrappedThresholdRangesBuilder::spec() { return class_spec<WrappedThresholdRangesBuilder>(); }

}  // namespace brastel_python
