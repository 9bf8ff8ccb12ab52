// NumericSeries: the numeric expression class.
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* NumericSeriesClass::spec() { return class_spec<NumericSeriesClass>(to_json); }

}  // namespace brastel_python
