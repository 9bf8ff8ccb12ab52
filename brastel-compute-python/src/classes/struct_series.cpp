// StructSeries: named series combined into one.
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* WrappedStructSeries::spec() { return class_spec<WrappedStructSeries>(to_json); }

}  // namespace brastel_python
