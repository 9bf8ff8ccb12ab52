#include "binding/interpreter_exit.h"

#include <dlfcn.h>

#include <cstddef>
#include <initializer_list>
#include <iterator>

namespace brastel_python::binding {

namespace {

// Deferred releases. One list for the process, under the GIL: no Python code
// runs between a throw and the boundary that catches it, so no other call
// comes in meanwhile, and one unwind drops a handful of references (those of
// the extraction frames it leaves). A reference that finds no room is left
// unreleased rather than released while the exception unwinds.
PyObject* deferred[64];
std::size_t deferred_count = 0;

}  // namespace

bool find_runtime_finalizing() {
  // Py_IsFinalizing from 3.13, _Py_IsFinalizing before it.
  for (const char* name : {"Py_IsFinalizing", "_Py_IsFinalizing"}) {
    if (void* found = dlsym(RTLD_DEFAULT, name)) {
      runtime_finalizing = reinterpret_cast<int (*)()>(found);
      return true;
    }
  }
  PyErr_SetString(PyExc_ImportError, "_compute cannot find the interpreter's Py_IsFinalizing");
  return false;
}

void defer_release(PyObject* object) noexcept {
  if (deferred_count < std::size(deferred)) deferred[deferred_count++] = object;
}

void release_deferred() {
  // One at a time, taken off first: a release may run Python code that
  // comes back here.
  while (deferred_count != 0) Py_DECREF(deferred[--deferred_count]);
}

}  // namespace brastel_python::binding
