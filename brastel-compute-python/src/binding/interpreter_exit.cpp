#include "binding/interpreter_exit.h"

#include <dlfcn.h>

#include <cstdlib>
#include <initializer_list>

namespace brastel_python::binding {

[[gnu::tls_model("initial-exec")]] constinit thread_local Deferred* t_deferred = nullptr;

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
  // malloc, not new: this runs in destructors while an exception unwinds,
  // where nothing may throw.
  auto* entry = static_cast<Deferred*>(std::malloc(sizeof(Deferred)));
  if (entry == nullptr) return;
  *entry = {t_deferred, object};
  t_deferred = entry;
}

void release_deferred() {
  // Each taken off the list before it is released: a release may run Python
  // code that comes back here, or end the thread.
  while (Deferred* entry = t_deferred) {
    t_deferred = entry->next;
    PyObject* object = entry->object;
    std::free(entry);
    Py_DECREF(object);
  }
}

void abandon_deferred() noexcept {
  while (Deferred* entry = t_deferred) {
    t_deferred = entry->next;
    std::free(entry);
  }
}

}  // namespace brastel_python::binding
