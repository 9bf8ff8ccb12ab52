// CategoricalSeries: the categorical expression class.
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* CategoricalSeriesClass::spec() { return class_spec<CategoricalSeriesClass>(to_json); }

}  // namespace brastel_python
