#include "registration.h"

namespace brastel_python {

namespace {

// Class objects are made once per process, so a second interpreter would
// share them; refuse it instead.
bool first_interpreter() {
  static const int64_t owner = PyInterpreterState_GetID(PyInterpreterState_Get());
  return PyInterpreterState_GetID(PyInterpreterState_Get()) == owner;
}

}  // namespace

int register_module(PyObject* module) noexcept {
  if (!PyModule_Check(module)) {
    PyErr_SetString(PyExc_TypeError, "the exec step needs a module object");
    return -1;
  }
  if (!first_interpreter()) {
    PyErr_SetString(PyExc_ImportError, "_compute does not support sub-interpreters");
    return -1;
  }
  return 0;
}

}  // namespace brastel_python
