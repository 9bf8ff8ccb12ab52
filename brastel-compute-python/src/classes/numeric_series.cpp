// NumericSeries: the numeric expression class.
#include "classes/classes.h"
#include "classes/inputs.h"
#include "classes/series_operators.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* WrappedNumericSeries::spec() {
  return class_spec<WrappedNumericSeries>(numeric_series_operators, to_json);
}

}  // namespace brastel_python
