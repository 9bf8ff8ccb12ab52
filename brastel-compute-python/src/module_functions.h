#pragma once

#include "binding/binding.h"

namespace brastel_python {

// The table of the module functions; null with the error set if their
// parameter names cannot be interned.
const binding::FunctionTable* module_functions();

}  // namespace brastel_python
