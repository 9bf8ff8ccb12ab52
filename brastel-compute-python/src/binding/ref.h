// An owned Python reference, released when it goes out of scope, so that
// every early return gives back exactly what it took.
#pragma once

#include <exception>
#include <utility>

#include "binding/interpreter_exit.h"
#include "python.h"

namespace brastel_python::binding {

class Ref {
 public:
  Ref() noexcept = default;
  // Takes over a new reference (the result of most API calls; may be null).
  static Ref steal(PyObject* p) noexcept { return Ref(p); }
  // Takes a new reference to a borrowed one.
  static Ref borrow(PyObject* p) noexcept {
    Py_XINCREF(p);
    return Ref(p);
  }

  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  // Releasing may run Python code (a __del__), which may end the thread at
  // interpreter exit: neither is noexcept (interpreter_exit.h).
  Ref& operator=(Ref&& o) {
    Ref old(std::exchange(p_, std::exchange(o.p_, nullptr)));
    return *this;
  }
  ~Ref() noexcept(false) {
    if (p_) release(p_);
  }

  PyObject* get() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  // Hands the reference to the caller (a return value of the C API).
  [[nodiscard]] PyObject* release() noexcept { return std::exchange(p_, nullptr); }

 private:
  explicit Ref(PyObject* p) noexcept : p_(p) {}

  // Kept for the call's boundary once the runtime is finalizing, or when it
  // is the last reference and a C++ exception is unwinding, since its
  // finaliser may end the thread (interpreter_exit.h).
  static void release(PyObject* p) {
    if (interpreter_finalizing() || (Py_REFCNT(p) == 1 && std::uncaught_exceptions() != 0)) [[unlikely]] {
      defer_release(p);
      return;
    }
    Py_DECREF(p);
  }

  PyObject* p_ = nullptr;
};

// The pending exception, taken out of the interpreter (normalized, with its
// traceback attached), and put back.
struct FetchedError {
  Ref type, value, traceback;

  static FetchedError fetch() {
    PyObject *t, *v, *tb;
    PyErr_Fetch(&t, &v, &tb);
    PyErr_NormalizeException(&t, &v, &tb);
    if (tb && v) PyException_SetTraceback(v, tb);
    return {Ref::steal(t), Ref::steal(v), Ref::steal(tb)};
  }
  void restore() { PyErr_Restore(type.release(), value.release(), traceback.release()); }
};

}  // namespace brastel_python::binding
