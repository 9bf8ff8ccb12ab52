// The module's functions, in registration order (after the 31 classes in
// __all__). One line each: function<"atan2(y, x)", &wrapped_atan2>.
#include "module_functions.h"

#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

const FunctionTable* module_functions() { return function_table(); }

}  // namespace brastel_python
