// Duration, Dataset and Sampling.
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* DatasetClass::spec() { return class_spec<DatasetClass>(to_json); }

PyType_Spec* SamplingClass::spec() { return class_spec<SamplingClass>(to_json); }

PyType_Spec* DurationClass::spec() { return class_spec<DurationClass>(to_json); }

}  // namespace brastel_python
