#include "binding/interpreter_exit.h"

#include "binding/ref.h"

namespace brastel_python::binding {

namespace {

PyObject* mark_exit(PyObject*, PyObject*) {
  interpreter_exit_started.store(true, std::memory_order_relaxed);
  Py_RETURN_NONE;
}

PyMethodDef mark_exit_def = {"_compute_exit", mark_exit, METH_NOARGS, nullptr};

}  // namespace

bool watch_interpreter_exit() {
  interpreter_exit_started.store(false, std::memory_order_relaxed);
  Ref atexit = Ref::steal(PyImport_ImportModule("atexit"));
  if (!atexit) return false;
  Ref callback = Ref::steal(PyCFunction_NewEx(&mark_exit_def, nullptr, nullptr));
  if (!callback) return false;
  Ref done = Ref::steal(PyObject_CallMethod(atexit.get(), "register", "O", callback.get()));
  return static_cast<bool>(done);
}

}  // namespace brastel_python::binding
