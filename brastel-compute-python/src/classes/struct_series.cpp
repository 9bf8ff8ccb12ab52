// StructSeries: named series combined into one.
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* StructSeriesClass::spec() { return class_spec<StructSeriesClass>(to_json); }

}  // namespace brastel_python
