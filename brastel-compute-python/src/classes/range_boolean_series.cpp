// RangeSeries and BooleanSeries.
#include "classes/classes.h"
#include "classes/inputs.h"
#include "classes/series_operators.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* WrappedRangeSeries::spec() { return class_spec<WrappedRangeSeries>(to_json); }

PyType_Spec* WrappedBooleanSeries::spec() {
  return class_spec<WrappedBooleanSeries>(boolean_series_operators, to_json);
}

}  // namespace brastel_python
