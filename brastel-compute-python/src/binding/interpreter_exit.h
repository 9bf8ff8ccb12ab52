// Interpreter exit. While the interpreter finalizes, CPython ends every
// daemon thread that tries to take the GIL back by unwinding it
// (pthread_exit), and that can happen inside one of our calls: an
// argument's __float__ or __str__, or the finaliser of an object we release,
// lets the GIL go and never gets it back. The forced unwind must pass
// through our frames: no catch-all may swallow it, no noexcept frame stop
// it, and it must not start inside a destructor that runs while a C++
// exception unwinds; each of those aborts the process. As the thread no
// longer holds the GIL, the destructors on its way must touch neither
// Python objects nor node counts. Hence:
// - once the runtime is finalizing, Ref and ExitSafe leave what they hold as
//   it is: the thread is being ended, or it is the one ending the process.
//   The runtime's own state tells, not an atexit callback: a program may
//   run the atexit callbacks itself and go on, and they may run long before
//   the runtime finalizes;
// - a release that may run Python code (a last reference) while a C++
//   exception unwinds waits for the call's boundary, where the exception has
//   become a Python error (guarded, errors.h);
// - no standard container holds a Ref: their destructors are noexcept.
#pragma once

#include <new>

#include "python.h"

namespace brastel_python::binding {

// Whether the runtime is finalizing: a function of the interpreter that the
// stable ABI lacks, found when the module is imported.
inline int (*runtime_finalizing)() = [] { return 0; };

inline bool interpreter_finalizing() noexcept { return runtime_finalizing() != 0; }

// Finds the interpreter's check; false with ImportError set without one.
bool find_runtime_finalizing();

// Keeps a reference to release at the call's boundary (release_deferred).
void defer_release(PyObject* object) noexcept;

// The releases deferred so far, done now; any may run Python code.
void release_deferred();

// A value that lives across calls that may run Python code (the arguments
// already extracted while the next one is): destroyed as usual, except once
// the runtime is finalizing, when an empty T is made over it first, so that
// what it held is left as it is. T's empty state holds nothing (an optional,
// a vector).
template <class T>
class ExitSafe {
 public:
  ExitSafe() = default;
  // The value that make() returns, made in place.
  template <class Make>
  explicit ExitSafe(Make&& make) : value_(make()) {}
  ExitSafe(const ExitSafe&) = delete;
  ExitSafe& operator=(const ExitSafe&) = delete;
  // Inline, so that the destruction of a value moved out of it folds away.
  [[gnu::always_inline]] inline ~ExitSafe() {
    if (interpreter_finalizing()) [[unlikely]]
      new (&value_) T();
  }

  T& operator*() noexcept { return value_; }
  T* operator->() noexcept { return &value_; }

 private:
  T value_;
};

}  // namespace brastel_python::binding
