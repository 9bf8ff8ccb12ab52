// RangeSeries and BooleanSeries.
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* RangeSeriesClass::spec() { return class_spec<RangeSeriesClass>(to_json); }

PyType_Spec* BooleanSeriesClass::spec() { return class_spec<BooleanSeriesClass>(to_json); }

}  // namespace brastel_python
