// CategoricalSeries: the categorical expression class.
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* WrappedCategoricalSeries::spec() { return class_spec<WrappedCategoricalSeries>(to_json); }

}  // namespace brastel_python
