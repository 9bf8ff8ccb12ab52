// Interpreter exit. While the interpreter finalizes, CPython ends every
// daemon thread that tries to take the GIL back by unwinding it
// (pthread_exit), and that can happen inside one of our calls: an
// argument's __float__ or __str__ let the GIL go, and never gets it back.
// The forced unwind must pass through our frames (no catch-all swallows it,
// no noexcept frame stops it: either aborts the process), and, as the thread
// no longer holds the GIL, the destructors on its way must touch neither
// Python objects nor node counts. From the moment the interpreter begins to
// exit, Ref and ExitSafe leak what they hold instead: at exit that is
// harmless.
#pragma once

#include <atomic>
#include <new>

#include "python.h"

namespace brastel_python::binding {

// Set by an atexit callback, which CPython runs before it starts ending
// daemon threads; the GIL hand-over orders it before any such unwind.
inline std::atomic<bool> interpreter_exit_started{false};

inline bool interpreter_exiting() noexcept { return interpreter_exit_started.load(std::memory_order_relaxed); }

// Registers the callback (and clears the flag, for an interpreter made
// again after an earlier one ended). False with the error set.
bool watch_interpreter_exit();

// A value that lives across calls that may run Python code (the arguments
// already extracted while the next one is): destroyed as usual, except once
// the interpreter is exiting, when an empty T is made over it first, so that
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
    if (interpreter_exiting()) [[unlikely]]
      new (&value_) T();
  }

  T& operator*() noexcept { return value_; }
  T* operator->() noexcept { return &value_; }

 private:
  T value_;
};

}  // namespace brastel_python::binding
