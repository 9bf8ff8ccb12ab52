#include "binding/interpreter_exit.h"

#include <dlfcn.h>

#include <cstddef>
#include <cstdlib>
#include <initializer_list>

namespace brastel_python::binding {

namespace {

// Deferred releases. One list for the process, under the GIL: no Python code
// runs between a throw and the boundary that catches it, so no other call
// comes in meanwhile. A few slots in place, the rest allocated; a reference
// that finds no room is left unreleased rather than released while the
// exception unwinds.
constexpr std::size_t kInPlace = 16;
PyObject* in_place[kInPlace];
PyObject** deferred = in_place;
std::size_t deferred_count = 0;
std::size_t deferred_capacity = kInPlace;

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
  if (deferred_count == deferred_capacity) {
    std::size_t capacity = deferred_capacity * 2;
    void* grown = deferred == in_place ? std::malloc(capacity * sizeof(PyObject*))
                                       : std::realloc(deferred, capacity * sizeof(PyObject*));
    if (grown == nullptr) return;
    if (deferred == in_place) {
      for (std::size_t i = 0; i < kInPlace; ++i) static_cast<PyObject**>(grown)[i] = in_place[i];
    }
    deferred = static_cast<PyObject**>(grown);
    deferred_capacity = capacity;
  }
  deferred[deferred_count++] = object;
}

void release_deferred() {
  // One at a time, taken off first: a release may run Python code that
  // comes back here.
  while (deferred_count != 0) Py_DECREF(deferred[--deferred_count]);
}

}  // namespace brastel_python::binding
