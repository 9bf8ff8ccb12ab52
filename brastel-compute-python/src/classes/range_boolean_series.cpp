// RangeSeries and BooleanSeries.
#include "classes/classes.h"
#include "classes/inputs.h"
#include "classes/series_operators.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* RangeSeriesClass::spec() { return class_spec<RangeSeriesClass>(to_json); }

PyType_Spec* BooleanSeriesClass::spec() {
  return class_spec<BooleanSeriesClass>(boolean_series_operators, to_json);
}

}  // namespace brastel_python
