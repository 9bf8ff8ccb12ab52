#pragma once

#include "python.h"

namespace brastel_python {

// The exec step: checks that it was given a module, then adds the classes
// and functions. Returns 0, or -1 with the Python error set.
int register_module(PyObject* module) noexcept;

}  // namespace brastel_python
