// How failures become Python exceptions. Code under a call either reports a
// Python error by value (an extraction returns nothing with the error set)
// or throws; the call's one boundary (guarded) turns whatever was thrown
// into the Python exception: a panic into PanicException (after its report
// on standard error), std::bad_alloc into MemoryError, anything else into a
// clean SystemError. No other place in the binding catches C++ exceptions.
// The one thing it lets pass is the forced unwind that ends a thread at
// interpreter exit (interpreter_exit.h): nothing on a call's path is noexcept.
// Releases deferred meanwhile are done there, once an exception has become
// the Python error.
#pragma once

#include <cxxabi.h>

#include <new>
#include <string>
#include <string_view>

#include "binding/ref.h"
#include "brastel_compute/panic.h"
#include "python.h"

namespace brastel_python::binding {

// Thrown when a Python error is already set (a failed API call).
struct ErrorAlreadySet {};

// Thrown to raise a Python exception of the given type with a message.
struct PythonException {
  PyObject* type;
  std::string message;
};

// Sets the exception of the given type with a message that may hold any
// bytes of UTF-8 (NUL included).
void set_error(PyObject* type, std::string_view message);

// The binding's rendering of "not an instance": "'{}' object is not an
// instance of '{}'" with the object's type's qualified name, or "'None' is
// not an instance of '{}'" for None.
void set_cast_error(PyObject* object, std::string_view class_name);

// The qualified name of an object's type ("float", "Outer.Inner"); empty if
// it cannot be had.
std::string type_qualname(PyObject* object);

// KeyboardInterrupt, SystemExit and MemoryError (or subclasses) say nothing
// about an argument: where a failure would be passed over (the next variant
// of a union, NotImplemented from an operator, a fallback text), these end
// the call at once, unchanged. Throws ErrorAlreadySet if one is pending.
void propagate_interrupt();

// Clears the pending error, unless it is an interrupt (propagate_interrupt).
void discard_error();

// Adds "while processing '{}'" to the pending exception through its add_note;
// where add_note is missing (Python 3.10) the exception goes unchanged.
void note_parameter(std::string_view name);

// The panic exception "pyo3_runtime.PanicException", derived from
// BaseException, made once per process. Returns null with the error set if
// it cannot be made.
PyObject* panic_exception();

// Writes the panic report to standard error and raises PanicException.
void raise_panic(const brastel_compute::Panic& panic);

// Translates the exception being handled (call only inside a catch block).
void translate_current_exception();

// The one C++ exception boundary of a call: runs fn and returns its result,
// or `failed` with the Python error set; either way after the releases
// deferred meanwhile on this thread (interpreter_exit.h).
template <class R, class Fn>
R guarded(R failed, Fn&& fn) {
  R result = failed;
  try {
    result = fn();
#if defined(__GLIBCXX__)  // the C++ runtime that names the forced unwind
  } catch (abi::__forced_unwind&) {
    // The thread is being ended and no longer holds the GIL.
    abandon_deferred();
    throw;
#endif
  } catch (...) {
    translate_current_exception();
  }
  if (t_deferred != nullptr) [[unlikely]]
    release_deferred();
  return result;
}

template <class Fn>
PyObject* guarded(Fn&& fn) {
  return guarded<PyObject*>(nullptr, static_cast<Fn&&>(fn));
}

}  // namespace brastel_python::binding
