#pragma once

#include "python.h"

namespace brastel_python {

// The exec step: checks that it was given a module (in the interpreter that
// owns the class objects, one new enough, whose finalizing state it finds),
// then adds the 31 classes and the module functions, in registration
// order, each also appended to __all__. Returns 0, or -1 with the Python
// error set; the first failure ends it.
int register_module(PyObject* module);

// The classes alone, for a module that offers them beside its own functions.
bool register_classes(PyObject* module);

}  // namespace brastel_python
