// Interpreter exit and releases that must wait. While the interpreter
// finalizes, CPython ends every daemon thread that tries to take the GIL
// back by unwinding it (pthread_exit), and that can happen inside one of our
// calls: an argument's __float__ or __str__, or the finaliser of an object
// we release, lets the GIL go and never gets it back. The forced unwind must
// pass through our frames: no catch-all may swallow it, no noexcept frame
// stop it, and it must not start inside a destructor that runs while a C++
// exception unwinds; each of those aborts the process. As the thread no
// longer holds the GIL, the destructors on its way must touch neither
// Python objects nor node counts. Hence a release that may not be done where
// it is dropped waits on the thread's list of deferred releases, which the
// boundary of the call (guarded, errors.h) settles:
// - a last reference dropped while a C++ exception unwinds: its finaliser
//   could end the thread there. The boundary releases it once the
//   exception has become the Python error, or, when the call succeeds
//   (another module's exception was unwinding), before it returns;
// - whatever a Ref drops once the runtime is finalizing: only the thread
//   that finalizes runs our code then, or a thread being ended. The
//   boundary releases it on the one, and on the other, where the forced
//   unwind reaches it, leaves it as it is. The runtime's own state tells,
//   not an atexit callback: a program may run the atexit callbacks itself
//   and go on, and they may run long before the runtime finalizes.
// The list is the thread's own and every boundary empties it, so each
// release is done on the thread that dropped it, before the call that
// dropped it returns: a call made meanwhile (from a finaliser) empties it
// too, still inside the first. No standard container holds a Ref: their
// destructors are noexcept.
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

// A release waiting for the call's boundary, newest first.
struct Deferred {
  Deferred* next;
  PyObject* object;
};

// The thread's deferred releases. Initial-exec: read at every call's
// boundary, so no call to the TLS resolver.
[[gnu::tls_model("initial-exec")]] extern constinit thread_local Deferred* t_deferred;

// Keeps a release for the call's boundary; where no memory is left even to
// record it, the object is left as it is.
void defer_release(PyObject* object) noexcept;

// The deferred releases, done now, newest first; any may run Python code,
// which may defer more.
void release_deferred();

// The deferred releases of a thread being ended, left undone.
void abandon_deferred() noexcept;

// A value that lives across calls that may run Python code (the arguments
// already extracted while the next one is): destroyed as usual, except once
// the runtime is finalizing, when an empty T is made over it first, so that
// what it held is left as it is. T's empty state holds nothing (an optional,
// a vector). It holds no Python object, only nodes: which thread destroys it
// is not known there, and handing the value to the boundary, as Ref does,
// would cost every call.
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
